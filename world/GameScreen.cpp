#include "world/GameScreen.h"

#include <algorithm>

#include "core/Random.h"
#include "core/RecordHolder.h"
#include "data/MapObjectRecords.h"
#include "data/MapSection.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "script/ScriptContext.h"
#include "script/ScriptMessages.h"
#include "ui/WidgetHost.h"
#include "world/GameCreatures.h"
#include "world/GameMapObjects.h"

CGameScreen::CGameScreen() {
    renderer.Init();
    renderer.viewState = &viewState;
    renderer.emitters = &emitters;
    weather.SetHost(this);
    weather.SetParticles(&weatherParticles);
    viewState.mapWidth = kWindowSize;
    viewState.mapHeight = kWindowSize;
    FillShapeTables();
    window.SetTransitionShapes(transitionShapes);
}

void CGameScreen::FillShapeTables() {
    for (u32 mask = 0; mask < 256; ++mask) {
        const u8 m = static_cast<u8>(mask);
        const u16 code = ApplyCornerRule(m) == m ? JointCodeOfMask(m) : 0;
        jointCodes[mask] = code;
        transitionShapes[mask] = static_cast<u8>(code);
    }
}

CGameScreen::~CGameScreen() {
    if (player_) player_->SetHost(nullptr);
    ReleaseMapObjects();
    if (scriptContext_ && scriptContext_->GetWorld() == &scriptWorld) scriptContext_->SetWorld(nullptr);
}

void CGameScreen::AttachPlayer(CPlayer* player) {
    if (player_) player_->SetHost(nullptr);
    player_ = player;
    if (player_) player_->SetHost(this);
    gameClock.SetPlayer(player);
}

void CGameScreen::SetHost(IGameViewHost* host) {
    if (scriptContext_ && scriptContext_->GetWorld() == &scriptWorld) scriptContext_->SetWorld(nullptr);
    scriptContext_ = nullptr;
    host_ = host;
    mapView.source = nullptr;
    automap.reset();
    ReleaseMapObjects();
    viewWorld.reset();
    cacheBuilder.reset();
    viewState.pictures = nullptr;
    window.SetObjects(nullptr);
    if (!host_ || !host_->GetWorldLists()) return;
    mapObjects = std::make_unique<CGameMapObjects>(*this);
    viewWorld = std::make_unique<CGameViewWorld>(window, host_->GetTextures(), *host_->GetWorldLists(),
                                                 host_->GetMapObjects(), mapObjects.get());
    viewWorld->Objects().SetHost(mapObjects.get());
    objects_ = mapObjects.get();
    window.SetObjects(viewWorld.get());
    automap = std::make_unique<CAutomapSource>(window, *viewWorld);
    mapView.source = automap.get();
    cacheBuilder = std::make_unique<CViewCacheBuilder>(viewState, *viewWorld, nullptr);
    cacheBuilder->SetJointTable(jointCodes);
    viewState.pictures = viewWorld.get();
    random = host_->GetRandom();
    music = &host_->GetWorldLists()->resources;
    worldAudio.SetCatalogue(music);
    skySource = std::make_unique<CWorldSkySource>(host_->GetWorldLists()->skies, host_->GetTextures());
    scriptContext_ = host_->GetScriptContext();
    if (scriptContext_) scriptContext_->SetWorld(&scriptWorld);
}

void CGameScreen::Attach(CWidgetHost* g) {
    CScreen::Attach(g);
    facing = targetFacing = 270;
    turnStep = 0;
    turning = stepping = bump = false;
    fractionX = fractionY = 0x8000;
    previousX = previousY = -1;
    gameClock.minutes = CGameClock::kAttachTime;
    screenMode = kModeNormal;
    messageBar.Attach(g);
    if (g && !random) random = g->GetRandom();
    flags |= kFormRedrawAll;
}

void CGameScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    inGame = 1;
    if (video) video->LayoutViewRect();
    viewWidget.SetRect(static_cast<u16>(viewState.viewX), static_cast<u16>(viewState.viewY),
                       static_cast<u16>(viewState.viewWidth), static_cast<u16>(viewState.viewHeight));
    rendererReady = viewState.frameBuffer.pixels != nullptr && viewState.viewWidth > 0;
    if (rendererReady) renderer.SetupView();
    // Standing still, the view keeps its last frame rather than filling the same picture again.
    renderer.reuseUnchangedFrame = true;
    renderer.ForgetKeptFrame();
    SetupHud();
    SetupTargetPanel();
    effectTimer = 100;
    if (a != 0 && host_) {
        // A new or loaded game begins at the pending map; a map that is not there keeps the view empty
        // and says so.
        if (!ChangeMap(host_->GetPendingMapName(), 0))
            PostMessageEvent("The start of the game could not be found.", 1, nullptr);
    } else {
        RefreshView();
        window.MarkExploredCells();
        UpdateSurroundings();
    }
    UpdateSkyPicture();
    rebuildRequested = true;
    if (video) video->FillRect(0, 0, video->Width(), video->Height(), 0);
    flags |= kFormRedrawAll;
    Draw();
    ResetInputGuard();
    penGuardTick = game ? game->GetTickCounter() : 0;
    // The creatures wait for a player who has just come (back) before they act on their own.
    restSince = plat::TickCount();
}

void CGameScreen::Leave() {
    StopQueuedSounds(false);
    keepOnStack = 0;
    RemoveAllWidgets();
    CScreen::Leave();
}

void CGameScreen::Resume() {
    if (video) video->LayoutViewRect();
    viewWidget.SetRect(static_cast<u16>(viewState.viewX), static_cast<u16>(viewState.viewY),
                       static_cast<u16>(viewState.viewWidth), static_cast<u16>(viewState.viewHeight));
    if (rendererReady) renderer.SetupView();
    if (video) video->FillRect(0, 0, video->Width(), video->Height(), 0);
    SetupHud();
    viewChanged = true;
    // The bag made on the screen above for drops may have stayed empty; one that was filled lies in
    // the cell now and takes a number among the piles, so that the view draws it.
    ForgetEmptyGroundBag();
    if (window.HasUnnumberedPile()) RebuildViewCaches();
    RebuildChangedCells();
    UpdateSurroundings();
    // What the player wields may have changed on the screen above (the inventory).
    SetHandSprites();
    flags |= kFormRedrawAll;
    Draw();
    ResetInputGuard();
    penGuardTick = game ? game->GetTickCounter() : 0;
    // The creatures wait for a player who has just come (back) before they act on their own.
    restSince = plat::TickCount();
}

u32 CGameScreen::DirectionOfFacing(i32 f) {
    static constexpr u32 kTable[7] = {0, 1, 2, 3, 0, 1, 2};
    f %= 360;
    if (f < 0) f += 360;
    return kTable[(360 - f) / 90];
}

void CGameScreen::StartTurn(i32 target, i32 step) {
    if (target >= 360) target -= 360;
    if (target < 0) target += 360;
    targetFacing = target;
    turnStep = step;
    turning = true;
}

u32 CGameScreen::IsBusy() const {
    if (busy || turning || stepping || modalDialog || modalChild || screenMode != kModeNormal) return 1;
    if (!events.empty() || HasBlockingAction()) return 1;
    if (AreCreaturesBusy()) return 1;
    return 0;
}

void CGameScreen::SyncViewPose() {
    auto position = [](i32 cell, u32 fraction) {
        // A fraction that reached the next cell counts as the last point of this one.
        const u32 f = (fraction & 0x10000) ? 0xFFFF : fraction;
        return static_cast<i32>((static_cast<u32>(cell) << 16) + f);
    };
    // The view record keeps 1024 units per cell with six more fraction bits: 1 << 16 per cell.
    viewState.viewPosX = position(playerX, fractionX);
    viewState.viewPosY = position(playerY, fractionY);
    viewState.viewAngle = facing << 16;
    if (creatures) creatures->ShowHands(viewState);
    if (automap) {
        automap->playerX = playerX;
        automap->playerY = playerY;
        automap->fractionX = fractionX;
        automap->fractionY = fractionY;
        automap->facing = static_cast<u32>(facing);
    }
}

void CGameScreen::Draw() {
    if (modalDialog &&
        (screenMode == kModeWorldMap || screenMode == kModeEnchant || screenMode == kModeRealmTravel)) {
        modalDialog->Draw();
        return;
    }
    // A full redraw (a message box or dialog went) starts from black: what lay outside the view and
    // the HUD would otherwise stay on the screen.
    if ((flags & kFormRedrawAll) && video && !modalChild) video->FillRect(0, 0, video->Width(), video->Height(), 0);
    SyncViewPose();
    if (rendererReady && section) renderer.RenderFrame();
    if (section && section->IsSurface() && weather.Intensity() != 0) {
        const u32 now = plat::TickCount();
        renderer.MoveWeatherParticles(ParticleElapsed(now - lastParticleTick));
        lastParticleTick = now;
    }
    if (!turning) DrawTargetPanel();
    DrawEffectTimer();
    // The widgets draw over the view every frame: the view beneath them was drawn anew. The HUD's
    // two panels are the exception: pictures stretched over most of the screen that never change
    // within a layout, drawn once and then put back from the pixels they left.
    for (int i = 0; i < widgets.GetCount(); ++i)
        if (CWidget* w = widgets.At<CWidget>(i)) w->state |= kWidgetRedraw;
    DrawKeptPanels();
    // The frame follows the view when the view's size setting made it smaller than its place.
    if (viewFrame.state & kWidgetEnabled) {
        viewFrame.x = static_cast<u16>(std::max<i32>(0, static_cast<i32>(viewState.viewX) - CHandFrame::kBorder));
        viewFrame.y = static_cast<u16>(std::max<i32>(0, static_cast<i32>(viewState.viewY) - CHandFrame::kBorder));
        viewFrame.w = static_cast<u16>(viewState.viewWidth + 2 * CHandFrame::kBorder);
        viewFrame.h = static_cast<u16>(viewState.viewHeight + 2 * CHandFrame::kBorder);
    }
    const u32 keepBackground = drawBackground;
    drawBackground = 0;
    DrawWidgets();
    drawBackground = keepBackground;
    if (modalChild) {
        modalChild->flags |= kFormRedrawAll;
        modalChild->Draw();
    }
}

void CGameScreen::DrawKeptPanels() {
    CPictureView* const panels[2] = {&hudBottom, &hudSide};
    for (int k = 0; k < 2; ++k) {
        CPictureView& panel = *panels[k];
        CKeptPanel& kept = keptPanels_[k];
        int index = -1;
        for (int i = 0; i < widgets.GetCount() && index < 0; ++i)
            if (widgets.At<CWidget>(i) == &panel) index = i;
        bool keep = video && index >= 0 && panel.IsShown() && panel.rawPicture == nullptr;
        // Only a panel that nothing drawn before it overlaps is drawn out of turn.
        for (int i = 0; keep && i < index; ++i) {
            const CWidget* w = widgets.At<CWidget>(i);
            keep = !(w && w->IsShown() && w->x < panel.x + panel.w && panel.x < w->x + w->w &&
                     w->y < panel.y + panel.h && panel.y < w->y + w->h);
        }
        if (!keep) {
            kept.valid = false;
            continue;
        }
        const CKeptPanel::Key key{panel.x, panel.y, panel.w, panel.h, panel.picture,
                                  panel.picture ? panel.picture->data : nullptr, video->Pixels(),
                                  video->Width(), video->Height()};
        if (!kept.valid || !(kept.key == key) || !video->CopyRectIn(panel.x, panel.y, panel.w, panel.h, kept.pixels)) {
            panel.Draw();
            kept.valid = video->CopyRectOut(panel.x, panel.y, panel.w, panel.h, kept.pixels);
            kept.key = key;
        }
        panel.state &= static_cast<u16>(~kWidgetRedraw);
    }
}

bool CGameScreen::PhaseFired(int phase, u32 now, u32 period) {
    if (now - phaseLast[phase] <= period) return false;
    phaseLast[phase] = now;
    ++phaseCount[phase];
    return true;
}

u32 CGameScreen::OnTick(u32 time) {
    if (player_ && player_->hp == 0 && inGame) {
        StopQueuedSounds(true);
        inGame = 0;
        return kScreenDeath;
    }
    retiredDialog_.reset();
    if (screenMode == kModeWorldMap || screenMode == kModeEnchant || screenMode == kModeRealmTravel) return 0;
    const u32 now = plat::TickCount();
    static constexpr u32 kPeriods[9] = {200, 200, 150, 1000, 50, 50, 50, 25, 50};
    bool fired[9] = {};
    for (int i = 0; i < 9; ++i)
        if (i != 5 || movingSky) fired[i] = PhaseFired(i, now, kPeriods[i]);

    TickAmbient();
    // The second footstep of a step underground.
    if (footstepCountdown && --footstepCountdown == 0) PlayFootstep(true);
    bool turnEnded = false, stepEnded = false;
    if (fired[7]) {
        if (turning) {
            if (facing == targetFacing) {
                turning = false;
                turnEnded = true;
            } else {
                facing = ((facing + turnStep) % 360 + 360) % 360;
            }
        }
        if (stepping) {
            // A bump ends where it began: it arrives nowhere and sends no cell events.
            const bool wasBump = bump;
            StepPhase();
            stepEnded = !stepping && !wasBump;
        }
        if (turning) compass.state |= kWidgetRedraw;
        if (turnEnded)
            window.SetPlayer(playerX, playerY, static_cast<u32>(facing)), window.MarkExploredCells();
        if (stepEnded) EndOfStep();
        // The end of a bump's outward travel: back again, then done.
        if (stepping && bump && bumpPause == 0 && bumpTravel == 0) {
            if (stepDx == 0 && stepDy == 0) {
                stepping = bump = false;
            } else {
                stepDx = -stepDx;
                stepDy = -stepDy;
                bumpTravel = 3;
            }
        }
    }
    RunCellPasses(fired);
    RunCreaturePasses(fired, turnEnded || stepEnded, now);
    weather.Tick();
    if (fired[5]) {
        viewState.skyAngle -= 0x1000;
        if (viewState.skyAngle < 0) viewState.skyAngle += 360 << 16;
    }
    if (fired[7] && !turning && !stepping && (turnEnded || stepEnded || viewChanged || rebuildRequested)) {
        UpdateTarget();
        rebuildRequested = false;
        viewChanged = false;
    }
    if (screenMode == kModeNormal && !modalChild && HasActions()) RunActions();
    StepPanelEffect(now);
    if (screenMode == kModeTransition) {
        Draw();
        AnimateTransition();
    } else {
        Draw();
    }
    if (screenMode == kModeNormal && !modalChild && !HasActions() && !events.empty()) DispatchEvent(false);
    // The commands kept while the view was busy, one per tick once it is free: each may keep it
    // busy again (a blow, a step), and the next waits for that. A dialog or a message that opened
    // meanwhile is what the player answers now: what was kept before it goes.
    if (!commandQueue.Empty()) {
        if (screenMode != kModeNormal || modalChild) {
            commandQueue.Clear();
        } else if (!IsBusy()) {
            if (const u32 command = commandQueue.Take(now))
                if (const u32 code = RunCommandKey(command)) return code;
        }
    }
    if (modalChild) {
        const u32 result = modalChild->OnTick(time);
        if (modalChild) modalChild->Draw();
        if (result) OnDialogResult(result);
    }
    if (pendingScreen) {
        const u32 code = pendingScreen;
        pendingScreen = 0;
        return code;
    }
    return 0;
}

u32 CGameScreen::OnKey(u32 command) {
    if (!game || game->GetTickCounter() == penGuardTick) return 0;
    if (modalChild) {
        // A dialog's answer goes to the dialog-result handler (the message box and the dialogs that
        // report to the view themselves answer 0 here).
        const u32 result = modalChild->OnKey(command);
        const u32 code = result ? OnDialogResult(result) : 0;
        Draw();
        return code;
    }
    if (IsBusy()) {
        // In a fight the view is busy more than half the time, and a command given then was lost:
        // each kind keeps its last one until the view is free. A move or turn pressed while the
        // player's own step or turn glides is dropped, as it always was (holding the key walks on).
        const bool gliding = turning || stepping;
        if (screenMode == kModeNormal && !(gliding && CCommandQueue::KindOf(command) == CCommandQueue::kMove))
            commandQueue.Keep(command, plat::TickCount());
        return 0;
    }
    commandQueue.Forget(command);
    return RunCommandKey(command);
}

u32 CGameScreen::RunCommandKey(u32 command) {
    const u32 d = DirectionOfFacing(facing);
    switch (command) {
    case 1000: MoveStep(static_cast<i32>(d)); break;
    case 1002: MoveStep(static_cast<i32>((d + 2) & 3)); break;
    case 3004: MoveStep(static_cast<i32>((d + 3) & 3)); break;
    case 3005: MoveStep(static_cast<i32>((d + 1) & 3)); break;
    case 1004: TurnLeft(); break;
    case 1006: TurnRight(); break;
    case 3000: Attack(); break;
    case 3001: OpenSpellBook(); break;
    case 3006: UseInFront(-1, selectedTarget); break;
    case kCommandPotions: OpenPotions(); break;
    case kCommandRest: RestCommand(); break;
    case kCommandInventory: return OpenGroundBag();
    case 3007:
        // Cancel opens the main menu over the game, which stays underneath ("Continue game" resumes it).
        keepOnStack = 1;
        entryA = entryB = entryC = entryD = 0;
        return kScreenMainMenu;
    default: return 0;
    }
    return 0;
}

u32 CGameScreen::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (!game || game->GetTickCounter() == penGuardTick) return 0;
    if (down && !moving) penDownSeen = 1;
    if (!penDownSeen || !section) return 0;
    auto release = [this] {
        for (CBitmapButton& b : buttons) b.state &= static_cast<u16>(~kWidgetPressed);
    };
    if (modalChild) {
        if (down && !moving) release();
        const u32 result = modalChild->OnPen(px, py, down, moving);
        return result ? OnDialogResult(result) : 0;
    }
    const bool inView = viewWidget.Contains(px, py);
    if (IsBusy()) {
        if (!down || moving) return CForm::OnPen(px, py, down, moving);
        release();
        // The HUD's buttons are commands as the keys are: given while the view is busy, they wait
        // for it. A tap into the 3D view uses what is in front then, and is not kept.
        for (int i = 0; i < 7; ++i)
            if (buttons[i].IsShown() && buttons[i].Contains(px, py)) return OnKey(kButtonKeys[i]);
        return inView ? 0 : CForm::OnPen(px, py, down, moving);
    }
    if (down && !moving) {
        for (int i = 0; i < 7; ++i)
            if (buttons[i].IsShown() && buttons[i].Contains(px, py)) return OnKey(kButtonKeys[i]);
    }
    if (!down || moving || !inView) return CForm::OnPen(px, py, down, moving);
    for (u32 t = 0; t < 2; ++t) {
        if (!targets[t].visible) continue;
        const i32 top = targetPanelY + static_cast<i32>(t) * targetPanelH;
        if (px >= targetPanelX && px < targetPanelX + targetPanelW && py >= top && py < top + targetPanelH) {
            if (t != selectedTarget) {
                selectedTarget = t;
                UpdateTarget();
            }
            return 0;
        }
    }
    const i32 lowerEdge = viewWidget.y + viewWidget.h - (viewWidget.h * 3) / 10;
    if (py >= lowerEdge)
        if (const u32 code = OpenBagInCell()) return code;
    UseInFront(-1, px >= viewWidget.x + viewWidget.w / 2 ? 1 : 0);
    return 0;
}

// A dialog closes from inside its own command handler: it goes at the next tick, not under its feet.
void CGameScreen::CloseModal() {
    if (modalDialog) retiredDialog_ = std::move(modalDialog);
    CForm::CloseModal();
    screenMode = kModeNormal;
}

u32 CGameScreen::OnCommand(u32 id) {
    for (int i = 0; i < 7; ++i) {
        if (buttons[i].state & kWidgetPressed && kButtonIds[i] != id)
            buttons[i].state &= static_cast<u16>(~kWidgetPressed);
    }
    // The message box answers with its button flags.
    if (modalChild == &messageBar) return OnDialogResult(id);
    switch (id) {
    case 48:
    case 232:
    case 104:
    case 219:
    case 225: CloseModal(); return 0;
    case 279:
    case 5:
        // After a rest the night may call for other music and other sounds about.
        CloseModal();
        viewChanged = true;
        UpdateSurroundings();
        return 0;
    case 103:
        // The lock-picking dialog sprang the trap: the dialog goes, then the trap fires.
        if (screenMode == kModeLockPick) {
            const u16 word = lockWord_ ? *lockWord_ : 0;
            lockWord_ = nullptr;
            CloseModal();
            if (springTrap && (word >> 10) & 15u) springTrap(word);
        }
        return 0;
    case 218: {
        // The spell book is a dialog the application keeps: it is the modal child, not an owned one.
        CForm* book = modalDialog ? modalDialog.get() : modalChild;
        CloseModal();
        if (book && host_ && host_->GetGameViewDialogs()) host_->GetGameViewDialogs()->CastChosenSpell(*book);
        AdvanceMinute();
        return 0;
    }
    case 224: {
        IGameViewDialogs* dialogs = host_ ? host_->GetGameViewDialogs() : nullptr;
        CItemInstance* potion = modalDialog && dialogs ? dialogs->ChosenPotion(*modalDialog) : nullptr;
        CloseModal();
        DrinkSelected(potion);
        return 0;
    }
    // The portrait, the book, the potion and the rest buttons wait for a busy view as their keys do.
    case 36: return OnKey(kCommandInventory);
    case 535: return IsBusy() ? 0 : OpenWorldMap();
    case 228:
        // The voyage's end: its picture goes, the HUD is laid out again.
        CloseModal();
        if (host_ && host_->GetGameViewDialogs())
            host_->GetGameViewDialogs()->CloseKeptDialog(CGameViewDialog::kRealmTravel);
        SetupHud();
        UpdateSurroundings();
        return 0;
    case 536: return OnKey(1004);
    case 537: return OnKey(1000);
    case 538: return OnKey(1006);
    case 539: return OnKey(3004);
    case 540: return OnKey(1002);
    case 541: return OnKey(3005);
    case 542: return OnKey(3000);
    case 543: return OnKey(kCommandSpellBook);
    case 546: return OnKey(kCommandPotions);
    case 547: return OnKey(kCommandRest);
    default: return 0;
    }
}

u32 CGameScreen::OpenWorldMap() {
    if (turning || stepping || HasBlockingAction() || modalChild || !game) return 0;
    auto dialog = std::make_unique<CWorldMapDialog>();
    dialog->Attach(game);
    dialog->source = &worldMapSource;
    modalDialog = std::move(dialog);
    screenMode = kModeWorldMap;
    OpenModal(modalDialog.get());
    static_cast<CWorldMapDialog*>(modalDialog.get())->Open();
    PlaySound("bsnd_letteropenclose", 10);
    flags |= kFormRedrawAll;
    return 0;
}

void CGameScreen::OpenModalDialog(CGameViewDialog kind, u32 mode, const char* text, const char* destination) {
    IGameViewDialogs* dialogs = host_ ? host_->GetGameViewDialogs() : nullptr;
    if (!dialogs) return;
    if (std::unique_ptr<CForm> dialog = dialogs->OpenDialog(kind)) {
        modalDialog = std::move(dialog);
        screenMode = mode;
        OpenModal(modalDialog.get());
        return;
    }
    // A dialog the application keeps opens itself over the view.
    if (dialogs->OpenKeptDialog(kind, text, destination) && modalChild) screenMode = mode;
}

bool CGameScreen::OpenSpellEnchanting(u16 level, bool recharge) {
    IGameViewDialogs* dialogs = host_ ? host_->GetGameViewDialogs() : nullptr;
    if (!dialogs || !dialogs->OpenSpellEnchanting(level, recharge) || !modalChild) return false;
    screenMode = kModeEnchant;
    return true;
}

void CGameScreen::PlaySound(const char* name, i32 volume) {
    if (music && name && *name) music->PlaySound(name, volume);
}

// --- seams ---

void CGameScreen::RunCellPasses(const bool (&fired)[9]) {
    if (!section) return;
    if (fired[2]) AnimateGroundTextures();
    if (fired[0] || fired[1]) cellPasses.ComputeLighting(true, true);
    if (fired[4]) cellPasses.AnimateDoors(cacheBuilder.get());
}

void CGameScreen::ClearAllObjectMarks() {
    CWorldList* list = host_ ? host_->GetWorldList() : nullptr;
    if (list) {
        for (u32 i = 0; i < list->Count(); ++i)
            if (CWorld* w = list->At(i)) ClearMapObjectMarks(*w);
    } else if (world) {
        ClearMapObjectMarks(*world);
    }
}

void CGameScreen::ReloadSkyAndCaches() {
    UpdateSkyPicture();
    // The light of the day changed: the people of the window are taken out and put back by what
    // their map objects say now (a person hidden for the night stays away, one shown again returns).
    if (CFight* f = Fight()) {
        f->people.RemoveScheduledPeople(true);
        f->people.PlaceScheduledPeople();
    }
    RebuildViewCaches();
}

// --- what the player reports ---

// In a talk the player's reports join the speech, so a quest handed over by a line is told there and
// not behind the talk screen. Any other routing left over from a finished run (the pages of the
// intro) would lose them: they go to the view's messages.
void CGameScreen::ShowGameMessage(const char* text) {
    if (scriptContext_ && scriptContext_->GetWorld() == &scriptWorld &&
        scriptContext_->GetRouting() == kRouteTalk)
        ::ShowGameMessage(*scriptContext_, text, 0);
    else
        AppendMessage(text);
}

void CGameScreen::PostMessageEvent(const char* text, const char* sound) { PostMessageEvent(text, 1, sound); }

void CGameScreen::SetHpGauge(int percent) {
    hpGauge = percent;
    hpBar.SetPercent(static_cast<u32>(std::clamp(percent, 0, 100)));
}

void CGameScreen::SetManaGauge(int percent) {
    manaGauge = percent;
    manaBar.SetPercent(static_cast<u32>(std::clamp(percent, 0, 100)));
}

void CGameScreen::PassTimeTo(int hour, int minute) { gameClock.PassTimeTo(hour, minute); }

// --- the view ---

void CGameScreen::ResetState() {
    ForgetWorld();
    facing = targetFacing = 0;
    playerX = playerY = 0;
    fractionX = fractionY = 0x8000;
    gameClock.minutes = 0;
    surroundings.Reset();
    triggerScript.Assign("");
    // A sky a script chose in the last game is not the new game's.
    skyName.clear();
    cloud = 0;
    gameClock.prisonArrival = 0;
    jailTarget.Assign("");
}

void CGameScreen::StoreState(CGameViewState& out) const {
    out.facing = static_cast<u32>(facing);
    out.cellX = static_cast<u32>(playerX);
    out.cellY = static_cast<u32>(playerY);
    out.clock = gameClock.minutes;
    out.screenMode = screenMode;
}

// A stored facing between quarters, a cell outside the window or another mode come back tidied.
void CGameScreen::RestoreState(const CGameViewState& in) {
    facing = targetFacing = static_cast<i32>(in.facing % 360 / 90 * 90);
    playerX = in.cellX < static_cast<u32>(kWindowSize) ? static_cast<i32>(in.cellX) : 17;
    playerY = in.cellY < static_cast<u32>(kWindowSize) ? static_cast<i32>(in.cellY) : 17;
    fractionX = fractionY = 0x8000;
    gameClock.minutes = in.clock;
    screenMode = kModeNormal;
}

// The game's table outlives the view: its objects stop asking this view.
void CGameScreen::ReleaseMapObjects() {
    if (mapObjects && viewWorld && viewWorld->Objects().Host() == mapObjects.get())
        viewWorld->Objects().SetHost(nullptr);
    if (objects_ == mapObjects.get()) objects_ = nullptr;
    mapObjects.reset();
}

bool CGameScreen::MakeViewThumbnail() {
    if (!section || !rendererReady || window.CurrentSection() != section) {
        std::fill(viewThumbnail.begin(), viewThumbnail.end(), u16(0));
        return false;
    }
    SyncViewPose();
    renderer.RenderFrame();
    renderer.MakeViewThumbnail(viewThumbnail.data());
    return true;
}

void CGameScreen::ForgetWorld() {
    if (mapObjects) mapObjects->Forget();
    // The effect's pictures belong to the closing world's records.
    panelEffect = nullptr;
    panelEffectStep = 0;
    std::fill(viewThumbnail.begin(), viewThumbnail.end(), u16(0));
    // The loops play the closing worlds' sounds.
    StopQueuedSounds(false);
    window.Clear();
    world = nullptr;
    section = nullptr;
    transitionWorld = nullptr;
    transitionMap = nullptr;
    events.clear();
    if (fightActions) fightActions->Clear();
    modalDialog.reset();
    retiredDialog_.reset();
    modalChild = nullptr;
    screenMode = kModeNormal;
    turning = stepping = bump = false;
    bumpPause = bumpTravel = 0;
    gameClock.inPrison = false;
    weather.Clear();
    pendingList = PendingList{};
    for (Target& t : targets) t = Target{};
    if (viewWorld) viewWorld->Forget();
    if (viewWorld) viewWorld->sprites = nullptr;
    if (creatures && fightActions == creatures.get()) SetActions(nullptr);
    creatures.reset();
}

void CGameScreen::RefreshView() {
    if (!section || !host_ || !host_->GetWorldLists()) {
        window.Clear();
        return;
    }
    CWorldLists& lists = *host_->GetWorldLists();
    CTextureSet& textures = host_->GetTextures();
    cellRefs = world ? world->MakeCellRefs(
                           [&lists](const CMapObjectRecord* r) {
                               for (size_t i = 0; i < lists.mapObjects.Count(); ++i)
                                   if (lists.mapObjects.At(i) == r) return static_cast<u16>(i);
                               return kNoCellIndex;
                           },
                           [&textures](const CSecondPicture* p) { return textures.IndexOfSecond(p); })
                     : CCellRefs{};
    // A section's default ground in the window's indices.
    auto groundOf = [&](const CMapSection& s, u16& type, u16& picture) {
        type = kNoCellIndex;
        for (size_t i = 0; i < lists.mapObjects.Count(); ++i)
            if (lists.mapObjects.At(i) == s.groundObject) type = static_cast<u16>(i);
        picture = s.groundPicture ? textures.IndexOfSecond(s.groundPicture) : kNoCellIndex;
    };
    groundOf(*section, window.defaultGround, window.defaultGroundPicture);
    if (section->IsSurface()) {
        playerX = std::clamp(playerX, 7, 27);
        playerY = std::clamp(playerY, 7, 27);
    }
    window.SetPlayer(playerX, playerY, static_cast<u32>(facing));
    // The bags of the sections entering the window get their items from the world's item lists once.
    window.SetItemCatalogue(host_ && host_->GetWorldLists() ? &host_->GetWorldLists()->items : nullptr);
    window.SetRandom(random);
    window.Fill(world, section, cellRefs, gameClock.minutes);
    for (i32 piece = 0; piece < 9; ++piece) {
        if (const CMapSection* s = window.IsSurface() ? window.PieceSection(piece) : nullptr) {
            u16 type = kNoCellIndex, picture = kNoCellIndex;
            groundOf(*s, type, picture);
            window.SetPieceGround(piece, type, picture);
        }
    }
    if (viewWorld) viewWorld->Refresh();
    // Another map's pictures may sit where this one's were.
    renderer.ForgetKeptFrame();
    BuildAnimatedTextureList();
    RebuildViewCaches();
    SyncViewPose();
    EnterCreatures();
}

void CGameScreen::RebuildViewCaches() {
    if (!cacheBuilder) return;
    // The creatures and piles standing in the cells take their numbers first.
    window.ForgetPileNumbers();
    cacheBuilder->NumberCellObjects();
    cacheBuilder->RebuildViewCaches();
    // The caches were built with the first frames again.
    for (CAnimatedTexture& t : animatedTextures) t.current = 0;
}

void CGameScreen::RebuildCell(i32 x, i32 y) {
    if (!cacheBuilder) return;
    cacheBuilder->BuildCellCaches(x, y);
    cacheBuilder->BuildCellCachesPass3(x, y);
    for (i32 d = 0; d < 4; ++d) {
        cacheBuilder->BuildCellCachesPass2(x + kDx[d], y + kDy[d]);
        cacheBuilder->BuildCellCachesPass4(x + kDx[d], y + kDy[d]);
    }
}

void CGameScreen::RebuildChangedCells() {
    CScriptContext* context = host_ ? host_->GetScriptContext() : nullptr;
    if (context && cacheBuilder) cellPasses.RebuildChangedCells(*context, *cacheBuilder);
}
