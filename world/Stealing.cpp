#include "world/Stealing.h"

#include <string>

#include "data/MapSection.h"
#include "world/MapDoors.h"
#include "world/Player.h"

i32 CStealing::StealChance(i32 people) const {
    // The stealth value holds the fortifying effects of the skill.
    const i32 stealth = host_.GetPlayer().GetSkillValue(kSkillStealth);
    const i32 perception = victim_ ? host_.GetCreaturePerception(*victim_) : 0;
    const i32 base = stealth < perception ? 60 : 100;
    return base - 5 * people;
}

const char* CStealing::ChanceWord(i32 chance) {
    if (chance >= 91) return "very good";
    if (chance >= 71) return "good";
    if (chance >= 41) return "average";
    return "slight";
}

void CStealing::OnStealPrompt(CMapSection* section, CMonster* victim, u32 objectWord) {
    section_ = section;
    victim_ = victim;
    objectWord_ = objectWord;
    const i32 people = host_.CountPeopleNearby();
    std::string text = people > 1 ? "There are people around.\r" : "";
    text += "Do you try to steal (chance: ";
    text += ChanceWord(StealChance(people));
    text += ")?";
    host_.ShowPrompt(text.c_str(), 12, 13);
}

void CStealing::TrySteal() {
    if (!victim_) return;
    CPlayer& player = host_.GetPlayer();
    const i32 chance = StealChance(host_.CountPeopleNearby());
    player.CountSkillUse(kSkillStealth);
    const i32 roll = static_cast<i32>(host_.Random(100));
    if (roll < chance) {
        CItemBag* bag = section_ && victim_->bagId ? section_->bags.FindBagById(victim_->bagId) : nullptr;
        if (!bag || bag->GetItemCount() == 0) {
            host_.PostMessageEvent("There's nothing to steal!", 1);
            return;
        }
        const i32 pick = static_cast<i32>(host_.Random(bag->GetItemCount()));
        CItemInstance* item = bag->items.RemoveAt<CItemInstance>(pick);
        if (!item) return;
        std::string text = "You have stolen ";
        text += item->type ? CPlayer::FormatItemPhrase(*item->type, 1) : std::string("something");
        text += ".";
        host_.PostMessageEvent(text.c_str(), 1);
        player.TakeItem(item);
        return;
    }
    host_.PostMessageEvent("You failed!", 1);
    // The player reports "You have committed a crime." itself, and the fame it loses.
    player.AddCrime(2);
    player.AddFame(-2);
    host_.AlertStealVictim(*victim_);
}
