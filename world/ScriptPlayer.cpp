#include "world/ScriptPlayer.h"

#include "data/CharacterTables.h"
#include "data/WorldLists.h"
#include "data/WorldRecords.h"
#include "world/GameScreen.h"
#include "world/Player.h"

namespace {

bool ValidAttribute(i32 attribute) { return attribute >= 1 && attribute <= kPlayerAttributeCount; }
bool ValidSkill(i32 skill) { return skill >= 1 && skill <= kPlayerSkillCount; }

}  // namespace

CPlayer* CScriptPlayer::Player() const { return view_.GetPlayer(); }

const CRuleContext* CScriptPlayer::Rules() const {
    const CPlayer* player = Player();
    return player ? player->GetWorld() : nullptr;
}

const char* CScriptPlayer::QuestTitle(const char* id) const {
    const IGameViewHost* host = view_.GetHost();
    const CWorldLists* lists = host ? host->GetWorldLists() : nullptr;
    const CQuest* quest = lists && id ? lists->quests.FindById(id) : nullptr;
    if (!quest) return nullptr;
    return quest->title && *quest->title ? quest->title : quest->id;
}

const char* CScriptPlayer::GetName() const {
    const CPlayer* p = Player();
    return p && p->name.GetText() ? p->name.GetText() : "";
}

u32 CScriptPlayer::GetGold() const { return Player() ? Player()->gold : 0; }
// Crime is kept unsigned but never runs past what a signed word holds (the player caps it).
i32 CScriptPlayer::GetCrime() const { return Player() ? static_cast<i32>(Player()->crime) : 0; }
i16 CScriptPlayer::GetFame() const { return Player() ? Player()->fame : 0; }
i32 CScriptPlayer::GetLevel() const { return Player() ? Player()->level : 0; }
u8 CScriptPlayer::GetRaceIndex() const { return Player() ? static_cast<u8>(Player()->race) : 0; }
u8 CScriptPlayer::GetGender() const { return Player() ? Player()->gender : 0; }
i32 CScriptPlayer::GetHp() const { return Player() ? Player()->hp : 0; }
i32 CScriptPlayer::GetMaxHp() const { return Player() ? Player()->GetMaxHp() : 0; }
i32 CScriptPlayer::GetHpPercent() const { return Player() ? Player()->GetHpPercent() : 0; }
i32 CScriptPlayer::GetMana() const { return Player() ? Player()->mana : 0; }
i32 CScriptPlayer::GetMaxMana() const { return Player() ? Player()->GetMaxMana() : 0; }
i32 CScriptPlayer::GetOutfit() const { return Player() ? Player()->GetOutfit() : 0; }

i32 CScriptPlayer::GetArmorClass(i32 shieldFactor) const {
    return Player() ? Player()->GetArmorClass(nullptr, shieldFactor) : 0;
}

u32 CScriptPlayer::GetSavedXp() const { return Player() ? Player()->savedXp : 0; }

const char* CScriptPlayer::GetFirstDiseaseName() const {
    const CPlayer* p = Player();
    if (!p || p->diseases.empty() || !p->diseases.front()) return nullptr;
    return p->diseases.front()->GetDisplayName();
}

i32 CScriptPlayer::GetAttribute(i32 attribute) const {
    return Player() && ValidAttribute(attribute) ? Player()->GetAttribute(attribute) : 0;
}

i32 CScriptPlayer::GetSkillValue(i32 skill) const {
    return Player() && ValidSkill(skill) ? Player()->GetSkillValue(skill) : 0;
}

i32 CScriptPlayer::GetPoisonStrength() const { return Player() ? Player()->GetPoisonStrength() : 0; }
bool CScriptPlayer::IsParalyzed() const { return Player() && Player()->IsParalyzed(); }
bool CScriptPlayer::IsCursed() const { return Player() && Player()->IsCursed(); }

// A quest the world has no record of is never handed out: the journal could not name it.
void CScriptPlayer::AddQuest(const char* id) {
    const char* title = QuestTitle(id);
    if (Player() && title) Player()->AddQuest(id, title);
}

// The script command reports the new state itself, so the entry changes here without a message.
const char* CScriptPlayer::SetQuestState(const char* id, i32 state) {
    CPlayer* p = Player();
    CPlayerQuest* quest = p ? p->FindQuest(id) : nullptr;
    if (!quest) return nullptr;
    quest->state = static_cast<u8>(state);
    const char* title = QuestTitle(id);
    return title ? title : id;
}

bool CScriptPlayer::HasQuest(const char* id) const { return Player() && Player()->FindQuest(id); }
bool CScriptPlayer::IsQuestSolved(const char* id) const { return Player() && Player()->IsQuestSolved(id); }
bool CScriptPlayer::IsQuestFailed(const char* id) const { return Player() && Player()->IsQuestFailed(id); }

void CScriptPlayer::RemoveQuest(const char* id) {
    if (Player()) Player()->RemoveQuest(id, QuestTitle(id));
}

void CScriptPlayer::FindItem(const char* id, i32 amount, bool report) {
    if (Player() && id && amount > 0) Player()->FindItem(id, amount, report);
}

void CScriptPlayer::ReceiveItem(const char* id, i32 amount, bool report) {
    if (Player() && id && amount > 0) Player()->ReceiveItem(id, amount, report);
}

void CScriptPlayer::RemoveItems(const char* id, i32 amount) {
    if (Player() && id && amount > 0) Player()->RemoveItems(id, amount);
}

i32 CScriptPlayer::CountItems(const char* id) const { return Player() && id ? Player()->CountItems(id) : 0; }

void CScriptPlayer::AddXp(i32 value, bool report) {
    if (Player()) Player()->AddXp(value, report);
}

void CScriptPlayer::RemoveXp(i32 value, bool restorable) {
    if (Player()) Player()->RemoveXp(value, restorable);
}

void CScriptPlayer::RestoreSavedXp() {
    if (Player()) Player()->RestoreSavedXp();
}

void CScriptPlayer::AddGold(i32 value, bool report, bool found) {
    if (Player()) Player()->AddGold(value, report, found);
}

void CScriptPlayer::SetGold(u32 gold) {
    if (Player()) Player()->gold = gold < kMaxGold ? gold : kMaxGold;
}

void CScriptPlayer::RemoveGold(i32 value, bool report) {
    if (Player()) Player()->RemoveGold(value, report);
}

i32 CScriptPlayer::FindSkillId(const char* name) const {
    const CRuleContext* rules = Rules();
    return rules && rules->skills && name && *name ? rules->skills->FindId(name) : 0;
}

const char* CScriptPlayer::GetSkillKey(i32 skill) const {
    const CRuleContext* rules = Rules();
    const CSkillEntry* entry = rules && rules->skills ? rules->skills->GetEntry(skill) : nullptr;
    return entry && entry->GetName() ? entry->GetName() : "";
}

i32 CScriptPlayer::GetSkillDetails(i32 skill) const {
    return Player() && ValidSkill(skill) ? Player()->GetSkillDetails(skill, nullptr, nullptr) : 0;
}

void CScriptPlayer::AddSkillValue(i32 skill, i32 value, bool report) {
    if (Player() && ValidSkill(skill)) Player()->AddSkillValue(skill, value, report);
}

i32 CScriptPlayer::FindAttributeId(const char* name) const {
    const CRuleContext* rules = Rules();
    return rules && rules->attributes && name && *name ? rules->attributes->FindId(name) : 0;
}

i32 CScriptPlayer::GetAttributeValue(i32 attribute, bool withDrink) const {
    return Player() && ValidAttribute(attribute)
               ? Player()->GetAttributeValue(attribute, nullptr, nullptr, withDrink)
               : 0;
}

void CScriptPlayer::AddAttributeValue(i32 attribute, i32 value, bool report) {
    if (Player() && ValidAttribute(attribute)) Player()->AddAttributeValue(attribute, value, report);
}

void CScriptPlayer::LearnSpell(const char* id, bool report) {
    if (Player() && id) Player()->LearnSpell(id, report);
}

void CScriptPlayer::ForgetSpell(const char* id) {
    if (Player() && id) Player()->ForgetSpell(id);
}

bool CScriptPlayer::KnowsSpell(const char* id) const { return Player() && id && Player()->KnowsSpell(id); }

void CScriptPlayer::AddAbility(const char* id, bool report) {
    if (Player() && id) Player()->AddAbility(id, report);
}

void CScriptPlayer::RemoveAbility(const char* id) {
    if (Player() && id) Player()->RemoveAbility(id);
}

bool CScriptPlayer::HasAbility(const char* id) const { return Player() && id && Player()->HasAbility(id); }

void CScriptPlayer::InfectDisease(const char* id) {
    if (Player() && id) Player()->InfectDisease(id);
}

void CScriptPlayer::CureDisease(const char* id) {
    if (Player() && id) Player()->CureDisease(id);
}

bool CScriptPlayer::IsDiseased(const char* id) const { return Player() && Player()->IsDiseased(id); }

const char* CScriptPlayer::GetRaceKey() const {
    const CRuleContext* rules = Rules();
    const CRaceEntry* entry = rules && rules->races && Player()
                                  ? rules->races->GetEntry(static_cast<int>(Player()->race))
                                  : nullptr;
    return entry && entry->GetName() ? entry->GetName() : "";
}

void CScriptPlayer::SetHp(i32 value, bool report) {
    if (Player()) Player()->SetHp(value, report);
}

void CScriptPlayer::AddHp(i32 value, bool report) {
    if (Player()) Player()->AddHp(value, report);
}

void CScriptPlayer::SetFullHp(bool report) {
    if (Player()) Player()->SetFullHp(report);
}

void CScriptPlayer::SetMana(i32 value, bool report) {
    if (Player()) Player()->SetMana(value, report);
}

void CScriptPlayer::AddMana(i32 value, bool report) {
    if (Player()) Player()->AddMana(value, report);
}

void CScriptPlayer::SetFullMana(bool report) {
    if (Player()) Player()->SetFullMana(report);
}

void CScriptPlayer::AddFame(i32 value) {
    if (Player()) Player()->AddFame(value);
}

void CScriptPlayer::ClearCrime() {
    if (Player()) Player()->ClearCrime();
}

void CScriptPlayer::AddCrime(i32 value) {
    if (Player()) Player()->AddCrime(value);
}
