// The game view's event queue and its handlers: messages and prompts through the message box, map
// changes and the animated transitions, turning and placing the player, talk, and the answers of the
// dialogs and prompts.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "core/Random.h"
#include "data/CharacterTables.h"
#include "data/RuleContext.h"

#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "script/PlayerCommands.h"
#include "script/ScriptContext.h"
#include "ui/WidgetHost.h"
#include "world/GameMapObjects.h"
#include "world/GameScreen.h"
#include "world/MapInteractions.h"

CGameEvent::CGameEvent() = default;
CGameEvent::~CGameEvent() = default;

namespace {

bool SamePrefix(const char* name, const char* shortName) {
    if (!name || !shortName) return false;
    for (int i = 0; i < 4; ++i) {
        const int a = std::tolower(static_cast<unsigned char>(name[i]));
        const int b = std::tolower(static_cast<unsigned char>(shortName[i]));
        if (a != b) return false;
        if (a == 0) return true;
    }
    return true;
}

}  // namespace

u32 TransitionFrames(u32 kind) {
    static constexpr u32 kFrames[8] = {0, 10, 20, 20, 50, 50, 40, 40};
    return kind < 8 ? kFrames[kind] : 0;
}

// --- posting ---

namespace {

std::unique_ptr<CGameEvent> NewEvent(u32 type) {
    auto e = std::make_unique<CGameEvent>();
    e->type = type;
    return e;
}

}  // namespace

void CGameScreen::PostChangeMapEvent(const char* mapName, u32 kind) {
    if (!world || !SamePrefix(mapName, world->shortName.GetText())) return;
    auto e = NewEvent(kEventChangeMap);
    e->name.Assign(mapName);
    e->word1 = kind;
    events.push_back(std::move(e));
}

void CGameScreen::PostMapPromptEvent(const char* mapName, const char* prompt, u32 kind, u32 stepBack) {
    if (!world || !SamePrefix(mapName, world->shortName.GetText())) return;
    auto e = NewEvent(kEventMapPrompt);
    e->name.Assign(mapName);
    e->text.Assign(prompt ? prompt : "");
    e->word1 = kind;
    e->word2 = stepBack;
    events.push_back(std::move(e));
}

void CGameScreen::PostTurnEvent(u32 direction) {
    auto e = NewEvent(kEventTurn);
    e->direction = direction & 3;
    events.push_back(std::move(e));
}

void CGameScreen::PostSetPositionEvent(u32 x, u32 y) {
    auto e = NewEvent(kEventSetPosition);
    e->x = x;
    e->y = y;
    events.push_back(std::move(e));
}

namespace {

std::unique_ptr<CGameEvent> TransitionEvent(const char* name, u32 kind) {
    auto e = NewEvent(kEventTransition);
    e->name.Assign(name ? name : "");
    e->word1 = kind;
    return e;
}

}  // namespace

void CGameScreen::PostKeywordTransitionEvent(const char* keyword, u32 kind) {
    events.push_back(TransitionEvent(keyword, kind));
}

void CGameScreen::PostTransitionEvent(CWorld* w, CMapSection* map, u32 x, u32 y, u32 direction, u32 kind) {
    auto e = TransitionEvent("", kind);
    e->targetWorld = w;
    e->targetMap = map;
    e->x = x;
    e->y = y;
    e->direction = direction;
    events.push_back(std::move(e));
}

void CGameScreen::InsertTransitionEvent(const char* map, u32 kind) {
    events.insert(events.begin(), TransitionEvent(map, kind));
}

void CGameScreen::PostJailEvent(const char* prison) {
    auto e = NewEvent(kEventJail);
    e->jailName.Assign(prison ? prison : "");
    events.push_back(std::move(e));
}

void CGameScreen::PostStepBackEvent() { events.push_back(NewEvent(kEventStepBack)); }

void CGameScreen::PostMessageEvent(const char* text, u32 options, const char* sound) {
    auto e = NewEvent(kEventMessage);
    e->text.Assign(text ? text : "");
    e->options = options;
    e->sound.Assign(sound ? sound : "bsnd_click");
    events.push_back(std::move(e));
}

void CGameScreen::PostShowObjectListEvent(u32 listId) {
    auto e = NewEvent(kEventObjectList);
    e->listId = listId;
    events.push_back(std::move(e));
}

void CGameScreen::PostTalkEvent(const char* npcName) {
    u32 word = 0;
    if (!host_ || host_->TalkEntry(npcName, word) == 0) {
        PostMessageEvent("No answer", 0, nullptr);
        return;
    }
    auto e = NewEvent(kEventTalk);
    e->npcName.Assign(npcName);
    events.push_back(std::move(e));
}

void CGameScreen::PostRestPromptEvent() {
    auto e = NewEvent(kEventRestPrompt);
    e->text.Assign("Do you want to rest here?");
    events.push_back(std::move(e));
}

void CGameScreen::PostShipVoyageEvent(const char* destination, const char* second) {
    auto e = NewEvent(kEventShipVoyage);
    e->name.Assign(destination ? destination : "");
    e->text.Assign(second ? second : "");
    events.push_back(std::move(e));
}

void CGameScreen::PostPlaySceneEvent(const char* name) {
    auto e = NewEvent(kEventPlayScene);
    e->name.Assign(name ? name : "");
    events.push_back(std::move(e));
}

void CGameScreen::PostSpellEvent(int type, int word) {
    if (type < static_cast<int>(kEventMark) || type > static_cast<int>(kEventEnchant)) return;
    auto e = NewEvent(static_cast<u32>(type));
    e->value = static_cast<u16>(std::clamp(word, 0, 0xFFFF));
    events.push_back(std::move(e));
}

// The creature travels by its section and id: it may walk, die or change sections while the event
// waits, and the handler then finds it (or not) as it is.
void CGameScreen::PostExamineEvent(CMapSection& at, const CMonster& creature, u32 level) {
    for (const auto& queued : events)
        if (queued->type == kEventExamine) return;
    auto e = NewEvent(kEventExamine);
    e->targetMap = &at;
    e->args[0] = creature.id;
    e->value = static_cast<u16>(std::min<u32>(level, 0xFFFF));
    events.push_back(std::move(e));
}

void CGameScreen::PostStealPromptEvent(CMapSection& at, const CMonster& creature) {
    auto e = NewEvent(kEventStealPrompt);
    e->targetMap = &at;
    e->args[0] = creature.id;
    events.push_back(std::move(e));
}

// Texts of any length go in: the message grows with them (a world's names and sign texts included).
void CGameScreen::AppendMessage(const char* text) {
    if (events.empty() || events.back()->type != kEventMessage) PostMessageEvent("", 1, nullptr);
    CStr& message = events.back()->text;
    if (!message.IsEmpty() && text && *text) message.Append(" ");
    message.Append(text ? text : "");
}

bool CGameScreen::HasMessageEvent() const {
    for (const auto& e : events)
        if (e->type == kEventMessage) return true;
    return false;
}

// --- dispatch ---

void CGameScreen::DispatchEvent(bool last) {
    if (events.empty()) return;
    std::unique_ptr<CGameEvent> event;
    if (last) {
        event = std::move(events.back());
        events.pop_back();
    } else {
        event = std::move(events.front());
        events.erase(events.begin());
    }
    DispatchOne(*event);
}

void CGameScreen::DispatchOne(CGameEvent& e) {
    switch (e.type) {
    case kEventChangeMap: ChangeMap(e.name.GetText(), e.word1); break;
    case kEventMapPrompt: OpenMapPrompt(e.name.GetText(), e.text.GetText(), e.word1, e.word2); break;
    case kEventTurn: TurnTo(e.direction); break;
    case kEventSetPosition: SetPosition(static_cast<i32>(e.x), static_cast<i32>(e.y)); break;
    case kEventTransition:
        if (e.word1 == 1 && !e.soundPlayed) {
            PlaySound("bsnd_spellteleport", 10);
            e.soundPlayed = 1;
        }
        if (e.name.IsEmpty())
            StartPositionTransition(e.targetWorld, e.targetMap, e.x, e.y, e.direction, e.word1);
        else
            StartTransition(e.name.GetText(), e.word1);
        break;
    case kEventJail: TransportToJail(e.jailName.GetText()); break;
    case kEventStepBack: StepBack(); break;
    case kEventMessage: ShowMessage(e.text.GetText(), e.options, e.sound.GetText()); break;
    case kEventObjectList: ShowObjectList(e.listId); break;
    case kEventTalk: OpenTalk(e.npcName.GetText()); break;
    case kEventRestPrompt:
        PostMessageEvent(e.text.GetText(), CButtonBar::kYes | CButtonBar::kNo, nullptr);
        DispatchEvent(true);
        screenMode = kModeRestPrompt;
        break;
    case kEventShipVoyage:
        OpenModalDialog(CGameViewDialog::kRealmTravel, kModeRealmTravel, e.text.GetText(), e.name.GetText());
        AdvanceClockHours(1);
        break;
    default:
        // The door prompt, the magic of the spells and the steal prompt belong to the map objects' host.
        if (mapObjects) mapObjects->DispatchEvent(e);
        break;
    }
}

// --- handlers ---

CWorld* CGameScreen::FindWorldForMap(const char* name) const {
    if (world && SamePrefix(name, world->shortName.GetText())) return world;
    CWorldList* list = host_ ? host_->GetWorldList() : nullptr;
    return list ? list->FindWorldByShortName(name) : nullptr;
}

CPlacement* CGameScreen::FindEntry(CWorld* w, const char* name, CMapSection*& where) const {
    where = nullptr;
    if (!w || !name) return nullptr;
    for (u32 i = 0; i < w->SectionCount(); ++i) {
        CMapSection* s = w->SectionAt(i);
        if (!s) continue;
        if (const CPlacement* p = s->FindPlacementByName(name)) {
            where = s;
            return const_cast<CPlacement*>(p);
        }
    }
    return nullptr;
}

void CGameScreen::AfterPositionChange() {
    turning = stepping = bump = false;
    bumpPause = bumpTravel = 0;
    footstepCountdown = 0;
    fractionX = fractionY = 0x8000;
    targetFacing = facing;
    previousX = previousY = -1;
    window.SetPlayer(playerX, playerY, static_cast<u32>(facing));
    window.MarkExploredCells();
    UpdateShelter();
    surroundings.fightCountdown = 0;
    rebuildRequested = true;
    viewChanged = true;
    // Being put somewhere else (a new map, a position set) breaks a paralysis.
    if (mapObjects) mapObjects->Interactions().OnParalysisEnded();
    UpdateSkyPicture();
    UpdateSurroundings();
    if (IsCurrentScreen()) Draw();
    penGuardTick = game ? game->GetTickCounter() : 0;
}

bool CGameScreen::ChangeMap(const char* name, u32 kind) {
    if (kind != 0) {
        PostKeywordTransitionEvent(name, kind);
        return true;
    }
    CWorld* target = FindWorldForMap(name);
    if (!target) {
        PostMessageEvent("This realm doesn't exist.", 1, nullptr);
        return false;
    }
    CMapSection* where = nullptr;
    CPlacement* entry = FindEntry(target, name, where);
    if (!entry || !where) return false;
    // Coming up from below brings new weather, unless the player was last seen on the surface of
    // that world within the hour (the clock is kept with the world position).
    const bool newWeather = section && !section->IsSurface() && where->IsSurface() &&
                            gameClock.minutes - target->worldZ > 60;
    target->currentSection = where;
    if (host_) host_->SetCurrentWorld(target);
    world = target;
    section = where;
    const i32 offset = where->IsSurface() ? 7 : 0;
    playerX = entry->x + offset;
    playerY = entry->y + offset;
    RefreshView();
    if (where->IsSurface()) world->SetWorldPositionFromSection(where, entry->x, entry->y, gameClock.minutes);
    if (const CMapCell* cell = window.Cell(playerX, playerY)) {
        const u8 code = viewWorld ? viewWorld->TypeCode(cell->centre) : 0;
        if ((code == typecode::kFacingEntry || code == typecode::kFacingEntryB) && (cell->state & 7))
            facing = ((5 - (cell->state & 7)) * 90) % 360;
    }
    if (newWeather) weather.Update(true, section, gameClock.minutes);
    AfterPositionChange();
    CMapCell* cell = window.Cell(playerX, playerY);
    if (cell && cell->centre != kNoCellIndex && !window.CentreObject(playerX, playerY).Hides())
        TriggerCellEvent(kEventArrival, kTargetCentre, section, cell, playerX, playerY, -1, false, nullptr);
    return true;
}

void CGameScreen::EnterMapAt(CWorld* w, CMapSection* map, i32 x, i32 y, u32 direction) {
    // A section that is not there leaves the player where he is, with a word why.
    if (!w || !map) {
        PostMessageEvent("The way leads nowhere.", 1, nullptr);
        return;
    }
    w->currentSection = map;
    if (host_) host_->SetCurrentWorld(w);
    world = w;
    section = map;
    facing = static_cast<i32>((direction & 3) * 90);
    const i32 offset = map->IsSurface() ? 7 : 0;
    playerX = x + offset;
    playerY = y + offset;
    RefreshView();
    if (map->IsSurface()) world->SetWorldPositionFromSection(map, x, y, gameClock.minutes);
    AfterPositionChange();
}

void CGameScreen::OpenMapPrompt(const char* target, const char* text, u32 kind, u32 stepBack) {
    PostMessageEvent(text, CButtonBar::kYes | CButtonBar::kNo, nullptr);
    DispatchEvent(true);
    screenMode = kModeMapPrompt;
    if (target && *target) transitionTarget.Assign(target);
    transitionKind = kind;
    stepBackWord = stepBack;
}

void CGameScreen::TurnTo(u32 direction) {
    const i32 target = static_cast<i32>((direction & 3) * 90);
    StartTurn(target, (facing + 90) % 360 == target ? 10 : -10);
}

void CGameScreen::SetPosition(i32 x, i32 y) {
    if (window.IsSurface()) {
        const i32 wx = x + 7, wy = y + 7;
        if (window.Cell(wx, wy)) x = wx, y = wy;
    }
    if (!window.Cell(x, y)) return;
    playerX = x;
    playerY = y;
    if (world && section && section->IsSurface()) {
        CMapSection* at = nullptr;
        i32 sx = 0, sy = 0;
        if (window.WindowToSectionCell(x, y, at, sx, sy))
            world->SetWorldPositionFromSection(at, sx, sy, gameClock.minutes);
    }
    AfterPositionChange();
    EnterCreatures();
}

void CGameScreen::StartTransition(const char* name, u32 kind) {
    screenMode = kModeTransition;
    transitionTarget.Assign(name ? name : "");
    transitionKind = kind;
    transitionFrames = TransitionFrames(kind);
    // The stairs sound bare under feet without footwear (the footstep rule's slot).
    const bool barefoot = !player_ || player_->equipment[11] == nullptr;
    switch (kind) {
    case 3: PlaySound(player_ && player_->gender == 1 ? "bsnd_fallmale" : "bsnd_fallfemale", 10); break;
    case 4: PlaySound("bsnd_ladderdown", 10); break;
    case 5: PlaySound("bsnd_ladderup", 10); break;
    case 6: PlaySound(barefoot ? "bsnd_stairdownbare" : "bsnd_stairdown", 10); break;
    case 7: PlaySound(barefoot ? "bsnd_stairupbare" : "bsnd_stairup", 10); break;
    default: break;
    }
    if (transitionFrames == 0) transitionFrames = 1;
    if (kind == 1) teleportFade.Start(viewState, transitionFrames);
}

void CGameScreen::StartPositionTransition(CWorld* w, CMapSection* map, u32 x, u32 y, u32 direction,
                                          u32 kind) {
    transitionWorld = w;
    transitionMap = map;
    transitionX = x;
    transitionY = y;
    transitionDirection = direction;
    StartTransition("", kind);
}

void CGameScreen::AnimateTransition() {
    if (screenMode != kModeTransition) return;
    const bool lastFrame = transitionFrames <= 1;
    // A teleport dissolves the place into white fog and ends in white; the other ways go dark.
    if (transitionKind == 1) teleportFade.Step(viewState);
    if (video) {
        const u16 colour = transitionKind == 1 ? (lastFrame ? 0xFFFF : 0) : 0;
        if (transitionKind != 1 || lastFrame)
            video->FillRect(static_cast<i32>(viewState.viewX), static_cast<i32>(viewState.viewY),
                            static_cast<i32>(viewState.viewWidth), static_cast<i32>(viewState.viewHeight),
                            colour);
    }
    if (transitionFrames > 0) --transitionFrames;
    if (transitionFrames > 0) return;
    plat::Sleep(100);
    screenMode = kModeNormal;
    const bool faded = transitionKind == 1;
    if (!transitionTarget.IsEmpty()) {
        CStr target;
        target.Assign(transitionTarget.GetText());
        ChangeMap(target.GetText(), 0);
    } else {
        EnterMapAt(transitionWorld, transitionMap, static_cast<i32>(transitionX),
                   static_cast<i32>(transitionY), transitionDirection);
    }
    // A teleport that led nowhere leaves the player where he was: his fog comes back.
    if (faded) UpdateSkyPicture();
}

void CGameScreen::ShowMessage(const char* text, u32 options, const char* sound) {
    if (options == 0) options = CButtonBar::kOk;
    messageOptions = options;
    messageText.Assign(text ? text : "");
    messageBar.Attach(game);
    if (game && video) {
        messageBar.ownedView = std::make_unique<CTextView>();
        ShowMessageText(game, messageBar.ownedView.get(), text, options, &messageBar, this);
    }
    OpenModal(&messageBar);
    screenMode = kModeMessage;
    if (sound && *sound) PlaySound(sound, 10);
}

void CGameScreen::OpenTalk(const char* npcName) {
    u32 word = 0;
    const u32 code = host_ ? host_->TalkEntry(npcName, word) : 0;
    if (code == 0) return;
    entryA = 0;
    entryB = word;
    host_->TalkPlace(npcName, section, entryC, entryD);
    keepOnStack = 1;
    pendingScreen = code;
}

u32 CGameScreen::OnDialogResult(u32 result) {
    const u32 mode = screenMode;
    const u32 options = messageOptions;
    CloseModal();
    CScriptContext* context = host_ ? host_->GetScriptContext() : nullptr;
    switch (mode) {
    case kModeMessage:
        // A box of more than one button answered a script's question: the answer is the button's flag.
        if ((options & (options - 1)) != 0 && context) {
            context->SetAnswer(static_cast<i32>(result));
            context->RunTriggerScript(triggerScript.GetText());
        }
        break;
    case kModeMapPrompt:
        if (result == CButtonBar::kYes) {
            CStr target;
            target.Assign(transitionTarget.GetText());
            if (transitionKind == 0)
                ChangeMap(target.GetText(), 0);
            else
                InsertTransitionEvent(target.GetText(), transitionKind);
        } else if (stepBackWord) {
            StepBack();
        }
        break;
    case kModeObjectList:
        if (context) {
            context->SetAnswer(static_cast<i32>(result));
            context->SetChosenEntry(result == CActionMenu::kOk ? objectMenu.answer.GetText() : "");
            context->RunTriggerScript(triggerScript.GetText());
        }
        break;
    case kModeRestPrompt:
        if (result == CButtonBar::kYes) Rest();
        break;
    case kModeDoorPrompt:
        if (mapObjects) mapObjects->AnswerDoorPrompt(result);
        break;
    case kModeStealPrompt:
        if (mapObjects) mapObjects->AnswerStealPrompt(result);
        break;
    default: break;
    }
    flags |= kFormRedrawAll;
    return 0;
}

// --- prison ---

i32 CGameScreen::DrawSentenceLoss(CRandom* random, i32 count, i32 first,
                                  const std::function<bool(i32)>& eligible) {
    // The draws are bounded: a player who lacks nearly everything must not keep the game drawing.
    constexpr int kDraws = 64;
    for (int i = 0; i < kDraws && random; ++i) {
        const i32 v = static_cast<i32>(random->Next(count)) + 1;
        if (v != first && eligible(v)) return v;
    }
    for (i32 v = 1; v <= count; ++v)
        if (v != first && eligible(v)) return v;
    return 0;
}

void CGameScreen::TransportToJail(const char* prison) {
    CStr name;
    name.Assign(prison && *prison ? prison : (section && section->GetName() ? section->GetName() : ""));
    auto entryOf = [this](const char* base, CMapSection*& where) {
        CStr entry;
        entry.Assign(base);
        entry.Append("_jailentry");
        return FindEntry(world, entry.GetText(), where);
    };
    CMapSection* where = nullptr;
    CPlacement* entry = entryOf(name.GetText(), where);
    if (!entry && section && section->IsSurface() && world) {
        for (i32 i = 0; i < 9 && !entry; ++i) {
            const CCellWindow::Piece& p = CCellWindow::kPieces[i];
            CMapSection* piece = world->FindNeighbourSection(section, p.dx, p.dy);
            if (!piece || !piece->GetName()) continue;
            if ((entry = entryOf(piece->GetName(), where)) != nullptr) name.Assign(piece->GetName());
        }
    }
    if (!entry) {
        AppendMessage("There's no prison nearby - you're free - at least for a while.");
        return;
    }
    CStr text;
    // The section's name may be of any length: appended, never formatted into a fixed buffer.
    if (where && where->displayName) {
        text.Assign("You're being transported to the prison of ");
        text.Append(where->displayName);
        text.Append(".");
    } else
        text.Assign("You're being transported to a prison.");
    AppendMessage(text.GetText());
    gameClock.EnterPrison();
    jailTarget.Assign(name.GetText());
    jailTarget.Append("_jail");
    StartTransition(jailTarget.GetText(), 3);
}

void CGameScreen::ServeSentence() {
    CStr exit;
    exit.Assign(jailTarget.GetText());
    exit.Append("exit");
    ChangeMap(exit.GetText(), 0);
    if (!player_) return;
    const u32 days = std::max<u32>(1, player_->crime / 10);
    AdvanceClockHours(days * 24);
    const i32 losses = days < 10 ? 1 : (days < 20 ? 2 : 3);
    CRandom* r = random;
    const CRuleContext* rules = player_->GetWorld();
    CStr message;
    message.Assign("You have served your sentence. Your ");
    i32 firstAttribute = 0, firstSkill = 0;
    std::vector<i32> attributes, skills;
    for (i32 k = 0; k < losses; ++k) {
        const i32 a =
            DrawSentenceLoss(r, 5, firstAttribute, [this](i32 v) { return player_->attributes[v] > 0; });
        if (a == 0) break;
        if (k == 0) firstAttribute = a;
        if (player_->attributes[a] > 1) player_->AddAttributeValue(a, -1, false);
        attributes.push_back(a);
    }
    const i32 spared = player_->MissingSkill();
    for (i32 k = 0; k < losses; ++k) {
        const i32 s = DrawSentenceLoss(
            r, 20, firstSkill, [this, spared](i32 v) { return v != spared && player_->skills[v] > 0; });
        if (s == 0) break;
        if (k == 0) firstSkill = s;
        if (player_->skills[s] > 1) player_->AddSkillValue(s, -1, false);
        skills.push_back(s);
    }
    auto attributeName = [rules](i32 a) {
        const char* n = rules && rules->attributes ? rules->attributes->GetName(a) : nullptr;
        return n ? n : "";
    };
    auto skillName = [rules](i32 s) {
        const char* n = rules && rules->skills ? rules->skills->GetName(s) : nullptr;
        return n ? n : "";
    };
    for (size_t i = 0; i < attributes.size(); ++i) {
        message.Append(attributeName(attributes[i]));
        message.Append(i + 1 < attributes.size() ? "," : " ");
    }
    for (size_t i = 0; i < skills.size(); ++i) {
        if (i + 1 < skills.size()) {
            message.Append(skillName(skills[i]));
            message.Append(" skill, ");
        } else {
            message.Append("and ");
            message.Append(skillName(skills[i]));
            message.Append(" skill ");
        }
    }
    message.Append("have been decreased.");
    PostMessageEvent(message.GetText(), 1, nullptr);
    if (player_->crime != 0) {
        player_->crime = 0;
        PostMessageEvent("Your crime records have been cleared.", 1, nullptr);
    }
    if (CScriptContext* context = host_ ? host_->GetScriptContext() : nullptr)
        context->SetupEvent(static_cast<i32>(kEventUse), nullptr, section, nullptr, playerX, playerY, -1, 1,
                            1);
}

void CGameScreen::ShowObjectList(u32) {
    if (!pendingList.open) return;
    pendingList.open = false;
    objectList.Attach(this);
    objectList.ResetItems();
    objectList.font = 1;
    objectList.textColour = 0x161616;
    objectList.backgroundColour = 0x94D6E7;
    objectList.selection = -1;
    if (fonts) {
        fonts->Select(1, 0, 0);
        objectList.rowHeight = fonts->CurrentFont()->LineHeight();
    }
    for (const auto& [id, title] : pendingList.entries) objectList.AddItem(title.c_str(), id.c_str(), 0);
    objectList.FitToItems(340);
    objectMenu.Attach(game);
    objectMenu.Open(&objectList);
    OpenModal(&objectMenu);
    screenMode = kModeObjectList;
}

// --- travel of the spell and voyage dialogs ---

bool CGameScreen::GetPlayerCell(int& x, int& y) const {
    CMapSection* at = nullptr;
    i32 sx = 0, sy = 0;
    if (!section || !window.WindowToSectionCell(playerX, playerY, at, sx, sy)) return false;
    x = sx;
    y = sy;
    return true;
}

void CGameScreen::PostMapTransition(const char* worldId, const char* map, int x, int y, int direction,
                                    int kind) {
    CWorldList* list = host_ ? host_->GetWorldList() : nullptr;
    CWorld* target = world && SamePrefix(worldId, world->shortName.GetText()) ? world : nullptr;
    if (!target && list) target = list->FindWorldByShortName(worldId);
    CMapSection* at = target && map ? target->FindSectionByName(map) : nullptr;
    PostTransitionEvent(target, at, static_cast<u32>(x), static_cast<u32>(y), static_cast<u32>(direction & 3),
                        static_cast<u32>(kind));
}

