// vantrel_monkey: drives the real game object on a headless window with random input for a while —
// keys (tapped and held), taps and drags anywhere on the window, time passing, window closes and new
// starts — to shake out crashes, sanitizer reports and memory that grows. Built in the sanitized tree
// it runs the game under AddressSanitizer and UndefinedBehaviorSanitizer (scripts/monkey.sh).
//
//   vantrel_monkey [--data DIR] [--seed N] [--seconds S] [--report S] [--log FILE]
//
//   --data DIR    where the game's databases are (default: the build folder above this tool)
//   --seed N      the seed of the input and of the game's clock (default 1)
//   --seconds S   how long to run, in real seconds (default 20)
//   --report S    print the figures every S seconds (default 60)
//   --log FILE    write every event as a recorded input log (app/InputLog.h): after a crash,
//                 `vantrel_replay FILE` plays the same input again
//
// At the end it prints the runs (starts of the game), the events, the screens reached and the
// resident memory at the start and the end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/HeadlessSession.h"
#include "app/InputLog.h"
#include "platform/Files.h"
#include "platform/Window.h"
#include "platform/headless/HeadlessWindow.h"

namespace fs = std::filesystem;

namespace {

const char* const kDatabases[] = {"VantrelData", "VantrelMusic", "VantrelSound", "VantrelRes", "VantrelBase"};

// The keys a player uses most, and some the game has no use for.
const u32 kKeys[] = {
    plat::vk::Up,     plat::vk::Down,  plat::vk::Left,  plat::vk::Right, 'W', 'A', 'S', 'D', 'Q', 'E', 'C',
    plat::vk::Space,  plat::vk::Return, plat::vk::Escape, plat::vk::Back, plat::vk::Tab, plat::vk::Shift,
    plat::vk::Control, plat::vk::Prior, plat::vk::Next,  plat::vk::Home, plat::vk::End, plat::vk::Delete,
    'B',              'I',             'M',             'J',             '1', '5', '9', 'Z', plat::vk::F1,
    plat::vk::Numpad0 + 5, plat::vk::OemMinus, plat::vk::Oem2,
};

// Resident memory of this process in kilobytes, 0 when the system does not tell.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    }
    return 0;
}

bool CopyMissingDatabases(const std::string& data, const std::string& folder) {
    std::error_code ec;
    for (const char* name : kDatabases) {
        const fs::path to = fs::path(folder) / (std::string(name) + ".pdb");
        if (fs::exists(to, ec)) continue;  // the worlds screen may delete a world's file
        fs::copy_file(fs::path(data) / (std::string(name) + ".pdb"), to, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            std::fprintf(stderr, "vantrel_monkey: cannot copy %s: %s\n", name, ec.message().c_str());
            return false;
        }
    }
    return true;
}

class Monkey {
public:
    Monkey(CHeadlessSession& session, u32 seed, const std::string& logPath)
        : session_(session), random_(seed) {
        if (!logPath.empty()) log_ = plat::CreateFileForWriting(logPath);
    }

    u64 events = 0;
    std::set<u32> screens;

    // One random act: a key, a tap, a drag, a pause, or now and then a close of the window.
    void Act() {
        const u32 roll = Pick(1000);
        if (roll < 2) {
            Send({Tick(0), EInputLogKind::Close});
        } else if (roll < 380) {
            const u32 key = kKeys[Pick(sizeof kKeys / sizeof kKeys[0])];
            Send({Tick(Pick(60)), EInputLogKind::KeyDown, key});
            // Held keys walk and turn in the game view; a short tap does the rest.
            Send({Tick(Pick(4) == 0 ? 100 + Pick(900) : Pick(40)), EInputLogKind::KeyUp, key});
        } else if (roll < 700) {
            const i32 x = Coordinate(width_), y = Coordinate(height_);
            Send({Tick(Pick(60)), EInputLogKind::PenDown, 0, x, y});
            Send({Tick(Pick(4) == 0 ? 100 + Pick(600) : Pick(40)), EInputLogKind::PenUp, 0, x, y});
        } else if (roll < 820) {
            i32 x = Coordinate(width_), y = Coordinate(height_);
            Send({Tick(Pick(60)), EInputLogKind::PenDown, 0, x, y});
            for (u32 i = 0, n = 1 + Pick(12); i < n; ++i) {
                x += static_cast<i32>(Pick(81)) - 40;
                y += static_cast<i32>(Pick(81)) - 40;
                Send({Tick(Pick(40)), EInputLogKind::PenMove, 0, x, y});
            }
            Send({Tick(Pick(40)), EInputLogKind::PenUp, 0, x, y});
        } else {
            // Time passes: animations, walking, the fight, page scrolls.
            session_.AdvanceTo(Tick(30 + Pick(2000)));
            Note();
        }
    }

private:
    u32 Pick(u32 n) { return n == 0 ? 0 : static_cast<u32>(random_() % n); }
    u32 Tick(u32 delta) { return session_.RunTick() + delta; }
    // Mostly inside the window, now and then just outside it (a drag that leaves it).
    i32 Coordinate(i32 size) { return static_cast<i32>(Pick(static_cast<u32>(size + 40))) - 20; }

    void Send(const CInputLogEvent& event) {
        // The rest of an act whose first events ended the game is dropped; the next act starts again.
        if (!session_.Running()) return;
        session_.Deliver(event);
        ++events;
        // A close is logged where the run is seen to end, also when the game ended itself.
        if (log_ != nullptr && event.kind != EInputLogKind::Close) {
            const std::string line = FormatInputLogEvent(event) + "\n";
            log_->Write(line.data(), line.size());
        }
        Note();
    }

    void Note() {
        if (!session_.Running()) {
            // The game ended itself (the menu's exit) or the close just given: the log ends the run.
            if (log_ != nullptr && !ended_) {
                const std::string line = FormatInputLogEvent({session_.RunTick(), EInputLogKind::Close}) + "\n";
                log_->Write(line.data(), line.size());
            }
            ended_ = true;
            session_.Stop();
            return;
        }
        ended_ = false;
        screens.insert(session_.CurrentScreenId());
        if (plat::HeadlessWindow* window = session_.Window()) {
            width_ = window->ClientWidth();
            height_ = window->ClientHeight();
        }
    }

    CHeadlessSession& session_;
    std::mt19937 random_;
    std::unique_ptr<plat::File> log_;
    i32 width_ = 800, height_ = 584;
    bool ended_ = true;
};

}  // namespace

int main(int argc, char** argv) {
    std::string data = fs::absolute(fs::path(argv[0])).parent_path().parent_path().string();
    std::string logPath;
    u32 seed = 1;
    double seconds = 20, report = 60;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--data" && hasValue) data = argv[++i];
        else if (arg == "--seed" && hasValue) seed = static_cast<u32>(std::strtoul(argv[++i], nullptr, 10));
        else if (arg == "--seconds" && hasValue) seconds = std::atof(argv[++i]);
        else if (arg == "--report" && hasValue) report = std::atof(argv[++i]);
        else if (arg == "--log" && hasValue) logPath = argv[++i];
        else {
            std::fprintf(stderr, "usage: vantrel_monkey [--data DIR] [--seed N] [--seconds S] [--report S] [--log FILE]\n");
            return 2;
        }
    }

    const std::string folder =
        (fs::temp_directory_path() / ("vantrel-monkey-" + std::to_string(seed) + "-" + std::to_string(std::random_device{}())))
            .string();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!CopyMissingDatabases(data, folder)) return 1;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    int status = 0;
    {
        CHeadlessSession session(folder, seed);
        Monkey monkey(session, seed, logPath);
        const long rssStart = ResidentKb();
        long rssAfterFirstRun = 0;
        double nextReport = report;
        std::printf("monkey: seed %u, %.0f s, folder %s\nrss at start: %ld kB\n", seed, seconds, folder.c_str(), rssStart);
        std::fflush(stdout);
        while (elapsed() < seconds) {
            if (!session.Running()) {
                if (!CopyMissingDatabases(data, folder)) return 1;
                if (!session.Start()) {
                    std::fprintf(stderr, "vantrel_monkey: the game did not start: %s\n", session.Error().c_str());
                    status = 1;
                    break;
                }
                if (session.Runs() == 2) rssAfterFirstRun = ResidentKb();
            }
            monkey.Act();
            if (elapsed() >= nextReport) {
                std::printf("at %4.0f s: runs %u, events %llu, screens %zu, rss %ld kB\n", elapsed(), session.Runs(),
                            static_cast<unsigned long long>(monkey.events), monkey.screens.size(), ResidentKb());
                std::fflush(stdout);
                nextReport += report;
            }
        }
        session.Stop();
        std::string reached;
        for (u32 id : monkey.screens) reached += (reached.empty() ? "" : " ") + std::to_string(id);
        std::printf("runs: %u\nevents: %llu\nscreens reached: %zu (%s)\nrss at start: %ld kB\n"
                    "rss after the first run: %ld kB\nrss at end: %ld kB\n",
                    session.Runs(), static_cast<unsigned long long>(monkey.events), monkey.screens.size(),
                    reached.c_str(), rssStart, rssAfterFirstRun, ResidentKb());
    }
    fs::remove_all(folder, ec);
    return status;
}
