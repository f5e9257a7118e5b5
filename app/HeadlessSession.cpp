#include "app/HeadlessSession.h"

#include "app/Game.h"
#include "app/MainFrame.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessWindow.h"
#include "ui/Screen.h"
#include "world/GameScreen.h"

namespace {

u32 ScreenIdOf(const CGame& game) {
    if (game.currentScreen == nullptr) return 0;
    for (u32 id = 1; id <= 15; ++id)
        if (game.GetScreen(id) == game.currentScreen) return id;
    return 0;
}

std::string FolderWithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

CHeadlessSession::CHeadlessSession(const std::string& folder, u32 seed)
    : savedProgramFolder_(plat::ProgramFolder()) {
    plat::SetProgramFolder(FolderWithSlash(folder));
    plat::SetUserDataFolder(FolderWithSlash(folder));
    // The game seeds its generator from the calendar time: a fixed one gives every run the same draws.
    clock_.SetTime(seed);
}

CHeadlessSession::~CHeadlessSession() {
    Stop();
    plat::SetProgramFolder(savedProgramFolder_);
    plat::SetUserDataFolder("");
}

bool CHeadlessSession::Start() {
    Stop();
    error_.clear();
    auto window = plat::CreateHeadlessWindow();
    window_ = window.get();
    frame_ = std::make_unique<CMainFrame>(std::move(window));
    SetMainFrame(frame_.get());
    ++runs_;
    runEnded_ = false;
    if (!frame_->CreateMainWindow()) {
        error_ = frame_->Error();
        Stop();
        return false;
    }
    window_->SetFocus(true);
    runStart_ = clock_.TickCount();
    nextTimer_ = kSessionTimerPeriod;
    return true;
}

void CHeadlessSession::Stop() {
    runEnded_ = true;
    if (!frame_) return;
    frame_.reset();
    SetMainFrame(nullptr);
    window_ = nullptr;
}

bool CHeadlessSession::Running() const { return frame_ != nullptr && !frame_->QuitRequested(); }

CGame* CHeadlessSession::Game() const { return frame_ ? frame_->game.get() : nullptr; }

u32 CHeadlessSession::CurrentScreenId() const { return Game() != nullptr ? ScreenIdOf(*Game()) : 0; }

void CHeadlessSession::AdvanceTo(u32 tick) {
    while (Running() && nextTimer_ <= tick) {
        clock_.SetTick(runStart_ + nextTimer_);
        frame_->OnTimer(0);
        nextTimer_ += kSessionTimerPeriod;
    }
    // A game that asked to quit ends here, as the message loop ends after the message.
    if (frame_ && frame_->QuitRequested()) Stop();
    if (RunTick() < tick) clock_.SetTick(runStart_ + tick);
}

void CHeadlessSession::Deliver(const CInputLogEvent& event) {
    if (event.kind == EInputLogKind::Close) {
        if (!Running()) {
            Stop();
            return;
        }
        AdvanceTo(event.tick);
        if (frame_) frame_->HandleEvent(plat::Event{plat::EventType::Close});
        Stop();
        return;
    }
    if (runEnded_ && !Start()) return;
    AdvanceTo(event.tick);
    if (!Running()) return;
    plat::Event e;
    switch (event.kind) {
    case EInputLogKind::KeyDown:
    case EInputLogKind::KeyUp:
        // The game polls held keys on its timer (walking), so the key state follows the log as well.
        window_->SetKeyDown(event.key, event.kind == EInputLogKind::KeyDown);
        e.type = event.kind == EInputLogKind::KeyDown ? plat::EventType::KeyDown : plat::EventType::KeyUp;
        e.key = event.key;
        break;
    case EInputLogKind::PenDown:
    case EInputLogKind::PenUp:
        window_->SetKeyDown(plat::vk::LButton, event.kind == EInputLogKind::PenDown);
        e.type = event.kind == EInputLogKind::PenDown ? plat::EventType::LButtonDown : plat::EventType::LButtonUp;
        e.x = event.x;
        e.y = event.y;
        break;
    case EInputLogKind::PenMove:
        e.type = plat::EventType::MouseMove;
        e.x = event.x;
        e.y = event.y;
        e.leftHeld = true;
        break;
    case EInputLogKind::Close: return;
    }
    frame_->HandleEvent(e);
    if (frame_->QuitRequested()) Stop();
}

std::vector<CFrameHashAt> CHeadlessSession::Play(const std::vector<CInputLogEvent>& events, u32 settleMs) {
    std::vector<CFrameHashAt> hashes;
    u32 last = 0;
    for (const CInputLogEvent& event : events) {
        Deliver(event);
        last = event.tick;
        if (Running()) hashes.push_back({runs_, RunTick(), FrameHash()});
    }
    if (Running()) {
        AdvanceTo(last + settleMs);
        if (Running()) hashes.push_back({runs_, RunTick(), FrameHash()});
    }
    return hashes;
}

u64 CHeadlessSession::FrameHash() const {
    std::vector<u16> pixels;
    int width = 0, height = 0;
    if (!ReadFrame(pixels, width, height)) return 0;
    u64 hash = 0xCBF29CE484222325ull;
    auto mix = [&hash](u32 value) {
        for (int i = 0; i < 4; ++i) {
            hash ^= (value >> (8 * i)) & 0xFF;
            hash *= 0x100000001B3ull;
        }
    };
    mix(static_cast<u32>(width));
    mix(static_cast<u32>(height));
    for (u16 p : pixels) mix(p);
    return hash;
}

bool CHeadlessSession::ReadFrame(std::vector<u16>& pixels, int& width, int& height) const {
    plat::ClientImage image;
    if (window_ == nullptr || !window_->ReadClientImage(image)) return false;
    pixels = std::move(image.pixels);
    width = image.width;
    height = image.height;
    return true;
}

std::string CHeadlessSession::StateText() const {
    std::string out;
    auto line = [&out](const char* name, const std::string& value) { out += std::string(name) + ": " + value + "\n"; };
    const CGame* game = Game();
    line("runs", std::to_string(runs_));
    line("tick", std::to_string(RunTick()));
    if (game == nullptr) {
        line("screen", "none");
        return out;
    }
    line("screen", std::to_string(ScreenIdOf(*game)));
    const CGameScreen* view = game->GetGameScreen();
    const bool inGame = view != nullptr && view->inGame != 0 && view->section != nullptr;
    line("map", inGame && view->section->GetName() != nullptr ? view->section->GetName() : "none");
    line("cell", inGame ? std::to_string(view->playerX) + " " + std::to_string(view->playerY) : "none");
    line("facing", inGame ? std::to_string(((view->facing % 360) + 360) % 360) : "none");
    const CPlayer& player = game->player;
    line("name", player.name.GetText());
    line("hp", std::to_string(player.hp));
    line("level", std::to_string(player.level));
    line("xp", std::to_string(player.xp));
    line("gold", std::to_string(player.gold));
    std::string items;
    for (const auto& item : player.items) {
        if (!items.empty()) items += ",";
        const char* id = item && item->type ? item->type->GetName() : nullptr;
        items += id != nullptr ? id : "?";
        bool worn = false;
        for (const CItemInstance* slot : player.equipment) worn = worn || slot == item.get();
        if (worn) items += "*";
    }
    line("items", items);
    line("clock", inGame ? FormatDayAndTime(game->GameClockMinutes()) : "none");
    return out;
}
