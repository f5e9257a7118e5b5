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
// Now and then it plays as a player would instead, by what the game shows: into a new game, along
// the way to the nearest person (opening doors) or out of the map by its stair, speaking to people,
// choosing their services, betting at cards, fighting what stands next to it and answering messages.
// Those acts are input like any other and go into the log, so a replay plays them the same.
//
// At the end it prints the runs (starts of the game), the events, the screens reached (with their
// names) and the resident memory at the start and the end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/Game.h"
#include "app/HeadlessSession.h"
#include "app/InputLog.h"
#include "app/PlayerWays.h"
#include "data/MapSection.h"
#include "screens/frontend/CreatePlayerScreen.h"
#include "screens/frontend/MainMenuScreen.h"
#include "screens/npc/BetDialog.h"
#include "screens/npc/NpcServiceRules.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/ShopScreen.h"
#include "screens/npc/TalkScreen.h"
#include "screens/panels/PanelScreen.h"
#include "ui/ButtonBar.h"
#include "ui/Layout.h"
#include "ui/ScreenIds.h"
#include "ui/TextLink.h"
#include "world/Creatures.h"
#include "world/GameScreen.h"
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

// A screen's name for the figures.
const char* ScreenName(u32 id) {
    switch (id) {
    case kScreenGame: return "game";
    case kScreenTalk: return "talk";
    case kScreenServices: return "services";
    case kScreenPanels: return "panels";
    case kScreenShop: return "shop";
    case kScreenSplash: return "splash";
    case kScreenDeath: return "death";
    case kScreenLoadSave: return "load/save";
    case kScreenMainMenu: return "menu";
    case kScreenCreatePlayer: return "creation";
    case kScreenPages: return "pages";
    case kScreenCardGame: return "cards";
    case kScreenSettings: return "settings";
    case kScreenWorlds: return "worlds";
    default: return "none";
    }
}

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
    std::set<std::string> maps;

    // One act: now and then one a player would make (when the game offers one), else a random key,
    // tap, drag or pause, or a close of the window.
    void Act() {
        if (Pick(1000) < kGuidedShare && Guide()) return;
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
    // The share in a thousand of the acts that play as a player would, where the game offers one.
    static constexpr u32 kGuidedShare = 450;
    static constexpr u32 kUse = plat::vk::Space, kForward = plat::vk::Up;

    void Key(u32 key) {
        Send({Tick(Pick(60)), EInputLogKind::KeyDown, key});
        Send({Tick(Pick(40)), EInputLogKind::KeyUp, key});
    }
    void Tap(i32 x, i32 y) {
        Send({Tick(Pick(60)), EInputLogKind::PenDown, 0, x, y});
        Send({Tick(Pick(40)), EInputLogKind::PenUp, 0, x, y});
    }
    void TapWidget(const CWidget& w) { Tap(w.x + w.w / 2, w.y + w.h / 2); }
    // Taps a shown button of a bar, the first of the flags it shows; false when none shows.
    bool TapBar(CButtonBar& bar, std::initializer_list<u32> flags) {
        for (u32 flag : flags)
            for (u32 i = 0; i < CButtonBar::kButtonCount; ++i)
                if (bar.buttons[i].commandId == flag && bar.buttons[i].IsShown()) {
                    TapWidget(bar.buttons[i]);
                    return true;
                }
        return false;
    }

    // One act a player would make on the current screen; false when the monkey has none to offer.
    bool Guide() {
        CGame* game = session_.Game();
        if (game == nullptr) return false;
        switch (session_.CurrentScreenId()) {
        case kScreenSplash: Key(plat::vk::Escape); return true;
        case kScreenPages: Key(kUse); return true;
        case kScreenMainMenu: return GuideMenu(*static_cast<CMainMenuScreen*>(game->GetScreen(kScreenMainMenu)));
        case kScreenCreatePlayer:
            TapWidget(static_cast<CCreatePlayerScreen*>(game->GetScreen(kScreenCreatePlayer))->okButton);
            return true;
        case kScreenGame: return GuideView(*game->GetGameScreen());
        case kScreenTalk: return GuideTalk(*static_cast<CTalkScreen*>(game->GetScreen(kScreenTalk)));
        case kScreenServices:
            return GuideServices(*static_cast<CServicesScreen*>(game->GetScreen(kScreenServices)));
        // The pages a player looks into and leaves again; the random acts play inside them.
        case kScreenPanels:
            if (Pick(2) != 0) return false;
            TapWidget(game->GetPanelScreen()->closeButton);
            return true;
        case kScreenShop:
            if (Pick(3) != 0) return false;
            TapWidget(static_cast<CShopScreen*>(game->GetScreen(kScreenShop))->leaveButton);
            return true;
        case kScreenLoadSave:
        case kScreenSettings:
        case kScreenWorlds: Key(plat::vk::Escape); return true;
        default: return false;
        }
    }

    // The menu: its prompt answered, then back into the game or into a new one.
    bool GuideMenu(CMainMenuScreen& menu) {
        if (menu.pendingPrompt != kPromptNone) return TapBar(menu.promptBar, {Pick(2) ? CButtonBar::kYes : CButtonBar::kNo, CButtonBar::kOk});
        const u32 wanted = menu.GameInProgress() ? kMenuContinue : kMenuNewGame;
        i32 row = -1;
        for (i32 i = 0; i < menu.list.GetCount() && row < 0; ++i)
            if (menu.list.GetItem(i)->value == wanted) row = i;
        if (row < 0) return false;
        const i32 at = menu.list.selection;
        Key(at == row ? kUse : at < row ? plat::vk::Down : plat::vk::Up);
        return true;
    }

    // The game view: messages answered, a foe next to the player fought, else a step along the way to
    // the person nearest by the way (spoken to from the cell it faces) or to the way out of the map.
    bool GuideView(CGameScreen& view) {
        if (view.inGame == 0 || view.section == nullptr) return false;
        if (view.screenMode != CGameScreen::kModeNormal) {
            auto* bar = dynamic_cast<CButtonBar*>(view.modalChild);
            return bar != nullptr && TapBar(*bar, {CButtonBar::kOk, CButtonBar::kYes});
        }
        if (view.IsBusy()) {
            session_.AdvanceTo(Tick(60));
            Note();
            return true;
        }
        const u32 facing = CGameScreen::DirectionOfFacing(view.facing);
        auto turnTo = [&](u32 direction) { Key(direction == ((facing + 1) & 3) ? plat::vk::Right : plat::vk::Left); };
        // A foe next to the player.
        i32 foeX = 0, foeY = 0;
        bool foe = false;
        view.window.ForEachCreatureNear(1, [&](CMapSection& at, CMonster& m) {
            i32 x = 0, y = 0;
            if (foe || CCreatures::IsPerson(m) || m.hp == 0 || !view.window.SectionToWindowCell(&at, m.x, m.y, x, y)) return;
            if (std::abs(x - view.playerX) + std::abs(y - view.playerY) != 1) return;
            foe = true;
            foeX = x;
            foeY = y;
        });
        if (foe) {
            const u32 towards = DirectionTowards(view, foeX, foeY);
            if (towards != facing) {
                turnTo(towards);
            } else if (const u8* rect = FindLayoutRect(session_.Game(), kHudGroup, kAttackButton)) {
                const CLayoutElement e = ReadLayoutElement(rect);
                Tap(e.x + e.w / 2, e.y + e.h / 2);
            }
            return true;
        }
        // A person the way reaches, through doors: the one chosen before while it still can be
        // reached, else one drawn anew, so that a run meets each of them in turn.
        const CRefusedCells none;
        struct Person {
            std::string map;
            u8 id;
            i32 beforeX, beforeY, x, y;
        };
        std::vector<Person> people;
        view.window.ForEachCreatureNear(CCellWindow::kSize, [&](CMapSection& at, CMonster& m) {
            Person p{at.GetName() ? at.GetName() : "", m.id, 0, 0, 0, 0};
            if (!CCreatures::IsPerson(m) || !CellBefore(view, at, m, p.beforeX, p.beforeY) ||
                !view.window.SectionToWindowCell(&at, m.x, m.y, p.x, p.y))
                return;
            if (FirstStepTowards(view, p.beforeX, p.beforeY, false, none, true) == kWayNone) return;
            people.push_back(p);
        });
        const Person* person = nullptr;
        for (const Person& p : people)
            if (p.id == chosenPerson_.second && p.map == chosenPerson_.first) person = &p;
        if (person == nullptr && !people.empty()) person = &people[Pick(static_cast<u32>(people.size()))];
        chosenPerson_ = person != nullptr ? std::make_pair(person->map, person->id) : std::make_pair(std::string(), u8{0});
        i32 goalX = person != nullptr ? person->beforeX : 0, goalY = person != nullptr ? person->beforeY : 0;
        const int best = person != nullptr ? 0 : -1;
        const i32 personX = person != nullptr ? person->x : 0, personY = person != nullptr ? person->y : 0;
        bool throughDoors = true;
        if (best < 0) {
            if (!FindWayOut(view, goalX, goalY)) return false;
            throughDoors = false;
        }
        const int step = FirstStepTowards(view, goalX, goalY, false, none, throughDoors);
        if (step == kWayArrived && best >= 0) {
            const u32 towards = DirectionTowards(view, personX, personY);
            if (towards != facing) {
                turnTo(towards);
            } else {
                Key(kUse);
                chosenPerson_ = {};  // the next one another
            }
            return true;
        }
        if (step < 0) return false;
        if (static_cast<u32>(step) != facing)
            turnTo(static_cast<u32>(step));
        else if (IsClosedDoorCell(view, view.playerX + CGameScreen::kDx[step], view.playerY + CGameScreen::kDy[step]))
            Key(kUse);
        else
            Key(kForward);
        return true;
    }

    // The bet of a card duel confirmed; else one of the services, the cards first now and then.
    bool GuideServices(CServicesScreen& services) {
        if (auto* bet = dynamic_cast<CBetDialog*>(services.modalChild)) {
            TapWidget(bet->okButton);
            return true;
        }
        if (services.modalChild != nullptr || services.buttons.empty()) return false;
        size_t chosen = Pick(static_cast<u32>(services.buttons.size()));
        for (size_t i = 0; i < services.buttons.size(); ++i)
            if (services.buttons[i].command == static_cast<int>(kServicesCards) && Pick(2) == 0) chosen = i;
        TapWidget(services.menuButtons[chosen]);
        return true;
    }

    // A link of the talk: a service, a topic or an answer.
    bool GuideTalk(CTalkScreen& talk) {
        if (auto* bet = dynamic_cast<CBetDialog*>(talk.modalChild)) {
            TapWidget(bet->okButton);
            return true;
        }
        if (talk.modalChild != nullptr || talk.links.empty()) return false;
        TapWidget(*talk.links[Pick(static_cast<u32>(talk.links.size()))]);
        return true;
    }

    // The person the guided walk goes to: its map and creature id (id 0: none).
    std::pair<std::string, u8> chosenPerson_;
    static constexpr u16 kHudGroup = 43;
    static constexpr u32 kAttackButton = 542;

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
        if (CGame* game = session_.Game())
            if (const CGameScreen* view = game->GetGameScreen(); view && view->inGame && view->section && view->section->GetName())
                maps.insert(view->section->GetName());
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
        std::string walked;
        for (const std::string& map : monkey.maps) walked += (walked.empty() ? "" : " ") + map;
        std::printf("maps walked: %s\n", walked.c_str());
        std::string reached;
        for (u32 id : monkey.screens)
            reached += (reached.empty() ? "" : " ") + std::to_string(id) + "=" + ScreenName(id);
        std::printf("runs: %u\nevents: %llu\nscreens reached: %zu (%s)\nrss at start: %ld kB\n"
                    "rss after the first run: %ld kB\nrss at end: %ld kB\n",
                    session.Runs(), static_cast<unsigned long long>(monkey.events), monkey.screens.size(),
                    reached.c_str(), rssStart, rssAfterFirstRun, ResidentKb());
    }
    fs::remove_all(folder, ec);
    return status;
}
