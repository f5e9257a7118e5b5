#include "tools/content/rules/BaseRules.h"
#include "tools/content/rules/TownNpcs.h"
#include "tools/content/rules/NpcPortraits.h"
#include "tools/content/WorldScripts.h"

#include <set>

namespace {

EffectDef E(int kind, int amount, int mode, const std::string& id = "", int target = 0) {
    EffectDef e;
    e.kind = kind;
    e.amount = amount;
    e.mode = mode;
    e.id = id;
    e.target = target;
    return e;
}

EffectDef Timed(EffectDef e, int duration, int amountPerLevel = 0, int durationPerLevel = 0, int radius = 0) {
    e.duration = duration;
    e.amountPerLevel = amountPerLevel;
    e.durationPerLevel = durationPerLevel;
    e.radius = radius;
    return e;
}

// Effect modes.
constexpr int kStrike = 1, kCast = 2, kConstant = 3, kUse = 4;
// Spell target modes, kept in the spell's second small value.
constexpr int kSelf = 1, kTouch = 2, kOther = 3;

SpellDef Spell(const std::string& id, const std::string& name, const std::string& description, int school,
               int cost, int target, std::vector<EffectDef> effects, const std::string& sound) {
    SpellDef s;
    s.id = id;
    s.texts[0] = name;
    s.texts[1] = description;
    s.texts[2] = sound;
    s.value = cost;
    s.base = cost / 4;
    s.factor = cost;
    s.school = school;
    s.value2 = target;
    s.effects = std::move(effects);
    return s;
}

struct ItemMaker {
    ItemCatalogueDef& catalogue;
    ItemDef& Add(const std::string& id, const std::string& name, int itemClass, int subclass,
                 const std::string& picture, uint32_t value, int weight) {
        ItemDef d;
        d.id = id;
        d.name = name;
        d.itemClass = itemClass;
        d.subclass = subclass;
        d.texts[1] = picture;  // text 5: the item's picture
        d.value = value;
        d.weight = weight;
        catalogue.items.push_back(d);
        return catalogue.items.back();
    }
    ItemDef& Weapon(const std::string& id, const std::string& name, int subclass, bool light, int low,
                    int high, uint32_t value, const std::string& picture, const std::string& style) {
        ItemDef& d = Add(id, name, 1, subclass, picture, value, light ? 150 : 400);
        d.damageLow = low, d.damageHigh = high, d.flags = light ? 2 : 0, d.useStyle = style;
        d.outfit = 3, d.enchantCapacity = 100;
        return d;
    }
    ItemDef& Armour(const std::string& id, const std::string& name, int itemClass, int subclass, int ac,
                    uint32_t value, int weight, const std::string& picture) {
        ItemDef& d = Add(id, name, itemClass, subclass, picture, value, weight);
        d.armourClass = ac, d.outfit = 4, d.enchantCapacity = 80;
        if (subclass == 1) d.useStyle = "bres_useshield";
        return d;
    }
    ItemDef& WithEffects(ItemDef& d, std::vector<EffectDef> effects) {
        d.hasEffects = true;
        d.effects = std::move(effects);
        return d;
    }
};

BaseRuleContent MakeBaseRules() {
    BaseRuleContent c;
    c.attributes = {{"base_strength", "Strength", "Str"},
                    {"base_dexterity", "Dexterity", "Dex"},
                    {"base_endurance", "Endurance", "End"},
                    {"base_intelligence", "Intelligence", "Int"},
                    {"base_personality", "Personality", "Per"}};
    const struct {
        const char *id, *full, *medium, *shortName;
        int attribute, group;
        const char* text;
    } skills[] = {
        {"base_block", "Block", "Block", "Block", 2, 9, "Turning blows aside with a shield."},
        {"base_lightweapon", "Light Weapon", "Light Weap", "Light W", 2, 8,
         "Swords, daggers and thrown blades."},
        {"base_heavyweapon", "Heavy Weapon", "Heavy Weap", "Heavy W", 1, 9,
         "Maces, axes, hammers and clubs."},
        {"base_dualwield", "Dual Wield", "Dual Wield", "Dual Wield", 2, 10, "A weapon in each hand."},
        {"base_lightarmor", "Light Armor", "Light Armor", "Light Arm", 2, 9, "Leather, cloth and fur."},
        {"base_heavyarmor", "Heavy Armor", "Heavy Armor", "Heavy Arm", 3, 9, "Mail and plate."},
        {"base_accuracy", "Accuracy", "Accuracy", "Accuracy", 2, 10, "Bows, crossbows and throwing."},
        {"base_healmagic", "Heal Magic", "Heal Magic", "Heal Magic", 4, 11, "Spells that mend the body."},
        {"base_protectionmagic", "Protection Magic", "Prot. Magic", "Prot. Magic", 4, 11,
         "Wards and shields."},
        {"base_attackmagic", "Attack Magic", "Attack Magic", "Attack M", 4, 11, "Fire, frost and lightning."},
        {"base_mindmagic", "Mind Magic", "Mind Magic", "Mind Magic", 5, 11, "Curses and charms."},
        {"base_undeadmagic", "Undead Magic", "Undead Magic", "Undead M", 4, 11, "The craft of the grave."},
        {"base_environmagic", "Environment Magic", "Env. Magic", "Env. Magic", 4, 11,
         "Air, earth and the road."},
        {"base_repair", "Repair", "Repair", "Repair", 2, 9, "Mending arms and armour."},
        {"base_mercantile", "Mercantile", "Mercantile", "Mercantile", 5, 9, "Better prices."},
        {"base_alchemy", "Alchemy", "Alchemy", "Alchemy", 4, 10, "Brewing potions."},
        {"base_persuade", "Persuade", "Persuade", "Persuade", 5, 10, "Talking people round."},
        {"base_lockpick", "Lockpick", "Lockpick", "Lockpick", 2, 9, "Opening locks without keys."},
        {"base_disarm", "Disarm", "Disarm", "Disarm", 4, 9, "Making traps harmless."},
        {"base_stealth", "Stealth", "Stealth", "Stealth", 2, 9, "Moving unseen."},
    };
    for (const auto& s : skills)
        c.skills.push_back({s.id, s.full, s.medium, s.shortName, s.text, s.attribute, s.group});
    c.races = {{"base_creature", "Creature", "", "", ""},
               {"base_rasvim", "Rasvim", "base_ability_rasvim",
                "The risen, who neither eat nor sleep as others do.", ""},
               {"base_etherim", "Etherim", "base_ability_etherim", "Tall folk with a gift for magic.", ""},
               {"base_seiry", "Seiry", "base_ability_seiry", "Quick and quiet people of the woods.", ""},
               {"base_derth", "Derth", "base_ability_derth", "Stout miners of the hills.", ""},
               {"base_nogur", "Nogur", "base_ability_nogur", "Strong and proud people of the plains.", ""}};

    c.abilities = {
        {"base_ability_rasvim", "Grave-born", {E(15, 150, kConstant), E(33, 150, kConstant)}},
        {"base_ability_etherim", "Star-touched", {E(10, 20, kConstant), E(36, 110, kConstant)}},
        {"base_ability_seiry", "Woodwise", {E(1, 10, kConstant, "", 20), E(16, 125, kConstant)}},
        {"base_ability_derth", "Stoneblood", {E(5, 15, kConstant), E(1, 5, kConstant, "", 3)}},
        {"base_ability_nogur", "Plains-strong", {E(2, 5, kConstant, "", 1), E(22, 110, kConstant)}},
    };
    BundleDef plague{"base_disease_plague", "Plague", {E(2, -3, kConstant, "", 3), E(25, -2, kUse)}, 30, 0};
    BundleDef cough{"base_disease_swampcough", "Swamp cough", {E(2, -2, kConstant, "", 1)}, 10, 0};
    c.diseases = {plague, cough};

    c.spells = {
        Spell("base_spellcurelightwounds", "Cure Light Wounds", "Closes small wounds.", 1, 20, kSelf,
              {Timed(E(3, 10, kUse), 0, 20)}, "bsnd_spellheal"),
        Spell("base_spellstoneskin", "Stoneskin", "Hardens the skin like stone.", 2, 30, kSelf,
              {Timed(E(11, 3, kUse), 10, 4, 20)}, "bsnd_spellshield"),
        Spell("base_spellburninghand", "Burning Hand", "A burst of flame from the palm.", 3, 25, kTouch,
              {Timed(E(25, 8, kUse), 0, 16)}, "bsnd_spellfire"),
        Spell("base_spellcurse", "Curse", "Clouds the luck of a foe.", 4, 30, kOther,
              {Timed(E(27, 0, kUse), 3, 0, 6)}, "bsnd_spellcurse"),
        Spell("base_spelldrainhealth", "Drain Health", "Draws the life out of a foe.", 5, 35, kTouch,
              {Timed(E(29, 5, kUse), 0, 10)}, "bsnd_spelldrain"),
        Spell("base_spellfeather", "Feather", "Lightens the load on your back.", 6, 15, kSelf,
              {Timed(E(20, 20, kUse), 30, 20, 30)}, "bsnd_spellair"),
        Spell("base_spellfireball", "Fireball", "A ball of fire that bursts around its target.", 3, 60,
              kOther, {Timed(E(25, 12, kUse), 0, 24, 0, 1)}, "bsnd_spellfire"),
        Spell("base_spelllightningbolt", "Lightning Bolt", "A bolt from a clear sky.", 3, 50, kOther,
              {Timed(E(25, 15, kUse), 0, 20)}, "bsnd_spellbolt"),
        Spell("base_spellpoisontouch", "Poison Touch", "Venom on the fingertips.", 3, 30, kTouch,
              {Timed(E(26, 3, kUse), 5, 4, 5)}, "bsnd_spellpoison"),
        Spell("base_spellplague", "Plague", "Spreads the plague.", 5, 40, kOther,
              {E(32, 50, kUse, "base_disease_plague")}, "bsnd_spellcurse"),
        Spell("base_spellwarrt", "Warts", "Covers a foe in warts.", 4, 20, kOther,
              {Timed(E(2, -3, kUse, "", 5), 10)}, "bsnd_spellcurse"),
        Spell("base_spellharmundead", "Harm Undead", "Burns the risen.", 1, 30, kOther,
              {E(24, 20, kUse, "", 3)}, "bsnd_spellheal"),
        Spell("base_spelldisarm", "Disarm Trap", "Makes a trap harmless.", 6, 20, kTouch,
              {Timed(E(44, 20, kUse), 0, 40)}, "bsnd_spellair"),
        // The road home: mark a place, and come back to it from anywhere that allows it.
        Spell("base_spellmark", "Mark", "Remembers the place where you stand.", 6, 25, kSelf,
              {E(46, 1, kUse)}, "bsnd_spellair"),
        Spell("base_spellrecall", "Recall", "Takes you back to a place you marked.", 6, 40, kSelf,
              {E(47, 1, kUse)}, "bsnd_spellair"),
        // The crypt mage's bolt: a crackle of the grave's cold light, far weaker than a lightning
        // bolt, so that the first caster a new character meets wears it down rather than kills it.
        Spell("base_spellgravespark", "Grave Spark", "A crackle of cold light from the grave.", 3, 20, kOther,
              {Timed(E(25, 3, kUse), 0, 10)}, "bsnd_spellbolt"),
    };

    RecipeDef healing;
    healing.id = "base_recipe_healing";
    // A requirement is an effect kind (and a target for kinds 1 and 2): two restoring herbs, such as
    // alkie berries and lady slipper, make a healing potion; two mana herbs a mana potion.
    healing.ingredients[0] = {3, 0, ""};
    healing.ingredients[1] = {3, 0, ""};
    healing.resultId = "base_phealsmall";
    healing.baseAmount = 15, healing.amountPerSkill = 30, healing.value = 1;
    RecipeDef mana;
    mana.id = "base_recipe_mana";
    mana.ingredients[0] = {9, 0, ""};
    mana.ingredients[1] = {9, 0, ""};
    mana.resultId = "base_pmanasmall";
    mana.baseAmount = 10, mana.amountPerSkill = 25, mana.value = 1;
    c.recipes = {healing, mana};

    // First-person hands and use styles.
    auto animation = [&](const std::string& id, const std::string& frameStem, int frames,
                         const std::string& sound, int plainSwing, int alternateSwing) {
        FpsAnimationDef a;
        a.id = id;
        a.text = frameStem;
        a.bytes[0] = static_cast<int>(plainSwing), a.bytes[1] = alternateSwing, a.bytes[2] = 3;
        a.sound = sound;
        for (int i = 0; i < frames; ++i) a.frames.push_back(frameStem + std::to_string(i));
        a.frames2 = {frameStem + "0"};
        c.items.animations.push_back(a);
    };
    animation("bres_fpsfist", "bres_fpsfist", 4, "bsnd_hitmiss", 2, 0);
    animation("bres_fpsthrow", "bres_fpsthrow", 4, "bsnd_hitmiss", 2, 0);
    animation("bres_fpscastself", "bres_fpscast", 4, "", 1, 0);
    animation("bres_fpscasttouch", "bres_fpscast", 4, "", 2, 0);
    animation("bres_fpscastother", "bres_fpscast", 4, "", 3, 0);
    animation("bres_fpssword", "bres_fpssword", 4, "bsnd_hitmiss", 2, 1);
    animation("bres_fpsclub", "bres_fpsclub", 4, "bsnd_hitclub", 2, 255);
    animation("bres_fpsbow", "bres_fpsbow", 4, "bsnd_bowshot", 2, 0);
    animation("bres_fpsarrow", "bres_fpsarrow", 1, "", 0, 0);
    animation("bres_fpsshield", "bres_fpsshield", 1, "", 0, 0);
    auto style = [&](const std::string& id, const std::string& animationId) {
        UseStyleDef s;
        s.id = id;
        s.texts[0] = id;
        s.texts[2] = animationId;
        c.items.useStyles.push_back(s);
    };
    style("bres_useblade", "bres_fpssword");
    style("bres_useclub", "bres_fpsclub");
    style("bres_usebow", "bres_fpsbow");
    style("bres_usequiver", "bres_fpsarrow");
    style("bres_useshield", "bres_fpsshield");
    style("bres_usethrow", "bres_fpsthrow");
    style("bres_useherb", "bres_fpsfist");

    ItemMaker m{c.items};
    // Race items: a letter of introduction and something to drink. Rest wants food and drink; the
    // start draw always gives food (its first group), but its further item is anything, so the
    // drink comes with the race: every new character can rest once before the first purchase.
    const char* races[] = {"rasvim", "etherim", "seiry", "derth", "nogur"};
    const char* raceNames[] = {"Rasvim", "Etherim", "Seiry", "Derth", "Nogur"};
    // What each letter says (its reading text): a word from home, in the voice of the race.
    const char* letters[] = {
        "To a young Rasvim, from the hall of the risen.\r\rYou woke as we all woke, in the cold and the "
        "quiet, and the living will flinch from you. Let them. Vantrel Town trades with anyone whose gold "
        "is good. Keep your flask of dark water close; you will not want their bread. The innkeeper Maren "
        "hears knocking below her cellar. We hear it too. Go and see what will not lie still.",
        "To a young Etherim, from your teacher.\r\rThe stars are the same over the vale as over the "
        "tower, though you will be too busy to look at them. Ysolde on the town square knows enchanting "
        "and will put a spell into a wand for you, or fill one that is spent. Read every book you find: "
        "a spell learnt is a spell you keep.",
        "To a young Seiry, from your mother.\r\rWalk softly in the town as in the woods, and mind your "
        "purse in crowds. Herbs grow on the vale's meadows and in its dark places; with a mortar you can "
        "brew them into potions, as I showed you. Write when you can. The birches miss you.",
        "To a young Derth, from your clan.\r\rCorwen the smith keeps a forge on the town square and "
        "sells good iron; show him your hammer and he will show you his. The cellars under Vantrel are "
        "old work, older than the town. Mind the doors that are locked and the floors that click.",
        "To a young Nogur, from your father.\r\rA strong arm opens many doors, but a key opens more; "
        "look in the chests before you break anything. Aldo trains fighters on the town square. Listen to "
        "him even when you think you know better. Come home with a story worth the telling.",
    };
    for (int i = 0; i < 5; ++i) {
        m.Add(std::string("base_race_") + races[i] + "_book",
              std::string("Letter to a young ") + raceNames[i], 5, 2, "bres_item_letter", 1, 10)
            .texts[0] = letters[i];
        ItemDef& start =
            m.Add(std::string("base_race_") + races[i] + "_start",
                  i == 0 ? std::string("Flask of dark water") : std::string(raceNames[i]) + " waterskin", 14, 2,
                  i == 0 ? "bres_item_vial" : "bres_item_water", 5, 50);
        start.flags = i == 0 ? 8 : 0;
    }
    // Text 6 of a potion names the visual effect record that plays over the portrait as it acts.
    m.WithEffects(m.Add("base_phealsmall", "Small Healing", 8, 1, "bres_item_potionred", 25, 20),
                  {E(3, 25, kUse)})
        .texts[2] = kDrinkEffect;
    m.WithEffects(m.Add("base_punholysmall", "Small Unholy", 8, 1, "bres_item_potionblack", 25, 20),
                  {E(6, 25, kUse)})
        .texts[2] = kDrinkEffect;
    m.WithEffects(m.Add("base_pmanasmall", "Small Mana", 8, 1, "bres_item_potionblue", 30, 20),
                  {E(9, 20, kUse)})
        .texts[2] = kDrinkEffect;
    // The one potion whose strength stays a while: half an hour of a stronger arm.
    m.WithEffects(m.Add("base_pstrengthsmall", "Small Strength", 8, 1, "bres_item_potiongreen", 40, 20),
                  {Timed(E(2, 5, kUse, "", 1), 30)})
        .texts[2] = kDrinkEffect;

    m.Armour("base_shield_woodenround", "Wooden round shield", 3, 1, 3, 20, 500, "bres_item_shield");
    m.Armour("base_shield_smallwooden", "Small wooden shield", 3, 1, 2, 12, 350, "bres_item_shield");
    m.Weapon("base_weap_shortswordcheap", "Cheap short sword", 1, true, 3, 7, 25, "bres_item_sword",
             "bres_useblade");
    m.Weapon("base_weap_greatcudgel2", "Great cudgel", 6, false, 5, 11, 20, "bres_item_club", "bres_useclub");
    m.Weapon("base_weap_dirkcheap", "Cheap dirk", 1, true, 2, 5, 15, "bres_item_dagger", "bres_useblade");
    m.Armour("base_mail_frayedleather", "Frayed leather armor", 3, 3, 4, 30, 800, "bres_item_leather");
    m.Armour("base_mail_scalecheap", "Cheap scale mail", 2, 3, 8, 60, 2000, "bres_item_mail");
    m.Weapon("base_weap_shortbowcheap", "Cheap short bow", 9, false, 2, 8, 30, "bres_item_bow",
             "bres_usebow");
    ItemDef& quiver = m.Weapon("base_quiver_cheap", "Quiver of arrows", 11, false, 1, 3, 10,
                               "bres_item_quiver", "bres_usequiver");
    quiver.outfit = 0;
    const struct {
        const char* id;
        const char* name;
        const char* spell;
    } books[] = {{"base_spbookcurelightwounds", "Cure Light Wounds", "base_spellcurelightwounds"},
                 {"base_spbookstoneskin", "Stoneskin", "base_spellstoneskin"},
                 {"base_spbookburninghand", "Burning Hand", "base_spellburninghand"},
                 {"base_spbookcurse", "Curse", "base_spellcurse"},
                 {"base_spbookdrainhealth", "Drain Health", "base_spelldrainhealth"},
                 {"base_spbookfeather", "Feather", "base_spellfeather"},
                 {"base_spbookmark", "Mark", "base_spellmark"},
                 {"base_spbookrecall", "Recall", "base_spellrecall"}};
    for (const auto& b : books)
        m.WithEffects(m.Add(b.id, b.name, 9, 2, "bres_item_spellbook", 60, 80), {E(31, 1, kCast, b.spell)});
    ItemDef& hammer =
        m.Add("base_repair_hammerapprentice", "Apprentice hammer", 12, 1, "bres_item_hammer", 15, 150);
    hammer.maxCondition = 40;
    m.Add("base_money_100", "100 gold", 10, 1, "bres_item_coins", 100, 0);
    m.Add("base_gem_amethyst", "Amethyst", 15, 1, "bres_item_gem", 120, 5);
    ItemDef& mortar =
        m.Add("base_alc_mortarbeginner", "Beginner's mortar", 6, 1, "bres_item_mortar", 20, 300);
    mortar.maxCondition = 100;
    const struct {
        const char* id;
        const char* name;
        std::vector<EffectDef> effects;
    } herbs[] = {
        {"base_alc_alkieberries", "Alkie berries", {E(3, 5, kUse), E(57, 110, kUse), E(10, 5, kUse)}},
        {"base_alc_criminivulgaris", "Criminis vulgaris", {E(15, 110, kUse), E(26, 2, kUse)}},
        {"base_alc_ladyslipper", "Lady slipper", {E(3, 5, kUse), E(16, 110, kUse), E(20, 5, kUse)}},
        {"base_alc_moonshinemushies", "Moonshine mushies", {E(9, 5, kUse), E(57, 120, kUse)}},
        {"base_alc_powerberries", "Power berries", {E(2, 1, kUse, "", 1), E(38, 105, kUse)}},
        {"base_alc_purplefairyring",
         "Purple fairy ring",
         {E(9, 5, kUse), E(22, 110, kUse), E(36, 105, kUse)}},
    };
    // Herbs grow in the world as flowers, which name the herbs' use style.
    for (const auto& h : herbs) {
        ItemDef& herb = m.Add(h.id, h.name, 7, 1, "bres_item_herb", 4, 10);
        herb.useStyle = "bres_useherb";
        m.WithEffects(herb, h.effects);
    }
    ItemDef& pick =
        m.Add("base_key_lockpickbeginner", "Beginner's lockpick", 11, 2, "bres_item_lockpick", 10, 10);
    pick.maxCondition = 50;
    // The key of the locked door in the cellar's gallery; it lies in the gallery's chest.
    m.Add("base_key_gallery", "Gallery key", 11, 1, "bres_item_key", 1, 5);
    // The key of the crypt's door, dropped in the crypt's entrance hall: a character who cannot pick
    // a lock still gets on with the innkeeper's quest.
    m.Add("base_key_crypt", "Crypt key", 11, 1, "bres_item_key", 1, 5);
    // The things two quests turn on: the merchant's lost ring and the elder's letter to the smith.
    m.Add(content::kRingItemId, "Hesper's ring", 11, 1, "bres_item_ring", 60, 2);
    m.Add(content::kElderLetterId, "The elder's letter", 11, 1, "bres_item_letter", 1, 2);
    ItemDef& scroll = m.Add("base_scrdisarm", "Disarm Trap", 9, 1, "bres_item_scroll", 25, 5);
    EffectDef disarm = E(31, 1, kCast, "base_spelldisarm");
    disarm.amountPerLevel = 30;
    m.WithEffects(scroll, {disarm});
    m.Armour("base_robe_clothcape", "Cloth cape", 3, 7, 1, 8, 200, "bres_item_cape");
    m.Armour("base_boots_fur", "Fur boots", 3, 6, 1, 10, 300, "bres_item_boots");

    // Random groups: the start draw gives one item of group 1 and one further item (group 2 only
    // while none was given, any other group always), taking only items whose flag bit 3 matches the
    // race (set for the risen Rasvim, clear for the others); each group holds both kinds.
    auto food = [&](const std::string& id, const std::string& name, int group, bool risen,
                    const std::string& picture) {
        ItemDef& d = m.Add(id, name, 14, group == 3 ? 2 : 1, picture, 3, 30);
        d.group = group;
        d.flags = risen ? 8 : 0;
    };
    food("base_food_bread", "Bread", 1, false, "bres_item_bread");
    food("base_food_cheese", "Cheese", 1, false, "bres_item_cheese");
    food("base_food_bloodvial", "Vial of blood", 1, true, "bres_item_vial");
    food("base_food_apple", "Apple", 2, false, "bres_item_apple");
    food("base_food_gravemoss", "Grave moss", 2, true, "bres_item_herb");
    food("base_drink_water", "Water", 3, false, "bres_item_water");
    food("base_drink_darkwater", "Dark water", 3, true, "bres_item_water");
    // Merchants' and random drops' goods.
    auto goods = [&](ItemDef& d, int group, int rarity) {
        d.group = group;
        d.rarity = rarity;
    };
    goods(m.Weapon("base_weap_longsword", "Long sword", 2, false, 5, 12, 120, "bres_item_sword",
                   "bres_useblade"),
          3, 1);
    goods(m.Weapon("base_weap_mace", "Mace", 3, false, 4, 11, 90, "bres_item_club", "bres_useclub"), 3, 1);
    goods(m.Weapon("base_weap_throwingknives", "Throwing knives", 8, true, 2, 6, 40, "bres_item_dagger",
                   "bres_usethrow"),
          3, 2);
    goods(m.Armour("base_helm_iron", "Iron helm", 2, 4, 3, 70, 600, "bres_item_helm"), 3, 1);
    goods(m.Armour("base_mail_chain", "Chain mail", 2, 3, 12, 200, 2500, "bres_item_mail"), 4, 2);
    goods(m.WithEffects(m.Add("base_ring_protection", "Ring of protection", 4, 2, "bres_item_ring", 250, 5),
                        {E(11, 3, kConstant)}),
          4, 3);
    goods(m.WithEffects(m.Add("base_amulet_health", "Amulet of health", 4, 1, "bres_item_amulet", 300, 10),
                        {E(5, 10, kConstant)}),
          5, 3);
    ItemDef& wand = m.WithEffects(m.Add("base_wand_sparks", "Sparks", 9, 4, "bres_item_wand", 100, 40),
                                  {E(31, 10, kCast, "base_spelllightningbolt")});
    wand.effects[0].amountPerLevel = 30;
    goods(wand, 5, 2);
    // A wand without a spell of its own: the enchanter puts one of the player's spells into it.
    ItemDef& ash = m.Add("base_wand_ash", "Ash wand", 9, 5, "bres_item_wand", 40, 40);
    ash.enchantCapacity = 100;
    goods(m.WithEffects(m.Add("base_phealmedium", "Healing", 8, 1, "bres_item_potionred", 60, 20),
                        {E(3, 60, kUse)}),
          4, 1);

    ItemPictureListDef pictureList;
    pictureList.id = "bres_itempictures";
    std::set<std::string> seen;
    for (const ItemDef& d : c.items.items)
        if (!d.texts[1].empty() && seen.insert(d.texts[1]).second) pictureList.pictures.push_back(d.texts[1]);
    c.items.pictureLists = {pictureList};

    // Creatures: seven frames each, ten for people.
    auto kind = [&](const std::string& id, const std::string& name, int kindByte, int frames, int scale,
                    const std::string& sound) {
        CreatureKindDef k;
        k.id = id;
        k.firstName = name;
        k.displayName = name;
        k.kind = kindByte;
        k.scale = scale;
        for (int i = 0; i < frames; ++i) k.frames.push_back("bres_cr_" + id.substr(5) + std::to_string(i));
        k.secondLook = "bres_cr_" + id.substr(5) + "still";
        k.sounds[0] = "bsnd_" + sound + "idle";
        k.sounds[1] = "bsnd_" + sound + "hurt";
        k.sounds[2] = "bsnd_" + sound + "die";
        k.sounds[3] = "bsnd_" + sound + "attack";
        c.creatureKinds.push_back(k);
    };
    kind("base_rat", "Giant rat", 1, 7, 20, "rat");
    kind("base_wolf", "Grey wolf", 1, 7, 28, "wolf");
    kind("base_skeleton", "Skeleton", 3, 7, 31, "bones");
    // The crypt's armed dead and its caster each have a look of their own, so that a player tells
    // them from the weak bones of the cellar before the fight rather than by it.
    kind("base_skeletonwarrior", "Skeleton", 3, 7, 31, "bones");
    kind("base_skeletonmage", "Skeleton", 3, 7, 31, "bones");
    kind("base_townsfolk", "Townsfolk", 4, 10, 31, "man");
    kind("base_townswoman", "Townswoman", 4, 10, 31, "man");
    auto type = [&](const std::string& id, const std::string& kindId, const std::string& name, int level,
                    std::vector<int> values, int kindByte, int flags) {
        MonsterTypeDef t;
        t.id = id;
        t.kindId = kindId;
        t.displayName = name;
        t.pictureName = "bres_cr_" + kindId.substr(5) + "0";
        for (size_t i = 0; i < values.size() && i < 10; ++i) t.values[i] = values[i];
        t.kind = kindByte;
        t.level = level;
        t.flags = flags;
        c.monsterTypes.push_back(t);
        return &c.monsterTypes.back();
    };
    type("base_rat_small", "base_rat", "Giant rat", 1, {1, 3, 1, 8, 20, 2, 3, 5, 5, 3}, 1, 12)->effects = {
        E(32, 5, kStrike, "base_disease_plague")};
    MonsterTypeDef* skeleton = type("base_skeleton_warrior", "base_skeletonwarrior", "Skeleton warrior", 5,
                                    {3, 8, 5, 35, 120, 2, 3, 100, 20, 3}, 3, 12);
    skeleton->items = {{"base_weap_shortswordcheap", 1, 1, 30, 40}, {"", 1, 4, 20, 100}};
    MonsterTypeDef* wolf =
        type("base_wolf_grey", "base_wolf", "Grey wolf", 3, {2, 6, 3, 20, 60, 2, 3, 10, 10, 3}, 1, 12);
    wolf->items = {{"base_money_100", 1, 1, 100, 100}};
    // The cellar's dead: lighter than the crypt's warriors, a fair fight for a character fresh from
    // creation, who meets them in the first minutes.
    type("base_skeleton_bones", "base_skeleton", "Restless bones", 2, {2, 5, 3, 24, 60, 2, 3, 60, 15, 3}, 3,
         12)
        ->items = {{"base_money_100", 1, 1, 50, 100}};
    // The crypt's mage: a weak hand at its craft (no spell skill, so its spark does the spell's
    // least), the caster a character fresh from the cellar meets first.
    MonsterTypeDef* mage = type("base_skeleton_mage", "base_skeletonmage", "Skeleton mage", 3,
                                {2, 4, 2, 18, 100, 2, 3, 40, 0, 3}, 3, 12);
    mage->attackStyle = 4;  // strikes when face to face, casts from further off
    // Its spells are its own effects: "Cast spell" (31) in the mode a combatant casts in.
    mage->effects = {E(31, 0, kCast, "base_spellcurse"), E(31, 0, kCast, "base_spellgravespark")};
    mage->items = {{"base_spbookcurse", 1, 1, 50, 100}, {"base_money_100", 1, 1, 100, 100}};
    // The town's people: stationary ones stand at their trades, the shepherd wanders.
    const struct {
        const char* id;
        const char* name;
        const char* npc;
        int flags;
        bool woman;
    } people[] = {{"base_townsfolk_merchant", "Merchant", "Hesper", 8 | 16, true},
                  {"base_townsfolk_shepherd", "Shepherd", "Tamsin", 8, true},
                  {"base_townsfolk_innkeeper", "Innkeeper", "Maren", 8 | 16, true},
                  {"base_townsfolk_smith", "Smith", "Corwen", 8 | 16, false},
                  {"base_townsfolk_trainer", "Trainer", "Aldo", 8 | 16, false},
                  {"base_townsfolk_gambler", "Card player", "Fenn", 8 | 16, false},
                  {"base_townsfolk_enchanter", "Enchanter", "Ysolde", 8 | 16, true},
                  {"base_townsfolk_elder", "Elder", "Bram", 8 | 16, false}};
    for (const auto& p : people)
        type(p.id, p.woman ? "base_townswoman" : "base_townsfolk", p.name, 2, {1, 3, 2, 30, 0, 2, 3, 10, 10, 3}, 4,
             p.flags)
            ->npcId = p.npc;

    // Portraits: two faces of each race to choose from at creation, the default and unknown heads,
    // the merchant's, and one for each of the town's people (never offered at creation).
    const char* faceRaces[] = {"undead", "etherim", "seiry", "derth", "nogur"};
    for (int face = 0; face < 2; ++face)
        for (const char* r : faceRaces)
            c.portraits.push_back({std::string("bres_head0") + std::to_string(face) + "_race" + r, 1});
    c.portraits.push_back({"bres_head34", 1});
    c.portraits.push_back({"bres_headunknown", 0});
    c.portraits.push_back({"bres_head_merchant", 0});
    for (const std::string& name : NpcPortraitNames()) c.portraits.push_back({name, 0});

    // The shared dialogue: a greeting for creatures that talk, and topics everyone knows.
    auto line = [](const std::string& text) {
        LineDef l;
        l.text = text;
        return l;
    };
    DialogueEntryDef monster;
    monster.name = "bres_monster";
    monster.textA = "Creature";
    monster.lines = {line("It looks at you and says nothing.")};
    DialogueEntryDef rumours;
    rumours.name = "base_topic_rumours";
    rumours.textA = "Rumours";
    rumours.lines = {line("They say rats the size of dogs live in the cellars below the old mill.")};
    DialogueEntryDef town;
    town.name = "base_topic_town";
    town.textA = "This town";
    town.lines = {line("A quiet place, if you stay out of the cellars.")};
    c.dialogue.greetings = {monster};
    c.dialogue.topics = {rumours, town};

    NpcDef trader;
    trader.id = "Hesper";
    trader.texts[0] = "bres_npc_hesper";
    trader.texts[1] = "base_talk_merchant";
    trader.texts[2] = "Welcome, traveller! Have a look at my wares.";
    trader.maxPayment = 2000;
    trader.merchantLevel = 3;
    trader.classMask = 0x0007;  // weapons, heavy and light armour
    trader.bytes[0] = 2;
    trader.bytes[2] = 1;  // services: trade
    trader.trainerSkill = 15;
    trader.hasDialogue = true;
    DialogueEntryDef hello;
    hello.name = "base_npc_merchant_hello";
    hello.textA = "Greeting";
    hello.lines = {line("Good day! Steel and leather, fair prices.")};
    DialogueEntryDef wares;
    wares.name = "base_npc_merchant_wares";
    wares.textA = "Your wares";
    wares.lines = {line("Swords, maces, helms and mail. Ask to trade and see for yourself.")};
    DialogueEntryDef sharedRumours = rumours;
    sharedRumours.shared = 1;
    // Her lost ring: the talk hands over the quest, then takes the ring back and ends it; the topic
    // goes once the quest is solved.
    DialogueEntryDef ring;
    ring.name = "base_npc_merchant_ring";
    ring.textA = "Your ring";
    ring.textB = "You look troubled.";
    ring.hasCondition = true;
    ring.condition = QuestNotSolved(content::kRingQuestId);
    LineDef ringLine = line("Have you seen my ring? I had it when I drew water at the well.");
    ringLine.script = content::CompileWorldScript("bres_talk_harbourmaster");
    ring.lines = {ringLine};
    trader.dialogue.greetings = {hello};
    trader.dialogue.topics = {wares, sharedRumours, ring};
    c.npcs = {trader};
    AddTownNpcs(c.npcs);
    return c;
}

}  // namespace

const BaseRuleContent& BaseRules() {
    static const BaseRuleContent content = MakeBaseRules();
    return content;
}

BaseRuleRecords BuildBaseRuleRecords(int version) {
    const BaseRuleContent& c = BaseRules();
    BaseRuleRecords r;
    r.abilities = WriteAbilityRecord(c.abilities, version);
    r.recipes = WriteRecipeRecord(c.recipes, version);
    r.diseases = WriteDiseaseRecord(c.diseases, version);
    r.items = WriteItemRecords(c.items, version);
    r.creatureKinds = WriteCreatureKindRecord(c.creatureKinds, version);
    r.monsterTypes = WriteMonsterTypeRecord(c.monsterTypes, version);
    r.dialogue = WriteSharedDialogueRecord(c.dialogue, version);
    r.portraits = WritePortraitRecord(c.portraits, version);
    r.npcs = WriteNpcRecords(c.npcs, version);
    r.spells = WriteSpellRecords(c.spells, version);
    r.races = WriteRaceRecord(c.races, version);
    r.skills = WriteSkillRecord(c.skills, version);
    r.attributes = WriteAttributeRecord(c.attributes, version);
    return r;
}

std::vector<std::string> RulePictureNames(const BaseRuleContent& c) {
    std::set<std::string> names;
    for (const ItemDef& d : c.items.items)
        if (!d.texts[1].empty()) names.insert(d.texts[1]);
    for (const FpsAnimationDef& a : c.items.animations) {
        for (const std::string& f : a.frames) names.insert(f);
        for (const std::string& f : a.frames2) names.insert(f);
    }
    for (const CreatureKindDef& k : c.creatureKinds) {
        for (const std::string& f : k.frames) names.insert(f);
        if (!k.secondLook.empty()) names.insert(k.secondLook);
    }
    for (const PortraitDef& p : c.portraits) names.insert(p.id);
    return {names.begin(), names.end()};
}
