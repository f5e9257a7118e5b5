#include "app/InputLog.h"

#include <charconv>

#include "platform/Clock.h"

namespace {

struct KindName {
    EInputLogKind kind;
    const char* name;
    int numbers;  // operands after the name
};

constexpr KindName kKinds[] = {
    {EInputLogKind::KeyDown, "key-down", 1}, {EInputLogKind::KeyUp, "key-up", 1},
    {EInputLogKind::PenDown, "pen-down", 2}, {EInputLogKind::PenMove, "pen-move", 2},
    {EInputLogKind::PenUp, "pen-up", 2},     {EInputLogKind::Close, "close", 0},
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The line's words, split at spaces and tabs; at most `limit` + 1 are kept, so that a line with too
// many words is known without keeping them all.
std::vector<std::string_view> Words(std::string_view line, size_t limit) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size() && words.size() <= limit) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsSpace(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// A whole word as a decimal number within [low, high]; a sign only where low is negative.
bool ReadNumber(std::string_view word, long long low, long long high, long long& out) {
    if (word.empty() || word.size() > 12) return false;
    const char* first = word.data();
    const char* last = word.data() + word.size();
    if (*first == '+') return false;
    long long value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || value < low || value > high) return false;
    out = value;
    return true;
}

bool Fail(std::string& error, size_t line, const std::string& why) {
    error = "line " + std::to_string(line) + ": " + why;
    return false;
}

}  // namespace

bool ParseInputLog(std::string_view text, std::vector<CInputLogEvent>& events, std::string& error) {
    events.clear();
    error.clear();
    size_t lineNumber = 0;
    bool runHasTick = false;
    u32 lastTick = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (line.size() > kInputLogMaxLine) return Fail(error, lineNumber, "line too long");
        if (line.find('\0') != std::string_view::npos) return Fail(error, lineNumber, "NUL byte in line");
        std::vector<std::string_view> words = Words(line, 4);
        if (words.empty() || words[0][0] == '#') continue;

        long long tick = 0;
        if (!ReadNumber(words[0], 0, 0xFFFFFFFFll, tick))
            return Fail(error, lineNumber, "tick is not a number of 0..4294967295: '" + std::string(words[0]) + "'");
        if (words.size() < 2) return Fail(error, lineNumber, "no event after the tick");
        const KindName* kind = nullptr;
        for (const KindName& k : kKinds)
            if (words[1] == k.name) kind = &k;
        if (kind == nullptr) return Fail(error, lineNumber, "unknown event '" + std::string(words[1]) + "'");
        if (words.size() != static_cast<size_t>(2 + kind->numbers))
            return Fail(error, lineNumber,
                        std::string(kind->name) + " takes " + std::to_string(kind->numbers) + " number(s)");
        if (runHasTick && static_cast<u32>(tick) < lastTick)
            return Fail(error, lineNumber, "tick " + std::to_string(tick) + " is before the tick before it");

        CInputLogEvent event;
        event.tick = static_cast<u32>(tick);
        event.kind = kind->kind;
        long long a = 0, b = 0;
        if (kind->numbers == 1) {
            if (!ReadNumber(words[2], 1, 255, a))
                return Fail(error, lineNumber, "key code is not a number of 1..255: '" + std::string(words[2]) + "'");
            event.key = static_cast<u32>(a);
        } else if (kind->numbers == 2) {
            if (!ReadNumber(words[2], -kInputLogMaxCoordinate, kInputLogMaxCoordinate, a) ||
                !ReadNumber(words[3], -kInputLogMaxCoordinate, kInputLogMaxCoordinate, b))
                return Fail(error, lineNumber,
                            "pen position is not two numbers of -" + std::to_string(kInputLogMaxCoordinate) +
                                ".." + std::to_string(kInputLogMaxCoordinate));
            event.x = static_cast<i32>(a);
            event.y = static_cast<i32>(b);
        }
        events.push_back(event);
        // A close ends the run: the next start counts its ticks from 0 again.
        runHasTick = event.kind != EInputLogKind::Close;
        lastTick = runHasTick ? event.tick : 0;
    }
    return true;
}

bool ReadInputLogFile(const std::string& path, std::vector<CInputLogEvent>& events, std::string& error) {
    events.clear();
    std::unique_ptr<plat::File> file = plat::OpenFileForReading(path);
    if (file == nullptr) {
        error = "cannot open " + path;
        return false;
    }
    // A recorded hour is a few megabytes; anything far beyond that is no input log.
    constexpr u64 kMaxSize = 64ull << 20;
    const u64 size = file->Size();
    if (size > kMaxSize) {
        error = path + " is too large for an input log";
        return false;
    }
    std::string text(static_cast<size_t>(size), '\0');
    if (size != 0 && !file->ReadAt(0, text.data(), text.size())) {
        error = "cannot read " + path;
        return false;
    }
    if (ParseInputLog(text, events, error)) return true;
    error = path + ": " + error;
    return false;
}

std::string FormatInputLogEvent(const CInputLogEvent& event) {
    const char* name = "close";
    int numbers = 0;
    for (const KindName& k : kKinds)
        if (k.kind == event.kind) {
            name = k.name;
            numbers = k.numbers;
        }
    std::string line = std::to_string(event.tick) + " " + name;
    if (numbers == 1) line += " " + std::to_string(event.key);
    if (numbers == 2) line += " " + std::to_string(event.x) + " " + std::to_string(event.y);
    return line;
}

bool InputLogEventOf(const plat::Event& event, u32 tick, CInputLogEvent& out) {
    out = CInputLogEvent{};
    out.tick = tick;
    switch (event.type) {
    case plat::EventType::KeyDown:
    case plat::EventType::KeyUp:
        if (event.key == 0 || event.key > 255) return false;
        out.kind = event.type == plat::EventType::KeyDown ? EInputLogKind::KeyDown : EInputLogKind::KeyUp;
        out.key = event.key;
        return true;
    case plat::EventType::MouseMove:
        if (!event.leftHeld) return false;
        out.kind = EInputLogKind::PenMove;
        break;
    case plat::EventType::LButtonDown: out.kind = EInputLogKind::PenDown; break;
    case plat::EventType::LButtonUp: out.kind = EInputLogKind::PenUp; break;
    case plat::EventType::Close:
    case plat::EventType::Quit: out.kind = EInputLogKind::Close; return true;
    default: return false;
    }
    out.x = std::max(-kInputLogMaxCoordinate, std::min(kInputLogMaxCoordinate, event.x));
    out.y = std::max(-kInputLogMaxCoordinate, std::min(kInputLogMaxCoordinate, event.y));
    return true;
}

CInputRecorder::CInputRecorder(const std::string& path)
    : file_(plat::CreateFileForWriting(path)), start_(plat::TickCount()) {
    static const char kHeader[] =
        "# Vantrel input log: <tick> key-down|key-up <code>, pen-down|pen-move|pen-up <x> <y>, close\n";
    if (file_ != nullptr && !file_->Write(kHeader, sizeof kHeader - 1)) file_.reset();
}

CInputRecorder::~CInputRecorder() = default;

void CInputRecorder::NoteSeed(u32 seed) {
    if (file_ == nullptr || closed_) return;
    const std::string line = "# seed " + std::to_string(seed) + "\n";
    if (!file_->Write(line.data(), line.size())) file_.reset();
}

bool FindLoggedSeed(std::string_view text, u32& seed) {
    constexpr std::string_view kPrefix = "# seed ";
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.substr(0, kPrefix.size()) != kPrefix) continue;
        u64 value = 0;
        size_t digits = 0;
        for (char ch : line.substr(kPrefix.size())) {
            if (ch == '\r') break;
            if (ch < '0' || ch > '9' || ++digits > 10) return false;
            value = value * 10 + static_cast<u64>(ch - '0');
        }
        if (digits == 0 || value > 0xFFFFFFFFu) return false;
        seed = static_cast<u32>(value);
        return true;
    }
    return false;
}

void CInputRecorder::OnWindowEvent(plat::Window&, const plat::Event& event) {
    if (file_ == nullptr || closed_) return;
    // A window that goes without a close (the menu's exit) still ends the run in the log.
    plat::Event seen = event;
    if (event.type == plat::EventType::Destroy) seen.type = plat::EventType::Close;
    // Ticks never go back within a run, even if the clock were to wrap.
    u32 tick = std::max(lastTick_, plat::TickCount() - start_);
    CInputLogEvent logged;
    if (!InputLogEventOf(seen, tick, logged)) return;
    lastTick_ = tick;
    std::string line = FormatInputLogEvent(logged) + "\n";
    // Straight to the file, unbuffered: a crash of the game keeps every line written before it.
    file_->Write(line.data(), line.size());
    ++count_;
    closed_ = logged.kind == EInputLogKind::Close;
}
