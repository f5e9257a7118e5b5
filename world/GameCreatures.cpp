// The game view's side of the creatures and the fight: what the creatures ask of the view, and where
// the view's tick, its commands and its clock reach the fight.
#include "world/GameCreatures.h"

#include <algorithm>

#include "core/Random.h"
#include "data/ActionSprite.h"
#include "data/CreatureCatalogue.h"
#include "data/SectionEffects.h"
#include "data/TextureSet.h"
#include "data/WorldLists.h"
#include "data/Spells.h"
#include "platform/Clock.h"
#include "script/ScriptContext.h"
#include "view3d/ViewCaches.h"
#include "view3d/ViewRecord.h"
#include "world/CreatureSprite.h"
#include "world/Directions.h"
#include "world/GameScreen.h"

// ---------------------------------------------------------------------------------------------
// What the creatures ask of the view.

CCellWindow& CGameCreatures::Window() { return view_.window; }

CPlayer& CGameCreatures::Player() { return *view_.GetPlayer(); }

const CRuleContext& CGameCreatures::Rules() const { return *view_.GetPlayer()->GetWorld(); }

CRandom& CGameCreatures::Random() { return *view_.random; }

u32 CGameCreatures::TickCount() const { return plat::TickCount(); }

void CGameCreatures::GetPlayerCell(i32& x, i32& y) const {
    x = view_.playerX;
    y = view_.playerY;
}

void CGameCreatures::GetPlayerFraction(i32& fx, i32& fy) const {
    fx = static_cast<i32>(view_.fractionX);
    fy = static_cast<i32>(view_.fractionY);
}

void CGameCreatures::SetPlayerFraction(i32 fx, i32 fy) {
    view_.fractionX = static_cast<u32>(std::clamp(fx, 0, 0x10000));
    view_.fractionY = static_cast<u32>(std::clamp(fy, 0, 0x10000));
}

u32 CGameCreatures::GetFacing() const { return static_cast<u32>(view_.facing); }

bool CGameCreatures::IsSurfaceMap() const { return view_.window.IsSurface(); }

int CGameCreatures::GetHour() const { return view_.GetHour(); }

void CGameCreatures::PostMessageEvent(const char* text, u32 buttons) {
    view_.PostMessageEvent(text, buttons, nullptr);
}

void CGameCreatures::ShowGameMessage(const char* text) { view_.ShowGameMessage(text); }

void CGameCreatures::PlaySound(const char* name, int volume) { view_.PlaySound(name, volume); }

// A creature with an NPC talks through the NPC's screens; the others say nothing.
void CGameCreatures::PostStealPrompt(CMapSection& section, CMonster& creature) {
    view_.PostStealPromptEvent(section, creature);
}

void CGameCreatures::PostExamineCreature(CMapSection& section, CMonster& creature, int level) {
    view_.PostExamineEvent(section, creature, static_cast<u32>(std::max(level, 0)));
}

void CGameCreatures::TalkToCreature(CMapSection&, CMonster& creature) {
    const CMonsterType* type = creature.Type();
    if (type && type->npcId && *type->npcId)
        view_.PostTalkEvent(type->npcId);
    else
        view_.PostMessageEvent("No answer", 1, nullptr);
}

void CGameCreatures::RaiseFightFlag() {
    u32& countdown = view_.surroundings.fightCountdown;
    countdown = std::max<u32>(countdown, CSurroundings::kFightCountdown);
}

void CGameCreatures::SetFightCountdown(int value) {
    view_.surroundings.fightCountdown = static_cast<u32>(std::max(0, value));
}

void CGameCreatures::UpdateMusic() { view_.UpdateMusic(); }

// Creatures came, went or changed cells: the caches number the sprites of the window anew.
void CGameCreatures::ShowHitFrame(int step) { view_.ShowHitFrame(step); }
void CGameCreatures::EndHitFrames() { view_.EndHitFrames(); }

void CGameCreatures::RefreshAfterChange() {
    view_.RebuildViewCaches();
    view_.rebuildRequested = true;
    view_.viewChanged = true;
    view_.UpdateGauges();
}

// The creatures name the direction of their step by facing quarter (0 north, 1 west, 2 south, 3 east);
// the window's test takes the table's (0 north, 1 east, 2 south, 3 west), and answers whether the
// cell refuses the creature.
bool CGameCreatures::CanCreatureEnter(i32 x, i32 y, i32 direction) {
    if (!view_.window.SectorSection(x, y) || !view_.window.Cell(x, y)) return false;
    return !view_.window.CanCreatureEnter(x, y, nullptr, dir::QuarterToTable(direction));
}

bool CGameCreatures::RunCreatureEventScript(int code, CMapSection& section, CMonster& creature,
                                            CCreatureEvent& event) {
    return view_.RunCreatureScript(code, section, creature, event);
}

// The death screen follows from the view's next tick, which finds the hit points at 0.
void CGameCreatures::OnPlayerDied() { view_.UpdateGauges(); }

CCellObject* CGameCreatures::SpriteOf(const CMonster& creature) {
    auto& sprites = view_.viewState.cellObjects;
    return creature.viewIndex != 0 && creature.viewIndex < sprites.size() ? &sprites[creature.viewIndex] : nullptr;
}

// A blow or a spell that found no creature reaches the map object of the cell (its script, with the
// amount, or its own handler) as the view's cell events do.
void CGameCreatures::RaiseObjectEvent(int code, i32 x, i32 y, int amount, const CSpell* spell) {
    CMapCell* cell = view_.window.Cell(x, y);
    CMapSection* section = view_.window.SectorSection(x, y);
    if (!cell || !section || code <= 0) return;
    view_.TriggerCellEvent(static_cast<u32>(code), CGameScreen::kTargetCentre, section, cell, x, y, -1, false,
                           nullptr, amount, spell);
}

CMonster* CGameCreatures::SlotCreature(i32 x, i32 y, i32 slot, CMapSection** where) const {
    const CMapCell* cell = view_.window.Cell(x, y);
    CMapSection* section = view_.window.SectorSection(x, y);
    if (!cell || !section || slot < 0 || slot > 1) return nullptr;
    const u16 id = cell->creature[slot];
    CMonster* m = id != 0 && id <= 255 ? section->FindMonster(static_cast<u8>(id)) : nullptr;
    if (!m || !m->Type() || CCreatures::IsObjectHidden(*section, *m)) return nullptr;
    if (where) *where = section;
    return m;
}

bool CGameCreatures::HasSprite(i32 x, i32 y, i32 slot) const { return SlotCreature(x, y, slot) != nullptr; }

u16 CGameCreatures::SpriteIndex(i32 x, i32 y, i32 slot) const {
    const CMonster* m = SlotCreature(x, y, slot);
    return m ? m->viewIndex : 0;
}

void CGameCreatures::SetSpriteIndex(i32 x, i32 y, i32 slot, u16 index) {
    if (CMonster* m = SlotCreature(x, y, slot)) m->viewIndex = index;
}

// On the edge of its cell that faces the player, beside the other creature when two share the cell.
void CGameCreatures::PlaceSprite(i32 x, i32 y, i32 slot, const CMonster& m, CCellObject& sprite) const {
    const CMapCell* cell = view_.window.Cell(x, y);
    const bool second = slot == 1;
    const bool paired = !second && cell && cell->creature[1] != 0;
    const CSpritePlace place = SelectCreatureSprite(x, y, view_.playerX, view_.playerY,
                                                    static_cast<u32>(view_.facing), view_.turning,
                                                    m.Type()->bytes[0] != 0, paired, second);
    sprite.x = static_cast<i16>(static_cast<u16>(place.x));
    sprite.y = static_cast<i16>(static_cast<u16>(place.y));
}

void CGameCreatures::FillSprite(i32 x, i32 y, i32 slot, CCellObject& sprite) {
    CMapSection* section = nullptr;
    CMonster* m = SlotCreature(x, y, slot, &section);
    if (!m) return;
    CCreatures::BuildMonsterViewEntry(*m->Type(), sprite);
    // The view stands a sprite's foot at its height field: a creature stands on the floor.
    sprite.heightFraction = 0;
    PlaceSprite(x, y, slot, *m, sprite);
    fight.creatures.ChooseMonsterFrame(*section, *m, sprite);
}

namespace {

// A creature of the window as the effects' ageing sees it.
class AgingCreature : public IAgingMonster {
public:
    AgingCreature(CCreatures& creatures, CMapSection& section, CMonster& m)
        : creatures_(creatures), section_(section), m_(m) {}
    int GetHp() const override { return m_.hp; }
    void SetHp(int hp) override { m_.hp = static_cast<u16>(std::clamp(hp, 0, 0xFFFF)); }
    void MarkHurt(int) override {
        m_.flags = static_cast<u8>((m_.flags & ~creature::kAnimMask) | creature::kHurt);
        m_.hurtTicks = 10;
    }
    void ChooseFrame() override { creatures_.RefreshFrame(section_, m_); }

private:
    CCreatures& creatures_;
    CMapSection& section_;
    CMonster& m_;
};

}  // namespace

void CGameCreatures::AgeNearbyEffects(int turns) {
    // Gathered first: an ageing that kills takes the creature out of the lists it walks.
    std::vector<std::pair<CMapSection*, u8>> near;
    view_.window.ForEachCreatureNear(7, [&](CMapSection& section, const CMonster& m) {
        if (!CCreatures::IsPerson(m) && !CCreatures::IsObjectHidden(section, m)) near.emplace_back(&section, m.id);
    });
    for (auto& [section, id] : near) {
        CMonster* m = section->FindMonster(id);
        if (!m) continue;
        AgingCreature aging(fight.creatures, *section, *m);
        section->effects.AgeMonsterEffects(id, aging, turns);
        m = section->FindMonster(id);
        if (m && m->hp == 0) {
            CCreatureEvent death;
            death.byPlayer = false;
            m->hp = 1;
            fight.creatures.RaiseEvent(creature::kEventDeath, *section, id, death);
        }
    }
}

const CMonster* CGameCreatures::SoundCreature() const {
    const CNearCreatures& near = fight.near;
    // Only a creature of a section the window still holds is heard: the list that chose it may have
    // emptied long ago, and its piece of the map gone since.
    const CCellWindow& window = view_.window;
    bool held = near.soundSection != nullptr && near.soundSection == window.CurrentSection();
    for (int piece = 0; piece < 9 && !held && near.soundSection; ++piece)
        held = window.PieceSection(piece) == near.soundSection;
    const CMonster* m = held ? near.soundSection->FindMonster(near.soundId) : nullptr;
    return m && m->Type() ? m : nullptr;
}

void CGameCreatures::ShowHands(CViewState3D& view) const {
    const CCombatActions& actions = fight.actions;
    auto percent = [](int v) { return static_cast<u16>(std::clamp(v, 0, 100)); };
    // The hands' places are set for a 380 x 320 view; a smaller view shows less of them.
    CActionSpriteSize size;
    size.viewWidth = static_cast<u16>(std::min<u32>(view.viewWidth, 0xFFFF));
    size.viewHeight = static_cast<u16>(std::min<u32>(view.viewHeight, 0xFFFF));
    size.referenceWidth[0] = percent(actions.weaponHand.x);
    size.referenceHeight[0] = percent(actions.weaponHand.y);
    size.referenceWidth[1] = percent(actions.secondHand.x);
    size.referenceHeight[1] = percent(actions.secondHand.y);
    ScaleActionSpriteToView(size);
    view.overlayB = actions.weaponHand.picture;
    view.overlayBPalette = 0;
    view.overlayBWidth = size.width[0];
    view.overlayBHeight = size.height[0];
    view.overlayA = actions.secondHand.shown ? actions.secondHand.picture : 0;
    view.overlayAPalette = 0;
    view.overlayAWidth = size.width[1];
    view.overlayAHeight = size.height[1];
    // Both hands are painted as the right hand: the second is its mirror image, drawn whole.
    view.overlayAMirrored = 1;
    view.overlayFollow = 0;
}

void CGameCreatures::SoundNearCreature() {
    if (const CMonster* m = SoundCreature()) fight.creatures.PlayMonsterIdleSound(*m->Type());
}

void CGameCreatures::UpdateVisibility(bool) {
    const i32 px = view_.playerX, py = view_.playerY;
    for (i32 y = std::max(0, py - 7); y <= std::min(34, py + 7); ++y)
        for (i32 x = std::max(0, px - 7); x <= std::min(34, px + 7); ++x)
            for (i32 slot = 0; slot < 2; ++slot) {
                CMapSection* section = nullptr;
                CMonster* m = SlotCreature(x, y, slot, &section);
                CCellObject* sprite = m ? SpriteOf(*m) : nullptr;
                // Those in the first part of an animation keep their place and frame.
                if (!sprite || m->hurtTicks > 5) continue;
                if (!CCreatures::IsPerson(*m) || (m->Type()->flags & creature::kTypeStationary))
                    PlaceSprite(x, y, slot, *m, *sprite);
                fight.creatures.ChooseMonsterFrame(*section, *m, *sprite);
            }
}

// ---------------------------------------------------------------------------------------------
// The player's actions as the view steps them.

// The creatures answer the blow once it is over (the scan waits for the hands).
void CGameCreatures::StartAttack() {
    fight.Attack();
    fight.near.Scan();
}

void CGameCreatures::Run() {
    fight.actions.Run();
    if (fight.actions.Count() == 0 && fight.near.pending) fight.near.Scan();
}

bool CGameCreatures::Empty() const { return fight.actions.Count() == 0; }

bool CGameCreatures::HasBlockingAction() const {
    for (int i = 0; i < fight.actions.Count(); ++i)
        if (fight.actions.At(i)->kind != kActionPlayerHit) return true;
    return false;
}

void CGameCreatures::Clear() { fight.actions.Clear(); }

void CGameCreatures::PlayGroundSound(i32 x, i32 y) { view_.PlayGroundSound(x, y); }

// ---------------------------------------------------------------------------------------------
// Where the view reaches the fight.

CFight* CGameScreen::Fight() const { return creatures ? &creatures->fight : nullptr; }

void CGameScreen::EnterCreatures() {
    if (!player_ || !player_->GetWorld() || !random || !section) {
        if (viewWorld) viewWorld->sprites = nullptr;
        if (creatures && fightActions == creatures.get()) SetActions(nullptr);
        creatures.reset();
        return;
    }
    if (!creatures) {
        creatures = std::make_unique<CGameCreatures>(*this);
        // The creature kinds' frames are found in the open worlds' pictures once per opening.
        struct Finder : IPictureFinder {
            explicit Finder(CTextureSet& t) : textures(t) {}
            u16 FindPictureIndex(const char* name) const override { return textures.FindPictureIndex(name); }
            CTextureSet& textures;
        };
        if (host_ && host_->GetWorldLists()) {
            CTextureSet& textures = host_->GetTextures();
            CCreatureCatalogue& catalogue = host_->GetWorldLists()->creatures;
            catalogue.ResolvePictures(Finder(textures), nullptr, 0);
            // And the first-person hands' frames.
            host_->GetWorldLists()->items.ResolvePictures(Finder(textures));
            // The types' two looks colour the sprite as palettes of the second table: a look that
            // names no palette there leaves the frame its own colours.
            auto palette = [&](const char* name) -> u16 {
                const u16 i = name ? textures.IndexOfSecond(textures.FindSecondByName(name)) : 0;
                return i == 65535 ? 0 : i;
            };
            for (int i = 0; i < catalogue.GetTypeCount(); ++i) {
                CMonsterType* type = catalogue.GetType(i);
                type->normalPicture = palette(type->pictureName);
                type->paralysedPicture = palette(type->creatureKind ? type->creatureKind->secondLook : nullptr);
            }
        }
    }
    SetActions(creatures.get());
    if (viewWorld && viewWorld->sprites != creatures.get()) {
        viewWorld->sprites = creatures.get();
        RebuildViewCaches();
    }
    creatures->fight.Enter();
}

void CGameScreen::ScanCreaturesForStep(i32 x, i32 y) {
    CFight* f = Fight();
    if (!f) return;
    f->actions.StartHandBob();
    // Underground the creatures look ahead at the cell the player is entering.
    if (!window.IsSurface()) f->near.Scan(true, x, y);
    f->people.Scan();
}

void CGameScreen::RunCreaturePasses(const bool (&fired)[9], bool moved, u32 now) {
    CFight* f = Fight();
    if (!f) return;
    if (fired[7] && stepping && !bump) f->StepTick();
    // The creatures answer what the player does; a player who does nothing would get no answer, so
    // once the view has rested for a second, the next 200 ms phase gives them a turn as a move of
    // the player would. Between two such turns the view is idle for that second and takes the
    // player's keys: the turn comes only from the timer, never from the end of the previous one.
    constexpr u32 kCreatureTurnMs = 1000;
    const bool resting = !moved && IsBusy() == 0;
    if (!resting) restSince = now;
    if (moved) {
        f->near.Scan();
        f->people.Scan();
    } else if (resting && fired[0] && now - restSince >= kCreatureTurnMs && window.IsThreatNearby()) {
        // A turn in which nobody can act (a paralysed or shut-in creature) leaves the view idle; the
        // next look waits another second all the same.
        restSince = now;
        f->near.Scan();
    }
    if (f->near.pending) f->near.Scan();
    if (f->near.Count() > 0) f->near.Run();
    if (screenMode != kModeStealPrompt) {
        if (fired[3] || fired[6]) f->Animate(fired[3], fired[6]);
        if (fired[8]) f->people.Update();
    }
    if (fired[7] && (turning || stepping || viewChanged) && !f->near.hold) creatures->UpdateVisibility(turning);
}

bool CGameScreen::AreCreaturesBusy() const {
    const CFight* f = Fight();
    if (!f) return false;
    if (f->near.pending || f->near.Count() > 0) return true;
    return !f->near.hold && f->near.IsHurtEnemyNearby();
}

bool CGameScreen::RunCreatureScript(int code, CMapSection& at, CMonster& m, CCreatureEvent& event) {
    CScriptContext* context = host_ ? host_->GetScriptContext() : nullptr;
    const CPlacement* placement = m.objectId ? at.FindPlacement(m.objectId) : nullptr;
    if (!context || !objects_ || !placement || !creatures) return false;
    const u16 object = window.ResolveMapObjectTarget(&at, *placement);
    const char* script = object != kNoCellIndex ? objects_->ObjectScript(object, placement) : nullptr;
    if (!script || !*script) return false;
    i32 x = 0, y = 0;
    window.SectionToWindowCell(&at, m.x, m.y, x, y);
    // The script's "default" command hands the event back to the creature through its view.
    CScriptCreature view(creatures->fight.creatures, at, m.id);
    view.SetEvent(&event, context);
    context->SetupObjectEvent(code, &view, &at, window.Cell(x, y), x, y);
    triggerScript.Assign(script);
    context->RunScriptById(script);
    RebuildChangedCells();
    return true;
}

void CGameScreen::UpdateCreaturesPerMinute() {
    if (creatures) creatures->AgeNearbyEffects(1);
}

bool CGameScreen::CastSpell(const CSpell* spell, CItemInstance* item) {
    CFight* f = Fight();
    if (!f || !player_ || !player_->GetWorld()) return false;
    if (item) spell = CCombatActions::SpellOfItem(*item, *player_->GetWorld());
    if (!spell) return false;
    // Paralysed, only a spell on oneself (target mode 1) may be cast.
    if (player_->IsParalyzed() && spell->value2 != 1) {
        PostMessageEvent("You can cast spells only on yourself when you're paralyzed.", 1, nullptr);
        return false;
    }
    if (!item) {
        const int cost = static_cast<int>(spell->GetSkillScaledValue(*player_->GetWorld()));
        if (cost > player_->mana) {
            PostMessageEvent("You don't have enough mana.", 1, nullptr);
            return false;
        }
        player_->AddMana(-cost, false);
        const CSpellList* spells = player_->GetWorld()->spells;
        const int skill = spells ? spells->GetSchoolSkill(spell->school) : 0;
        if (skill > 0) player_->CountSkillUse(skill);
        UpdateGauges();
    }
    f->Cast(spell, item);
    f->near.Scan();
    return true;
}

// ---------------------------------------------------------------------------------------------
// What the player reports to the view.

void CGameScreen::SetHandSprites() {
    if (CFight* f = Fight()) f->actions.SetHandSprites();
}

void CGameScreen::ShowPlayerHit(int, int) {
    UpdateGauges();
    CFight* f = Fight();
    if (!f) return;
    f->actions.ShowPlayerHit(f->creatures.lastBlowQuarter, false);
    f->creatures.lastBlowQuarter = -1;
}

void CGameScreen::ShowDamageOverTime(int) {
    UpdateGauges();
    if (CFight* f = Fight()) f->actions.ShowPlayerHit(-1, true);
}

void CGameScreen::CalmCreatures(int radius) {
    if (CFight* f = Fight()) f->SetNearbyAggression(radius, false);
}

// ---------------------------------------------------------------------------------------------
// What the scripts do to the creatures.

IScriptCreature* CGameScriptWorld::FindMonsterByName(const char* name) {
    CFight* fight = view_.Fight();
    if (!fight || !name) return nullptr;
    auto find = [&](CMapSection* section) -> IScriptCreature* {
        const CPlacement* p = section ? section->FindPlacementByName(name) : nullptr;
        if (!p || p->id == 0) return nullptr;
        for (const CMonster& m : section->monsters)
            if (m.objectId == p->id) return fight->ScriptView(*section, m.id);
        return nullptr;
    };
    if (IScriptCreature* c = find(view_.window.CurrentSection())) return c;
    for (int piece = 0; piece < 9; ++piece) {
        CMapSection* section = view_.window.PieceSection(piece);
        if (section == view_.window.CurrentSection()) continue;
        if (IScriptCreature* c = find(section)) return c;
    }
    return nullptr;
}

CMonsterType* CGameScriptWorld::FindMonsterType(const char* id) {
    IGameViewHost* host = view_.GetHost();
    CWorldLists* lists = host ? host->GetWorldLists() : nullptr;
    return lists && id ? lists->creatures.FindMonsterType(id) : nullptr;
}

void CGameScriptWorld::GetSectionSize(CMapSection* section, i32& width, i32& height) const {
    width = section ? section->width : 0;
    height = section ? section->height : 0;
}

void CGameScriptWorld::RemoveMonstersOfType(CMapSection* section, CMonsterType* type) {
    if (!section || !type) return;
    if (CFight* fight = view_.Fight())
        fight->RemoveMonstersOfType(*section, type);
    else
        section->RemoveMonstersOfType(type);
}

bool CGameScriptWorld::CreateMonster(CMapSection* section, CMonsterType* type, i32 x, i32 y, bool flagScripted) {
    if (!section || !type || x < 0 || y < 0 || x >= section->width || y >= section->height) return false;
    if (CFight* fight = view_.Fight()) return fight->CreateMonster(*section, type, x, y, flagScripted);
    CMonster* m = section->CreateMonster(type, x, y);
    if (m && flagScripted) m->flags |= creature::kRemovable;
    return m != nullptr;
}

i32 CGameScriptWorld::ScanCreatures(i32 distance, i32 mode) {
    CFight* fight = view_.Fight();
    return fight ? fight->SetNearbyAggression(distance, mode == 1) : 0;
}
