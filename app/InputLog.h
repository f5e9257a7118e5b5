// Recorded input: the key, pen and close events a player gave the game window, each with the tick it
// came at, as a small text file that a replay feeds to the game again. One event per line:
//
//   <tick> key-down <code>     a key went down (Windows virtual-key code 1..255)
//   <tick> key-up <code>       it came up again
//   <tick> pen-down <x> <y>    the left button went down at client coordinates x, y
//   <tick> pen-move <x> <y>    the mouse moved with the left button held
//   <tick> pen-up <x> <y>      the left button came up
//   <tick> close               the window was closed: the game ends there
//
// The tick is milliseconds since the game started. A close ends a run; events after it belong to a
// new start of the game, whose ticks count from 0 again, so two recordings joined one after the other
// make one session. Within a run ticks never go back. Blank lines and lines starting with '#' are
// comments.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Types.h"
#include "platform/Files.h"
#include "platform/Window.h"

enum class EInputLogKind : u8 { KeyDown, KeyUp, PenDown, PenMove, PenUp, Close };

struct CInputLogEvent {
    u32 tick = 0;
    EInputLogKind kind = EInputLogKind::Close;
    u32 key = 0;  // key events
    i32 x = 0;    // pen events
    i32 y = 0;

    bool operator==(const CInputLogEvent&) const = default;
};

// The largest pen coordinate a line may hold; windows are far smaller, but a drag may leave them.
constexpr i32 kInputLogMaxCoordinate = 100000;
// The longest line the reader accepts; a real line is under 40 characters.
constexpr size_t kInputLogMaxLine = 200;

// A run's seed rides in a comment line, "# seed N": the calendar time the game seeded its draws
// from. FindLoggedSeed gives the first one in a log; false when the log has none.
bool FindLoggedSeed(std::string_view text, u32& seed);

// Reads a whole log. False, with `error` naming the first bad line ("line 7: ..."), when a line is
// malformed, a number is out of range or a tick goes back within a run; `events` then holds the
// lines before it.
bool ParseInputLog(std::string_view text, std::vector<CInputLogEvent>& events, std::string& error);
// Reads the log file at `path`; false with the reason in `error` when it cannot be read or parsed.
bool ReadInputLogFile(const std::string& path, std::vector<CInputLogEvent>& events, std::string& error);
// One event as its line, without the line end.
std::string FormatInputLogEvent(const CInputLogEvent& event);

// The log's own event of a window event, when it has one (key, button and close events; moves only
// while the left button is held). Timers, focus and exposes are not input and are not kept.
bool InputLogEventOf(const plat::Event& event, u32 tick, CInputLogEvent& out);

// Writes every input event the window delivers to a log file as it comes, straight to the file, so
// that a session that crashes still leaves its input behind. Ticks count from the recorder's making.
class CInputRecorder final : public plat::WindowListener {
public:
    // Creates (or truncates) the file; Ok() tells whether it could be.
    explicit CInputRecorder(const std::string& path);
    ~CInputRecorder() override;
    CInputRecorder(const CInputRecorder&) = delete;
    CInputRecorder& operator=(const CInputRecorder&) = delete;

    bool Ok() const { return file_ != nullptr; }
    u32 EventCount() const { return count_; }
    void OnWindowEvent(plat::Window& window, const plat::Event& event) override;
    // Writes the seed comment of the run being recorded.
    void NoteSeed(u32 seed);

private:
    std::unique_ptr<plat::File> file_;
    u32 start_ = 0;
    u32 lastTick_ = 0;
    u32 count_ = 0;
    bool closed_ = false;
};
