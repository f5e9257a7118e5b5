#include "world/Player.h"

#include <algorithm>
#include <cstring>

#include "core/Random.h"
#include "data/CharacterTables.h"
#include "data/ItemType.h"
#include "world/TradeBonus.h"

namespace {

struct ListKindOf {
    u8 refId;
    u8 kind;
    const char* name;
};

constexpr ListKindOf kListKinds[] = {
    {1, kListFortifySkill, "Fortify skill"},
    {2, kListFortifyAttribute, "Fortify attribute"},
    {5, kListFortifyHp, "Fortify hp"},
    {8, kListFortifyUnholy, "Fortify unholy"},
    {10, kListFortifyMana, "Fortify mana"},
    {11, kListFortifyAc, "Fortify ac"},
    {15, kListResistPoison, "Resist poison"},
    {16, kListResistParalysis, "Resist paralysis"},
    {17, kListResistDisease, "Resist disease"},
    {20, kListFeather, "Feather"},
    {22, kListResistMagic, "Resist magic"},
    {33, kListResistDiseases, "Resist diseases"},
    {34, kListResistSpell, "Resist spell"},
    {35, kListFortifySpell, "Fortify spell"},
    {36, kListFortifyMagic, "Fortify magic"},
    {38, kListFortifyMelee, "Fortify melee"},
    {39, kListMagicImmunity, "Magic immunity"},
    {42, kListDetectSecrets, "Detect secrets"},
    {57, kListAlcoholic, "Alcoholic"},
    {58, kListFortifyOutfit, "Fortify outfit"},
    {28, kListParalysis, "Paralysis"},
    {27, kListCurse, "Curse"},
    {26, kListPoison, "Poison"},
    {25, kListDamage, "Damage"},
};

// A strength beyond +-100 is a coded percentage: only the part beyond counts.
int BeyondHundred(int strength) {
    if (strength > 100) return strength - 100;
    if (strength < -100) return strength + 100;
    return strength;
}

const char* Word(i64 n) { return n >= 0 ? "increased" : "decreased"; }

// A message around a world text, whatever the text's length.
std::string Around(const char* before, const char* text, const char* after) {
    return std::string(before) + (text ? text : "") + after;
}

}  // namespace

CPlayer::CPlayer() {
    BuildXpTable();
    xpForNextLevel = xpTable[2];
    for (const ListKindOf& k : kListKinds) {
        effectListOfKind[k.refId] = k.kind;
        effectListNames[k.kind] = k.name;
    }
    effectListNames[0] = "";
    effectListNames[kEffectListCount + 1] = nullptr;
}

CPlayer::~CPlayer() = default;

void CPlayer::ForgetWorld() {
    for (auto& list : spellsBySchool) list.clear();
    abilities.clear();
    diseases.clear();
    for (CItemInstance*& slot : equipment) slot = nullptr;
    items.clear();
    RemoveAllEffects();
    rules_ = nullptr;
}

void CPlayer::ResetToDefaults() {
    // Everything that points into world records goes first, open world or not.
    for (auto& list : spellsBySchool) list.clear();
    abilities.clear();
    diseases.clear();
    for (CItemInstance*& slot : equipment) slot = nullptr;
    items.clear();
    RemoveAllEffects();
    quests.clear();
    marks.clear();
    readTexts.clear();
    if (!rules_) return;
    name = "Player";
    portrait = "bres_head34";
    gender = 1;
    hp = 100;
    mana = 100;
    level = 1;
    xp = xpHighWater = savedXp = 0;
    BuildXpTable();
    xpForNextLevel = xpTable[2];
    gold = 100;
    levelGainFlag = 0;
    for (int a = 1; a <= kPlayerAttributeCount; ++a) {
        attributes[a] = 15;
        attributeRaises[a] = 0;
    }
    attributePoints = 0;
    for (int i = 0; i < kPlayerSkillCount; ++i) skillOrder[i] = static_cast<u8>(i + 1);
    skillPoints = 0;
    for (int s = 1; s <= kPlayerSkillCount; ++s) {
        skills[s] = 10;
        skillRaises[s] = 0;
        skillUse[s] = 0;
    }
    fame = 0;
    crime = 0;
    race = 2;
}

// ---- derived values ----

int CPlayer::SumEffects(int kind, int target, const char* name, bool* modified) const {
    if (kind < 1 || kind > kEffectListCount) return 0;
    int sum = 0;
    bool counted = false;
    for (const CActiveEffect& e : effects[kind]) {
        switch (kind) {
        case kListFortifySkill:
        case kListFortifyAttribute:
            if (e.target != target) continue;
            sum += e.strength;
            break;
        case kListResistPoison:
        case kListResistParalysis:
        case kListResistMagic:
        case kListResistDiseases:
        case kListFortifyMagic:
        case kListFortifyMelee: sum += BeyondHundred(e.strength); break;
        case kListResistDisease:
        case kListResistSpell:
        case kListFortifySpell:
            if (!name || !e.name || *e.name != name) continue;
            sum += BeyondHundred(e.strength);
            break;
        case kListMagicImmunity:
        case kListDetectSecrets:
        case kListParalysis:
        case kListCurse: sum = 1; break;
        default: sum += e.strength; break;
        }
        counted = true;
    }
    if (modified && counted && kind != kListPoison && kind != kListDamage) *modified = true;
    return sum;
}

int CPlayer::GetDrunkenness() const {
    int d = 0;
    for (const CActiveEffect& e : effects[kListAlcoholic]) d += e.strength - 100;
    return d;
}

bool CPlayer::IsDrunk() const {
    return GetDrunkenness() > 2 * EffectiveAttribute(kEndurance, false, nullptr);
}

int CPlayer::DrinkAdjustment(int attribute) const {
    int d = GetDrunkenness();
    if (d == 0) return 0;
    bool drunk = IsDrunk();
    if (attribute == kStrength || attribute == kEndurance) return drunk ? d / 8 + 1 : d / 10 + 1;
    return -(drunk ? d / 5 + 1 : d / 10 + 1);
}

int CPlayer::EffectiveAttribute(int attribute, bool withDrink, bool* modified) const {
    int value = attributes[attribute] + SumEffects(kListFortifyAttribute, attribute, nullptr, modified);
    if (withDrink) {
        int adjust = DrinkAdjustment(attribute);
        if (adjust != 0 && modified) *modified = true;
        value += adjust;
    }
    return std::max(value, 1);
}

int CPlayer::GetAttributeValue(int attribute, bool* modified, int* base, bool withDrink) const {
    if (attribute < 1 || attribute > kPlayerAttributeCount) return 0;
    if (base) *base = attributes[attribute];
    return EffectiveAttribute(attribute, withDrink, modified);
}

int CPlayer::GetAttributeValue(int attribute) const {
    return GetAttributeValue(attribute, nullptr, nullptr, false);
}

int CPlayer::GetBaseAttributeValue(int attribute) const {
    return attribute >= 1 && attribute <= kPlayerAttributeCount ? attributes[attribute] : 0;
}

int CPlayer::GetSkillValue(int skill) const { return GetSkillDetails(skill, nullptr, nullptr); }

int CPlayer::GetSkillDetails(int skill, int* base, bool* modified) const {
    if (skill < 1 || skill > kPlayerSkillCount || skill == MissingSkill()) return 0;
    if (base) *base = skills[skill];
    return skills[skill] + SumEffects(kListFortifySkill, skill, nullptr, modified);
}

bool CPlayer::CanRaiseSkill(int skill) const {
    if (skill < 1 || skill > kPlayerSkillCount || skill == MissingSkill()) return false;
    const CSkillEntry* entry = rules_ && rules_->skills ? rules_->skills->GetEntry(skill) : nullptr;
    int attribute = entry ? entry->attribute : 0;
    return skills[skill] < 2 * GetBaseAttributeValue(attribute);
}

int CPlayer::GetMaxHp(bool* modified) const {
    int e = attributes[kEndurance] + SumEffects(kListFortifyAttribute, kEndurance, nullptr, modified);
    int adjust = DrinkAdjustment(kEndurance);
    if (adjust != 0 && modified) *modified = true;
    e += adjust;
    int fortify = SumEffects(race == 1 ? kListFortifyUnholy : kListFortifyHp, 0, nullptr, modified);
    return std::max(1, e) * 4 + fortify;
}

int CPlayer::GetMaxMana(bool* modified) const {
    int i = attributes[kIntelligence] + SumEffects(kListFortifyAttribute, kIntelligence, nullptr, modified);
    int adjust = DrinkAdjustment(kIntelligence);
    if (adjust != 0 && modified) *modified = true;
    i += adjust;
    return std::max(1, i) * 5 + SumEffects(kListFortifyMana, 0, nullptr, modified);
}

static int Percent(int value, int maximum) {
    if (maximum <= 0) return 0;
    return std::min(100, static_cast<int>(static_cast<i64>(value) * 100 / maximum));
}

int CPlayer::GetHpPercent() const { return Percent(hp, GetMaxHp()); }
int CPlayer::GetManaPercent() const { return Percent(mana, GetMaxMana()); }

int CPlayer::GetArmorClass(bool* modified, int shieldFactor) const {
    i64 heavy = 0, light = 0;
    for (int slot = 1; slot <= kEquipmentSlotCount; ++slot) {
        const CItemInstance* item = equipment[slot];
        if (slot == 12 || !item || !item->type) continue;
        const CItemType& t = *item->type;
        i64 value = static_cast<i64>(t.GetArmourClass(item->count)) * (t.subclass == 1 ? shieldFactor : 1);
        if (t.itemClass == kItemHeavyArmour)
            heavy += value;
        else if (t.itemClass == kItemLightArmour)
            light += value;
    }
    i64 result = ScaleBySkill(heavy, GetSkillValue(kSkillHeavyArmor)) +
                 ScaleBySkill(light, GetSkillValue(kSkillLightArmor));
    bool drinkShare = false;
    result += EffectiveAttribute(kDexterity, true, &drinkShare) / 10;
    if (modified && DrinkAdjustment(kDexterity) != 0) *modified = true;
    result += SumEffects(kListFortifyAc, 0, nullptr, modified);
    return static_cast<int>(std::clamp<i64>(result, INT32_MIN, INT32_MAX));
}

u32 CPlayer::GetCarriedWeight() const {
    u64 weight = 0;
    for (const auto& item : items)
        if (item->type) weight += item->type->weight;
    return static_cast<u32>(std::min<u64>(weight, UINT32_MAX));
}

int CPlayer::GetCarryCapacity() const {
    int s = EffectiveAttribute(kStrength, true, nullptr);
    int d = EffectiveAttribute(kDexterity, true, nullptr);
    int e = EffectiveAttribute(kEndurance, true, nullptr);
    return (s * 5 + (d + e * 2) * 2 + SumEffects(kListFeather, 0, nullptr, nullptr)) * 100;
}

int CPlayer::GetOutfit(bool* modified) const {
    i64 sum = 0;
    for (int slot = 1; slot <= kEquipmentSlotCount; ++slot) {
        const CItemInstance* item = equipment[slot];
        if (slot == 12 || !item || !item->type) continue;
        sum += static_cast<i64>(item->type->GetOutfitPoints(item->count)) * (slot == 4 ? 20 : 8);
    }
    i64 total = sum / 10 + SumEffects(kListFortifyOutfit, 0, nullptr, modified);
    int d = GetDrunkenness();
    if (d != 0) {
        total -= total * d / 100;
        if (modified) *modified = true;
    }
    return static_cast<int>(std::clamp<i64>(total, 1, INT32_MAX));
}

const char* CPlayer::OutfitWord(int outfit) {
    if (outfit < 11) return "threadbare";
    if (outfit < 21) return "shabby";
    if (outfit < 41) return "plain";
    if (outfit < 61) return "regular";
    if (outfit < 81) return "dressy";
    if (outfit < 91) return "well dressed";
    if (outfit < 96) return "fashionable";
    return "swell";
}

const char* CPlayer::FameTitle(int fame) {
    if (fame >= 100) return "Saint";
    if (fame >= 80) return "Blessed";
    if (fame >= 50) return "Blameless";
    if (fame >= 20) return "Virtuous";
    if (fame >= 1) return "Good";
    if (fame == 0) return "Neutral";
    if (fame <= -100) return "Demonic";
    if (fame <= -80) return "Pure evil";
    if (fame <= -50) return "Evil";
    if (fame <= -20) return "Corrupt";
    return "Immoral";
}

bool CPlayer::HasSeriousDisease() const {
    for (const CDisease* d : diseases)
        for (int i = 0; i < d->effects.Count(); ++i)
            if (d->effects.At(i)->kind == kEffectDamageAll) return true;
    return false;
}

int CPlayer::GetTradeBonus() const {
    CTradeSkills skills;
    skills.persuade = GetSkillValue(kSkillPersuade);
    skills.mercantile = GetSkillValue(kSkillMercantile);
    // Personality with its effects; the drink's penalty is the trade rule's own.
    skills.personality = GetAttributeValue(kPersonality, nullptr, nullptr, false);
    skills.drunkenness = GetDrunkenness();
    skills.drunk = IsDrunk();
    return ComputeTradeBonus(skills);
}

u32 CPlayer::AdjustPrice(u32 price, bool playerPays) const {
    return ::AdjustPrice(price, GetTradeBonus(), playerPays ? TradeSide::PlayerBuys : TradeSide::PlayerSells);
}

int CPlayer::GetMagicResistance(bool* modified) const {
    int r = EffectiveAttribute(kIntelligence, true, modified) / 2 +
            SumEffects(kListResistMagic, 0, nullptr, modified);
    return std::min(r, 100);
}

int CPlayer::GetPoisonResistance(bool* modified) const {
    int r = EffectiveAttribute(kEndurance, true, modified) / 2 +
            SumEffects(kListResistPoison, 0, nullptr, modified);
    return std::min(r, 100);
}

int CPlayer::GetParalysisResistance(bool* modified) const {
    int r = EffectiveAttribute(kIntelligence, true, modified) / 5 +
            EffectiveAttribute(kEndurance, true, modified) / 5 +
            EffectiveAttribute(kPersonality, true, modified) / 5 +
            SumEffects(kListResistParalysis, 0, nullptr, modified);
    return std::min(r, 100);
}

int CPlayer::GetDiseaseResistance(bool* modified) const {
    int r = EffectiveAttribute(kEndurance, true, modified) / 2 +
            SumEffects(kListResistDiseases, 0, nullptr, modified);
    return std::min(r, 100);
}

int CPlayer::GetSpecificDiseaseResistance(const char* name) const {
    int general = GetDiseaseResistance();
    int specific =
        EffectiveAttribute(kEndurance, true, nullptr) / 2 + SumEffects(kListResistDisease, 0, name, nullptr);
    return std::min(std::max(general, specific), 100);
}

const CPlayerQuest* CPlayer::FindQuest(const char* id) const {
    for (const CPlayerQuest& q : quests)
        if (id && q.id == id) return &q;
    return nullptr;
}

CPlayerQuest* CPlayer::FindQuest(const char* id) {
    return const_cast<CPlayerQuest*>(static_cast<const CPlayer*>(this)->FindQuest(id));
}

bool CPlayer::IsQuestSolved(const char* id) const {
    const CPlayerQuest* q = FindQuest(id);
    return q && (q->state & 1);
}

bool CPlayer::IsQuestFailed(const char* id) const {
    const CPlayerQuest* q = FindQuest(id);
    return q && (q->state & 2);
}

bool CPlayer::KnowsSpell(const char* id) const {
    if (!id) return false;
    for (const auto& list : spellsBySchool)
        for (const CSpell* s : list)
            if (std::strcmp(s->GetName() ? s->GetName() : "", id) == 0) return true;
    return false;
}

bool CPlayer::KnowsSpell(const CSpell& spell) const {
    if (spell.school >= kSpellSchoolCount) return false;
    const auto& list = spellsBySchool[spell.school];
    return std::find(list.begin(), list.end(), &spell) != list.end();
}

template <class T>
static bool HoldsById(const std::vector<const T*>& list, const char* id) {
    for (const T* r : list)
        if (id && r->GetName() && std::strcmp(r->GetName(), id) == 0) return true;
    return false;
}

bool CPlayer::HasAbility(const char* id) const { return HoldsById(abilities, id); }

bool CPlayer::IsDiseased(const char* id) const {
    if (!id || !*id) return !diseases.empty();
    return HoldsById(diseases, id);
}

int CPlayer::CountItems(const char* id) const {
    int n = 0;
    for (const auto& item : items)
        if (id && item->type && item->type->GetName() && std::strcmp(item->type->GetName(), id) == 0) ++n;
    return n;
}

bool CPlayer::HasEnchantableItem() const {
    for (const auto& item : items) {
        const CItemType* t = item->type;
        if (!t || item->effects || t->effects || t->enchantCapacity == 0) continue;
        if (std::find(std::begin(equipment), std::end(equipment), item.get()) != std::end(equipment))
            continue;
        if ((t->itemClass >= 1 && t->itemClass <= 4) ||
            (t->itemClass == kItemMagic && (t->subclass == 3 || t->subclass == 5)))
            return true;
    }
    return false;
}

bool CPlayer::HasFoodIngredients() const {
    bool first = false, second = false;
    for (const auto& item : items) {
        const CItemType* t = item->type;
        if (!t || t->itemClass != kItemComestible || ((t->flags & 0x08) && race != 1)) continue;
        first |= t->subclass == 1;
        second |= t->subclass == 2;
    }
    return first && second;
}

bool CPlayer::IsSpellSchoolAllowed(int school) const { return race == 1 ? school != 1 : school != 5; }

bool CPlayer::CanUseSpellBook(const char* id) const {
    const CSpell* spell = rules_ && rules_->spells ? rules_->spells->FindById(id) : nullptr;
    return spell && IsSpellSchoolAllowed(spell->school);
}

bool CPlayer::CanUseWand(const CItemType& type, const CItemInstance* item) const {
    const CEffectList* list = item ? item->GetEffects() : type.effects;
    if (!list) return true;
    for (int i = 0; i < list->Count(); ++i) {
        const CEffect& e = *list->At(i);
        if (e.kind != kEffectCastSpell) continue;
        const CSpell* spell = rules_ && rules_->spells ? rules_->spells->FindById(e.id) : nullptr;
        if (spell && !IsSpellSchoolAllowed(spell->school)) return false;
    }
    return true;
}

bool CPlayer::HasReadBook(const char* id) const {
    return id && std::find(readTexts.begin(), readTexts.end(), id) != readTexts.end();
}

// ---- value changers ----

void CPlayer::Report(bool report) {
    if (report && host_) host_->ShowGameMessage(message.GetText());
}

void CPlayer::Post(const char* text, const char* sound) {
    if (host_) host_->PostMessageEvent(text, sound);
}

void CPlayer::UpdateHpGauge() {
    if (host_) host_->SetHpGauge(GetHpPercent());
}

void CPlayer::UpdateManaGauge() {
    if (host_) host_->SetManaGauge(GetManaPercent());
}

void CPlayer::SetHp(int value, bool report) {
    hp = static_cast<u16>(std::clamp(value, 0, 65535));
    UpdateHpGauge();
    message.Format("Your hp is %ld.", static_cast<long>(value));
    Report(report);
}

// Applies n to a value kept within 0..maximum and returns the change that was applied.
static int AddBounded(u16& value, int n, int maximum) {
    int applied = 0;
    if (n < 0) {
        applied = value < -n ? -static_cast<int>(value) : n;
    } else if (value < maximum) {
        applied = std::min(n, maximum - value);
    }
    value = static_cast<u16>(value + applied);
    return applied;
}

// Hit points and mana change alike: a loss stops at 0, a gain at the maximum, and the applied change
// is what is reported.
int CPlayer::AddToPool(u16& value, int n, int maximum, const char* what, bool report) {
    int applied = AddBounded(value, n, maximum);
    &value == &hp ? UpdateHpGauge() : UpdateManaGauge();
    message.Format("Your %s has been %s by %ld.", what, Word(n), static_cast<long>(std::abs(applied)));
    Report(report);
    return applied;
}

void CPlayer::FillPool(u16& value, int maximum, const char* text, bool report) {
    if (value < maximum) value = static_cast<u16>(std::min(maximum, 65535));
    &value == &hp ? UpdateHpGauge() : UpdateManaGauge();
    message.Assign(text);
    Report(report);
}

int CPlayer::AddHp(int n, bool report) { return AddToPool(hp, n, GetMaxHp(), "hp", report); }

void CPlayer::SetFullHp(bool report) {
    FillPool(hp, GetMaxHp(), "Your full health has been restored.", report);
}

void CPlayer::SetMana(int value, bool report) {
    mana = static_cast<u16>(std::clamp(value, 0, 65535));
    UpdateManaGauge();
    message.Format("Your mana is %ld.", static_cast<long>(value));
    Report(report);
}

int CPlayer::AddMana(int n, bool report) { return AddToPool(mana, n, GetMaxMana(), "mana", report); }

void CPlayer::SetFullMana(bool report) {
    FillPool(mana, GetMaxMana(), "Your full mana has been restored.", report);
}

void CPlayer::AddGold(i64 n, bool report, bool found) {
    gold = static_cast<u32>(std::clamp<i64>(static_cast<i64>(gold) + n, 0, kMaxGold));
    message.Format("You have %s %ld%c.", found ? "found" : "received", static_cast<long>(n), 9);
    Report(report);
}

void CPlayer::RemoveGold(i64 n, bool report) {
    gold = static_cast<u32>(std::clamp<i64>(static_cast<i64>(gold) - n, 0, kMaxGold));
    message.Format("You have lost %ld%c.", static_cast<long>(n), 9);
    Report(report);
}

int CPlayer::AddAttributeValue(int attribute, int n, bool report) {
    if (attribute < 1 || attribute > kPlayerAttributeCount) return 0;
    n = std::clamp(n, -10, 10);
    int value = attributes[attribute];
    int next = std::min(value + n, 65535);
    if (n < 0) next = std::max(next, std::min(value, 1));
    int applied = next - value;
    attributes[attribute] = static_cast<u16>(next);
    if (applied != 0) {
        const char* name = rules_ && rules_->attributes ? rules_->attributes->GetName(attribute) : "";
        message.Assign(Around("Your ", name,
                              (std::string(" has been ") + Word(applied) + " by " +
                               std::to_string(std::abs(applied)) + ".")
                                  .c_str())
                           .c_str());
        Report(report);
    }
    return applied;
}

int CPlayer::AddSkillValue(int skill, int n, bool report) {
    if (skill < 1 || skill > kPlayerSkillCount || skill == MissingSkill()) return 0;
    int value = skills[skill];
    int next = static_cast<int>(std::clamp<i64>(static_cast<i64>(value) + n, 0, kMaxSkillValue));
    int applied = next - value;
    skills[skill] = static_cast<u16>(next);
    const char* name = rules_ && rules_->skills ? rules_->skills->GetName(skill) : nullptr;
    message.Assign(
        Around("Your ", name,
               (std::string(" skill has been ") + Word(n) + " by " + std::to_string(std::abs(applied)) + ".")
                   .c_str())
            .c_str());
    Report(report);
    return applied;
}

bool CPlayer::SkillInClass(int skill) const {
    for (int i = 0; i < 6; ++i)
        if (skillOrder[i] == skill) return true;
    return false;
}

int CPlayer::RaiseSkill(int skill) {
    if (skill < 1 || skill > kPlayerSkillCount) return 0;
    int cost = SkillInClass(skill) ? 1 : 2;
    skills[skill] = static_cast<u16>(std::min(skills[skill] + 1, kMaxSkillValue));
    if (skillRaises[skill] > 0) --skillRaises[skill];
    skillPoints = static_cast<u16>(std::max(0, skillPoints - cost));
    return cost;
}

bool CPlayer::LearnSpell(const char* id, bool report) {
    const CSpell* spell = rules_ && rules_->spells ? rules_->spells->FindById(id) : nullptr;
    if (!spell || spell->school >= kSpellSchoolCount) return false;
    if (!IsSpellSchoolAllowed(spell->school)) {
        message.Assign(Around("You can't learn the ", spell->GetDisplayName(), " spell.").c_str());
        Report(report);
        return false;
    }
    if (KnowsSpell(*spell)) return false;
    spellsBySchool[spell->school].push_back(spell);
    message.Assign(Around("You have received the ", spell->GetDisplayName(), " knowledge.").c_str());
    Report(report);
    return true;
}

void CPlayer::LearnSpell(const CSpell& spell) {
    if (spell.school < kSpellSchoolCount && !KnowsSpell(spell))
        spellsBySchool[spell.school].push_back(&spell);
}

void CPlayer::ForgetSpell(const char* id) {
    for (auto& list : spellsBySchool)
        for (auto it = list.begin(); it != list.end(); ++it)
            if (id && (*it)->GetName() && std::strcmp((*it)->GetName(), id) == 0) {
                message.Assign(Around("You have lost the ", (*it)->GetDisplayName(), " knowledge.").c_str());
                list.erase(it);
                Report(true);
                return;
            }
}

void CPlayer::AddQuest(const char* id, const char* title) {
    if (!id || !title || FindQuest(id)) return;
    quests.push_back({id, 0});
    message.Assign(Around("You have a new quest: ", title, ".").c_str());
    Report(true);
}

void CPlayer::SetQuestState(const char* id, u8 state, const char* title) {
    for (CPlayerQuest& q : quests)
        if (id && q.id == id) {
            q.state = state;
            message.Assign(Around("The ", title ? title : id,
                                  state == 1 ? " quest has been solved." : " quest has failed.")
                               .c_str());
            Report(true);
            return;
        }
}

void CPlayer::RemoveQuest(const char* id, const char* title) {
    for (auto it = quests.begin(); it != quests.end(); ++it)
        if (id && it->id == id) {
            quests.erase(it);
            if (title) {
                message.Assign(Around("The ", title, " quest has been removed.").c_str());
                Report(true);
            }
            return;
        }
}

void CPlayer::AddAbility(const char* id, bool report) {
    const CAbility* ability = rules_ && rules_->abilities ? rules_->abilities->FindById(id) : nullptr;
    if (!ability || HasAbility(id)) return;
    abilities.push_back(ability);
    ReapplyAbilityEffects();
    message.Assign(Around("You have gained the ", ability->GetDisplayName(), " ability.").c_str());
    Report(report);
}

template <class T>
const char* CPlayer::TakeById(std::vector<const T*>& list, const char* id) {
    for (auto it = list.begin(); it != list.end(); ++it)
        if (id && (*it)->GetName() && std::strcmp((*it)->GetName(), id) == 0) {
            const char* display = (*it)->GetDisplayName();
            list.erase(it);
            return display;
        }
    return nullptr;
}

void CPlayer::RemoveAbility(const char* id) {
    const char* display = TakeById(abilities, id);
    if (!display) return;
    ReapplyAbilityEffects();
    message.Assign(Around("You have lost the ", display, " ability.").c_str());
    Report(true);
}

void CPlayer::InfectDisease(const char* id) {
    const CDisease* disease = rules_ && rules_->diseases ? rules_->diseases->FindById(id) : nullptr;
    if (!disease || IsDiseased(id)) return;
    diseases.push_back(disease);
    ReapplyDiseaseEffects();
    message.Assign(Around("You have been infected by ", disease->GetDisplayName(), ".").c_str());
    Report(true);
}

void CPlayer::CureDisease(const char* id) {
    const char* display = TakeById(diseases, id);
    if (!display) return;
    ReapplyDiseaseEffects();
    message.Assign(Around("You have been cured of ", display, ".").c_str());
    Report(true);
}

void CPlayer::AddFame(int n) {
    fame = static_cast<i16>(std::clamp(fame + n, -100, 100));
    message.Format("Your fame has been %s.", Word(n));
    Report(true);
}

void CPlayer::AddCrime(int n) {
    crime = static_cast<u32>(std::clamp<i64>(static_cast<i64>(crime) + n, 0, 1000));
    if (n >= 1)
        message.Assign("You have committed a crime.");
    else if (crime != 0)
        message.Assign("Your criminal status has lessened.");
    else
        message.Assign("Your crime records have been cleared.");
    Report(true);
}

void CPlayer::ClearCrime() {
    if (crime == 0) return;
    crime = 0;
    message.Assign("Your crime records have been cleared.");
    Report(true);
}

const CItemType* CPlayer::FindType(const char* id) const {
    return rules_ && rules_->items && id ? rules_->items->FindItemType(id) : nullptr;
}

std::string CPlayer::FormatItemPhrase(const CItemType& type, int count) {
    std::string name = type.name ? type.name : (type.GetName() ? type.GetName() : "");
    std::string n = std::to_string(count);
    auto one = [&](const char* singular, const char* plural, bool quoted) {
        std::string q = quoted ? "'" + name + "'" : name;
        return count == 1 ? std::string(singular) + " " + q : n + " " + plural + " " + q;
    };
    switch (type.itemClass) {
    case kItemMoney: return std::to_string(type.value) + '\x09';
    case kItemBook:
        if (type.subclass == 1) return one("a book of", "books of", true);
        break;
    case kItemPotion: return one("a potion of", "potions of", false);
    case kItemGem:
        if (count == 1)
            return std::string(!name.empty() && std::strchr("aeiouAEIOU", name[0]) ? "an " : "a ") + name +
                   " gem";
        return n + " " + name + " gems";
    case kItemMagic:
        if (type.subclass == 1) return one("a scroll of", "scrolls of", false);
        if (type.subclass == 4) return one("a wand of", "wands of", false);
        if (type.subclass == 2) return one("a spellbook of", "spellbooks of", false);
        break;
    case kItemCard: return one("a card of", "cards of", true);
    default: break;
    }
    return one("an item of", "items of", false);
}

CItemInstance* CPlayer::AddItemCopies(int count, const CItemType& type) {
    CItemInstance* last = nullptr;
    for (int i = 0; i < count; ++i) {
        if (type.itemClass == kItemMoney) {
            gold = static_cast<u32>(std::min<u64>(static_cast<u64>(gold) + type.value, kMaxGold));
            continue;
        }
        items.emplace_back(CreateItemInstance(type, -1, Random()));
        last = items.back().get();
    }
    return last;
}

CItemInstance* CPlayer::FindItem(const char* typeId, int count, bool report) {
    const CItemType* type = FindType(typeId);
    if (!type || count < 1) return nullptr;
    CItemInstance* last = AddItemCopies(count, *type);
    std::string text = "You have found " + FormatItemPhrase(*type, count) + ".";
    message.Assign(text.c_str());
    Report(report);
    return last;
}

CItemInstance* CPlayer::ReceiveItem(const char* typeId, int count, bool report) {
    const CItemType* type = FindType(typeId);
    if (!type || count < 1) return nullptr;
    CItemInstance* last = AddItemCopies(count, *type);
    std::string text = "You have received " + FormatItemPhrase(*type, count) + ".";
    message.Assign(text.c_str());
    Report(report);
    return last;
}

bool CPlayer::RemoveItems(const char* typeId, int count) {
    const CItemType* type = FindType(typeId);
    if (!type || count < 1 || CountItems(typeId) < count) return false;
    for (int removed = 0; removed < count;) {
        auto it =
            std::find_if(items.begin(), items.end(), [&](const auto& item) { return item->type == type; });
        RemoveItem(it->get());
        ++removed;
    }
    std::string text = "You have lost " + FormatItemPhrase(*type, count) + ".";
    message.Assign(text.c_str());
    Report(true);
    return true;
}

void CPlayer::TakeItem(CItemInstance* item) {
    if (!item) return;
    if (item->type && item->type->itemClass == kItemMoney) {
        gold = static_cast<u32>(std::min<u64>(static_cast<u64>(gold) + item->type->value, kMaxGold));
        delete item;
        return;
    }
    items.emplace_back(item);
}

std::unique_ptr<CItemInstance> CPlayer::RemoveItem(CItemInstance* item) {
    UnequipItem(item);
    for (auto it = items.begin(); it != items.end(); ++it)
        if (it->get() == item) {
            std::unique_ptr<CItemInstance> taken = std::move(*it);
            items.erase(it);
            return taken;
        }
    return nullptr;
}

int CPlayer::SlotFor(const CItemType& type, bool secondHand) {
    switch (type.itemClass) {
    case kItemWeapon:
        if (type.subclass == 11 || type.subclass == 13) return 12;
        return secondHand ? 6 : 5;
    case kItemHeavyArmour:
    case kItemLightArmour: {
        static const u8 kSlots[] = {0, 6, 10, 4, 1, 13, 11, 2, 7};
        return type.subclass >= 1 && type.subclass <= 8 ? kSlots[type.subclass] : 0;
    }
    case kItemAccessory:
        if (type.subclass == 2) return secondHand ? 9 : 8;
        return 3;
    default: return 0;
    }
}

void CPlayer::EquipItem(CItemInstance* item, bool secondHand) {
    if (!item || !item->type) return;
    int slot = SlotFor(*item->type, secondHand);
    if (slot == 0) return;
    for (CItemInstance*& s : equipment)
        if (s == item) s = nullptr;
    equipment[slot] = item;
    ReapplyEquipmentEffects();
}

void CPlayer::UnequipItem(CItemInstance* item) {
    bool found = false;
    for (CItemInstance*& s : equipment)
        if (item && s == item) {
            s = nullptr;
            found = true;
        }
    if (found) ReapplyEquipmentEffects();
}

u32 CPlayer::Draw(int n) const {
    CRandom* random = Random();
    return random ? random->Next(n) : 0;
}

// Food that the race may not eat is left out before the draw, so the draw always ends and an empty
// list gives nothing.
CItemInstance* CPlayer::DrawFood(const std::vector<const CItemType*>& candidates) {
    if (candidates.empty()) return nullptr;
    const CItemType* type = candidates[Draw(static_cast<int>(candidates.size()))];
    return AddItemCopies(1, *type);
}

void CPlayer::CreateFood() {
    std::vector<const CItemType*> first, other;
    if (rules_ && rules_->items)
        for (int i = 0; i < rules_->items->GetItemTypeCount(); ++i) {
            const CItemType* t = rules_->items->GetItemType(i);
            if (t->itemClass != kItemComestible || (race != 1 && (t->flags & 0x08))) continue;
            (t->subclass == 1 ? first : other).push_back(t);
        }
    Post("You have created some food.", nullptr);
    DrawFood(first);
    DrawFood(other);
}

void CPlayer::ConsumeFood() {
    for (int subtype : {1, 2})
        for (auto it = items.begin(); it != items.end(); ++it) {
            const CItemType* t = (*it)->type;
            if (t && t->itemClass == kItemComestible && t->subclass == subtype &&
                (race == 1 || !(t->flags & 0x08))) {
                RemoveItem(it->get());
                break;
            }
        }
}

void CPlayer::RememberReadText(const char* name) {
    if (name && !HasReadBook(name)) readTexts.emplace_back(name);
}

// ---- experience and levels ----

void CPlayer::BuildXpTable() {
    static const u32 kFirst[] = {0,       0,       400,     900,     1500,    2500,    4000,    7000,
                                 11000,   17000,   25000,   40000,   60000,   90000,   130000,  180000,
                                 240000,  320000,  420000,  570000,  730000,  920000,  1150000, 1410000,
                                 1700000, 2020000, 2370000, 2750000, 3170000, 3630000, 4130000};
    for (int l = 0; l <= 30; ++l) xpTable[l] = kFirst[l];
    xpTable[31] = 4570000;
    u32 step = 580000, increment = 40000;
    for (int k = 31; k < kMaxLevel; ++k) {
        xpTable[k + 1] = xpTable[k] + step;
        step += increment;
        if (k % 10 == 0) increment += 20000;
    }
}

void CPlayer::PickSkillsToIncrease(int& s1, int& s2, int& s3) {
    int chosen[3] = {0, 0, 0};
    for (int s = 1; s <= kPlayerSkillCount; ++s) {
        if (s == MissingSkill() || skillUse[s] == 0) continue;
        const CSkillEntry* entry = rules_ && rules_->skills ? rules_->skills->GetEntry(s) : nullptr;
        int attribute = entry ? entry->attribute : 0;
        if (skills[s] >= 2 * GetBaseAttributeValue(attribute)) continue;
        for (int place = 0; place < 3; ++place) {
            if (chosen[place] == 0 || skillUse[s] > skillUse[chosen[place]]) {
                for (int j = 2; j > place; --j) chosen[j] = chosen[j - 1];
                chosen[place] = s;
                break;
            }
        }
    }
    for (int s : chosen)
        if (s) {
            skills[s] = static_cast<u16>(std::min(skills[s] + 1, kMaxSkillValue));
            skillUse[s] = 0;
        }
    s1 = chosen[0];
    s2 = chosen[1];
    s3 = chosen[2];
}

void CPlayer::CheckLevel() {
    if (level > 1 && xp < xpTable[level]) {
        --level;
        xpForNextLevel = xpTable[level + 1];
        Post("You have lost a level.", "bsnd_loselevel");
        return;
    }
    if (level >= kMaxLevel || xp < xpForNextLevel) return;
    std::vector<int> raised;
    while (level < kMaxLevel && xp >= xpForNextLevel) {
        ++level;
        // The highest level has no next one: the table ends there.
        xpForNextLevel = level < kMaxLevel ? xpTable[level + 1] : 0;
        if (xpHighWater >= xp) continue;
        attributePoints = static_cast<u16>(attributePoints + 5);
        levelGainFlag = 0;
        for (int a = 1; a <= kPlayerAttributeCount; ++a)
            if (attributeRaises[a] < kMaxRaiseAllowance)
                attributeRaises[a] = static_cast<u16>(attributeRaises[a] + 2);
        skillPoints = static_cast<u16>(skillPoints + 10);
        for (int s = 1; s <= kPlayerSkillCount; ++s) {
            if (s == MissingSkill())
                skillRaises[s] = 0;
            else if (skillRaises[s] < kMaxRaiseAllowance)
                skillRaises[s] = static_cast<u16>(skillRaises[s] + 2);
        }
        int picked[3];
        PickSkillsToIncrease(picked[0], picked[1], picked[2]);
        for (int s : picked)
            if (s && std::find(raised.begin(), raised.end(), s) == raised.end()) raised.push_back(s);
        if (level >= kMaxLevel) break;
    }
    std::string text = "You have reached level " + std::to_string(level) + ".";
    auto skillName = [&](int s) -> std::string {
        const char* n = rules_ && rules_->skills ? rules_->skills->GetName(s) : nullptr;
        return n ? n : "";
    };
    if (!raised.empty()) {
        text += "\r--------------";
        if (raised.size() == 1) {
            text += "\rYour " + skillName(raised[0]) + " skill has been increased.";
        } else {
            text += "\rYour ";
            for (size_t i = 0; i < raised.size(); ++i) {
                if (i > 0) text += i + 1 == raised.size() ? " and " : ", ";
                text += skillName(raised[i]);
            }
            text += " skills have been increased.";
        }
    }
    if (skillPoints != 0 || attributePoints != 0)
        text +=
            "\rYou can spend the available points on your attributes and skills, check your status screen.";
    Post(text.c_str(), "bsnd_newlevel");
}

void CPlayer::AddXp(i32 n, bool report) {
    xp = static_cast<u32>(std::clamp<i64>(static_cast<i64>(xp) + n, 0, UINT32_MAX));
    message.Format("You have %s %ld xp.", n >= 0 ? "received" : "lost",
                   static_cast<long>(n >= 0 ? n : -static_cast<i64>(n)));
    Report(report);
    CheckLevel();
}

void CPlayer::RemoveXp(i32 n, bool restorable) {
    if (n < 1) return;
    xpHighWater = std::max(xpHighWater, xp);
    u32 loss = std::min<u32>(static_cast<u32>(n), xp);
    xp -= loss;
    message.Format("You have lost %ld xp.", static_cast<long>(loss));
    Report(true);
    if (restorable) {
        message.Assign("It can be restored somehow.");
        Report(true);
        savedXp += loss;
    }
    CheckLevel();
}

void CPlayer::RestoreSavedXp() {
    if (savedXp == 0) {
        message.Assign("You don't have xp to be restored.");
        Report(true);
        return;
    }
    message.Format("%ld xp has been restored.", static_cast<long>(savedXp));
    Report(true);
    xp = static_cast<u32>(std::min<u64>(static_cast<u64>(xp) + savedXp, UINT32_MAX));
    savedXp = 0;
}

// ---- mark slots ----

void CPlayer::UpdateMarkSlots() {
    int i = attributes[kIntelligence] + SumEffects(kListFortifyAttribute, kIntelligence, nullptr, nullptr);
    int d = GetDrunkenness();
    if (d != 0) i -= IsDrunk() ? 1 + d / 5 : 1 + d / 10;
    i = std::max(i, 1);
    size_t slots = static_cast<size_t>(std::max(i / 5, 1));
    if (marks.size() < slots) marks.resize(slots);
}

void CPlayer::SetMarkedPosition(int slot, const char* world, const char* map, int x, int y, int facing) {
    if (slot < 0 || static_cast<size_t>(slot) >= marks.size()) return;
    CMarkedPosition& m = marks[static_cast<size_t>(slot)];
    m.world = world ? world : "";
    m.map = map ? map : "";
    m.x = static_cast<u8>(x);
    m.y = static_cast<u8>(y);
    m.facing = static_cast<u8>(facing);
}

bool CPlayer::HasMarkedPosition() const {
    for (const CMarkedPosition& m : marks)
        if (!m.world.empty()) return true;
    return false;
}
