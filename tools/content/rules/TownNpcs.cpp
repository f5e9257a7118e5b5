#include "tools/content/rules/TownNpcs.h"

#include "tools/content/WorldScripts.h"

// Named, not anonymous: the tests compile the builder's sources into one unit.
namespace town_npcs {

// Service flag bits of the NPC record.
constexpr int kBuySell = 0x01, kTraining = 0x02, kEnchant = 0x04, kRepair = 0x08, kSleep = 0x20,
              kCards = 0x40;
// "Talk" and four services fill the five places before "Leave".
constexpr int kMenuPlaces = 5;

LineDef Say(const std::string& text, std::vector<std::string> answers = {}) {
    LineDef l;
    l.text = text;
    for (size_t i = 0; i < answers.size() && i < 4; ++i) {
        l.choices[i].present = true;
        l.choices[i].text = answers[i];
    }
    return l;
}

DialogueEntryDef Entry(const std::string& name, const std::string& title, const std::string& prompt,
                       std::vector<LineDef> lines) {
    DialogueEntryDef e;
    e.name = name;
    e.textA = title;
    e.textB = prompt;
    e.lines = std::move(lines);
    return e;
}

NpcDef Person(const std::string& id, const std::string& portrait, const std::string& profile,
              const std::string& welcome, int services) {
    NpcDef n;
    n.id = id;
    n.texts[0] = portrait;
    n.texts[1] = profile;
    n.texts[2] = welcome;
    n.bytes[2] = services;
    n.hasDialogue = true;
    return n;
}

// Condition kinds and the "equals" operator of stored conditions.
constexpr int kKindAnswer = 2, kKindHasQuest = 42, kKindQuestSolved = 43, kEquals = 1;

// The line is spoken after the answer of that number (1 the first answer of the line before).
LineDef Answered(int answer, LineDef line) {
    line.conditionPresent[0] = true;
    line.conditions[0].word = answer;
    line.conditions[0].bytes[0] = kKindAnswer;
    line.conditions[0].bytes[1] = kEquals;
    return line;
}

}  // namespace town_npcs

using namespace town_npcs;

ConditionDef QuestHeld(const std::string& questId) {
    ConditionDef c;
    c.name = questId;
    c.word = 1;
    c.bytes[0] = kKindHasQuest;
    c.bytes[1] = kEquals;
    return c;
}

ConditionDef QuestNotSolved(const std::string& questId) {
    ConditionDef c;
    c.name = questId;
    c.word = 0;
    c.bytes[0] = kKindQuestSolved;
    c.bytes[1] = kEquals;
    return c;
}

void AddTownNpcs(std::vector<NpcDef>& npcs) {
    // The talker: no services and no profile, so the talk screen opens at once with "Goodbye".
    NpcDef talker = Person("Tamsin", "bres_npc_tamsin", "", "", 0);
    talker.dialogue.greetings = {
        Entry("base_npc_shepherd_hello", "Greeting", "", {Say("Oh! A traveller. Good.")})};
    talker.dialogue.topics = {
        Entry("base_npc_shepherd_news", "News", "What is the news?",
              {Say("Wolves came down from the ridge again."), Say("Three nights running now.")}),
        Entry("base_npc_shepherd_wolves", "The wolves", "Can I help with the wolves?",
              {Say("Would you? Their den is in the cave past the old mill. Will you clear it?",
                   {"I will clear the den.", "Not today."}),
               Answered(1, Say("May the road be kind to you. Come back when it is done.")),
               Answered(2, Say("Another day, then. Keep to the roads after dusk."))}),
    };
    npcs.push_back(talker);

    // The innkeeper: a profile and the Sleep service (the inn).
    NpcDef inn = Person("Maren", "bres_npc_maren", "base_npc_elder",
                        "Welcome to the Drowsy Heron! A bed, a meal, a fire.", kSleep | kCards);
    inn.bytes[1] = 6;  // price level: the rent is five times it
    inn.maxBet = 50;
    inn.dialogue.greetings = {
        Entry("base_npc_innkeeper_hello", "Greeting", "", {Say("Come in, out of the wind.")})};
    // Her quest: the knocking below the cellar. The line hands it over; the crypt's shrine ends it.
    LineDef knocking = Say("Every night something knocks below my cellar, deeper than any cellar goes. "
                           "There is a ladder down in its side chamber. Would you go and see?");
    knocking.script = content::CompileWorldScript("base_talk_maren_cellar");
    DialogueEntryDef knockingTopic = Entry("base_npc_innkeeper_knocking", "The knocking", "You look tired.",
                                           {knocking});
    knockingTopic.hasCondition = true;
    knockingTopic.condition = QuestNotSolved(content::kCellarQuestId);
    inn.dialogue.topics = {Entry("base_npc_innkeeper_rooms", "Rooms", "Do you have a room?",
                                 {Say("Clean beds and a hot supper. Ask for Sleep when you are tired.")}),
                           knockingTopic};
    npcs.push_back(inn);

    // The trainer: his service brings up the services menu, which greets with his welcome; with no
    // profile his talk shows the service again as a link.
    NpcDef trainer = Person("Aldo", "bres_npc_aldo", "", "Guard up, feet apart. A lesson?", kTraining);
    trainer.trainerSkill = 1;
    trainer.bytes[4] = 40;  // trains up to 40
    trainer.dialogue.greetings = {
        Entry("base_npc_trainer_hello", "Greeting", "", {Say("Feet apart. Again.")})};
    npcs.push_back(trainer);

    // The smith: repairs and trades.
    NpcDef smith = Person("Corwen", "bres_npc_corwen", "base_npc_elder",
                          "The forge is hot. What needs mending?", kRepair | kBuySell);
    smith.bytes[1] = 12;
    // He sells from the town's stock of blades, maces and helms (the merchant's level), which his
    // bag on the square holds.
    smith.merchantLevel = 3;
    smith.classMask = 0x0003;
    smith.maxPayment = 800;
    smith.dialogue.greetings = {Entry("base_npc_smith_hello", "Greeting", "", {Say("Mind the sparks.")})};
    // The end of the elder's errand: offered while the player carries it and until it is done.
    LineDef letter = Say("You have something for me?");
    letter.conditionPresent[0] = true;
    letter.conditions[0] = QuestHeld(content::kElderQuestId);
    letter.script = content::CompileWorldScript("base_talk_smith_letter");
    DialogueEntryDef letterTopic = Entry("base_npc_smith_letter", "The elder's letter", "", {letter});
    letterTopic.hasCondition = true;
    letterTopic.condition = QuestNotSolved(content::kElderQuestId);
    smith.dialogue.topics = {letterTopic};
    npcs.push_back(smith);

    // The enchanter.
    NpcDef enchanter = Person("Ysolde", "bres_npc_ysolde", "base_npc_elder",
                              "Things hum when they hold power. Do yours?", kEnchant);
    enchanter.bytes[3] = 20;
    enchanter.dialogue.greetings = {Entry("base_npc_enchanter_hello", "Greeting", "", {Say("Hm? Yes?")})};
    npcs.push_back(enchanter);

    // The card player: his one service brings up the services menu with "Cards"; with no profile his
    // talk offers "Cards" among its links too. Bets up to 200.
    NpcDef gambler = Person("Fenn", "bres_npc_fenn", "", "A hand of cards? I play for up to 200.", kCards);
    gambler.maxBet = 200;
    gambler.dialogue.greetings = {Entry("base_npc_cardplayer_hello", "Greeting", "",
                                        {Say("Sit, sit. The cards are warm and so is the ale. A hand?")})};
    gambler.dialogue.topics = {
        Entry("base_npc_cardplayer_rules", "The game", "How is the game played?",
              {Say("We each draw a deck: warrior, sorcerer or necromancer. Five cards in hand, forty hit "
                   "points each."),
               Say("Tap a card to read it, tap it again to lay it down. Whoever falls to nothing loses; the "
                   "winner takes twice the stake.")}),
    };
    npcs.push_back(gambler);

    // The elder, in his garden by the north road: no services and no profile, so the talk screen opens
    // at once. His errand takes a letter to the smith.
    NpcDef elder = Person("Bram", "bres_npc_bram", "", "", 0);
    elder.dialogue.greetings = {
        Entry("base_npc_elder_hello", "Greeting", "", {Say("Ah, a new face on the old road. Welcome to the vale.")})};
    LineDef errand = Say("My legs are not what they were. Would you carry a letter down to the smith for me?");
    errand.script = content::CompileWorldScript("base_talk_elder_errand");
    DialogueEntryDef errandTopic = Entry("base_npc_elder_errand", "An errand", "Can I help you?", {errand});
    errandTopic.hasCondition = true;
    errandTopic.condition = QuestNotSolved(content::kElderQuestId);
    elder.dialogue.topics = {errandTopic,
                             Entry("base_npc_elder_vale", "The vale", "Tell me about the vale.",
                                   {Say("Woods to the north-west, the stony rise to the north-east with the "
                                        "old watch house on it, the marsh and the mill to the south.")})};
    npcs.push_back(elder);
}

std::vector<std::string> NpcServiceWarnings(const std::vector<NpcDef>& npcs) {
    std::vector<std::string> warnings;
    for (const NpcDef& n : npcs) {
        int buttons = 1;  // "Talk"
        for (int flag : {kBuySell, kTraining, kRepair, kEnchant, kSleep, kCards})
            buttons += (n.bytes[2] & flag) ? 1 : 0;
        if (buttons > kMenuPlaces)
            warnings.push_back("NPC " + n.id + " offers " + std::to_string(buttons - 1) +
                               " services; the services menu shows only the first " +
                               std::to_string(kMenuPlaces - 1));
    }
    return warnings;
}
