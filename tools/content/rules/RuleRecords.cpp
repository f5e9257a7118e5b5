#include "tools/content/rules/RuleRecords.h"

void PutText(ByteWriter& w, const std::string& text) {
    w.Text(text);
    w.U8(0);
}

void PutEffect(ByteWriter& w, const EffectDef& e, int version) {
    w.U8(5);
    PutText(w, e.id);
    w.Align(2);
    w.I16(e.amount);
    w.I16(e.amountPerLevel);
    w.I16(e.duration);
    w.I16(e.durationPerLevel);
    w.U8(e.target);
    w.U8(e.mode);
    w.U8(e.kind);
    if (version > 24) w.U8(e.radius);
}

void PutEffectList(ByteWriter& w, const std::vector<EffectDef>& effects, int version) {
    w.Align(2);
    w.U16(static_cast<uint32_t>(effects.size()));
    for (const EffectDef& e : effects) PutEffect(w, e, version);
}

namespace {

void PutPresent(ByteWriter& w, uint8_t tag, bool present) {
    w.U8(tag);
    w.Align(2);
    w.U16(present ? 1 : 0);
}

void PutCount(ByteWriter& w, uint8_t tag, size_t count) {
    w.U8(tag);
    w.Align(2);
    w.U16(static_cast<uint32_t>(count));
}

void PutTextArray(ByteWriter& w, const std::vector<std::string>& texts) {
    w.Align(2);
    w.U16(static_cast<uint32_t>(texts.size()));
    for (const std::string& t : texts) PutText(w, t);
}

void PutCondition(ByteWriter& w, const ConditionDef& c) {
    w.U8(0x20);
    PutText(w, c.name);
    w.Align(2);
    w.U16(c.word);
    for (int b : c.bytes) w.U8(b);
}

void PutLine(ByteWriter& w, const LineDef& line) {
    w.U8(0x22);
    for (int i = 0; i < 5; ++i) {
        w.U8(line.conditionPresent[i] ? 1 : 0);
        if (line.conditionPresent[i]) PutCondition(w, line.conditions[i]);
    }
    PutText(w, line.text);
    for (const ChoiceDef& c : line.choices) {
        w.U8(c.present ? 1 : 0);
        if (!c.present) continue;
        w.U8(0x21);
        w.U8(c.hasCondition ? 1 : 0);
        if (c.hasCondition) PutCondition(w, c.condition);
        PutText(w, c.text);
    }
    w.Align(2);
    w.U16(static_cast<uint32_t>(line.script.size()));
    w.Bytes(line.script.data(), line.script.size());
}

void PutEntry(ByteWriter& w, const DialogueEntryDef& e, bool fullRead, int version) {
    w.U8(0x23);
    w.Align(4);
    w.U32(e.shared);
    PutText(w, e.name);
    if (!fullRead && e.shared != 0) return;
    if (version > 37) PutText(w, e.textA);
    if (version > 36) {
        w.U8(e.hasCondition ? 1 : 0);
        if (e.hasCondition) PutCondition(w, e.condition);
    }
    if (version > 59) PutText(w, e.textB);
    w.Align(2);
    w.U16(static_cast<uint32_t>(e.lines.size()));
    for (const LineDef& l : e.lines) PutLine(w, l);
}

}  // namespace

RuleRecord WriteAttributeRecord(const std::vector<AttributeDef>& attributes, int version) {
    ByteWriter w;
    PutPresent(w, 'R', !attributes.empty());
    for (const AttributeDef& a : attributes) {
        w.U8('S');
        PutText(w, a.id);
        PutText(w, a.display);
        PutText(w, a.shortName);
    }
    return w.Take();
}

RuleRecord WriteSkillRecord(const std::vector<SkillDef>& skills, int version) {
    ByteWriter w;
    PutPresent(w, 'P', !skills.empty());
    for (const SkillDef& s : skills) {
        w.U8('Q');
        PutText(w, s.id);
        PutText(w, s.full);
        if (version > 73) PutText(w, s.medium);
        if (version > 109) PutText(w, s.shortName);
        w.U8(s.attribute);
        if (version > 82) w.U8(s.group);
        if (version > 85) PutText(w, s.text);
    }
    return w.Take();
}

RuleRecord WriteRaceRecord(const std::vector<RaceDef>& races, int version) {
    ByteWriter w;
    PutPresent(w, 'N', !races.empty());
    for (const RaceDef& r : races) {
        w.U8('O');
        PutText(w, r.id);
        PutText(w, r.display);
        PutText(w, r.text1);
        PutText(w, r.text2);
        if (version > 51) PutText(w, r.text3);
    }
    return w.Take();
}

RuleRecords WriteSpellRecords(const std::vector<SpellDef>& spells, int version) {
    RuleRecords out;
    ByteWriter head;
    PutCount(head, 0x03, spells.size());
    out.push_back(head.Take());
    for (const SpellDef& s : spells) {
        ByteWriter w;
        w.U8(0x04);
        PutText(w, s.id);
        for (int i : {0, 1, 2, 4, 3, 5}) PutText(w, s.texts[i]);
        if (version > 26) {
            PutText(w, s.texts[6]);
            PutText(w, s.texts[7]);
        }
        if (version < 51) {
            w.Align(2);
            w.U16(0);
        }
        w.Align(2);
        w.U16(s.value);
        w.U16(s.base);
        w.U16(s.factor);
        PutEffectList(w, s.effects, version);
        w.U8(s.school);
        w.U8(s.value2);
        w.U8(s.value3);
        w.U8(s.value4);
        if (version > 51) PutText(w, s.texts[8]);
        out.push_back(w.Take());
    }
    return out;
}

namespace {

RuleRecord WriteBundles(const std::vector<BundleDef>& bundles, bool diseases, int version) {
    ByteWriter w;
    PutCount(w, diseases ? 0x0C : 0x0A, bundles.size());
    for (const BundleDef& b : bundles) {
        w.U8(diseases ? 0x0D : 0x0B);
        PutText(w, b.id);
        PutText(w, b.text);
        if (diseases) {
            w.U8(b.value1);
            if (version > 120) w.U8(b.value2);
        }
        PutEffectList(w, b.effects, version);
    }
    return w.Take();
}

}  // namespace

RuleRecord WriteAbilityRecord(const std::vector<BundleDef>& abilities, int version) {
    return WriteBundles(abilities, false, version);
}

RuleRecord WriteDiseaseRecord(const std::vector<BundleDef>& diseases, int version) {
    return WriteBundles(diseases, true, version);
}

RuleRecord WriteRecipeRecord(const std::vector<RecipeDef>& recipes, int version) {
    ByteWriter w;
    PutCount(w, 0x0E, recipes.size());
    for (const RecipeDef& r : recipes) {
        w.U8(0x0F);
        PutText(w, r.id);
        for (const RecipeDef::Ingredient& in : r.ingredients) {
            w.U8(in.value1);
            w.U8(in.value2);
            PutText(w, in.itemId);
        }
        PutText(w, r.resultId);
        w.Align(2);
        w.I16(r.baseAmount);
        w.I16(r.amountPerSkill);
        w.I16(r.baseDuration);
        w.I16(r.durationPerSkill);
        w.U8(r.value);
    }
    return w.Take();
}

void PutItemType(ByteWriter& w, const ItemDef& it, int version) {
    w.U8(0x15);
    PutText(w, it.id);
    PutText(w, it.text1);
    PutText(w, it.useStyle);
    PutText(w, it.name);
    if (version >= 62 && version <= 72) PutText(w, "");
    for (int i = 0; i < 3; ++i) PutText(w, it.texts[i]);
    if (version >= 114) PutText(w, it.texts[3]);
    w.U8(it.hasEffects ? 1 : 0);
    if (it.hasEffects) {
        w.U8(6);
        w.Align(4);
        w.U32(it.listValue);
        if (version < 84) {
            w.Align(2);
            w.U16(0);
        }
        PutEffectList(w, it.effects, version);
    }
    w.Align(4);
    w.U32(it.value);
    for (int v : {it.weight, it.damageLow, it.damageHigh, it.armourClass, it.enchantCapacity, it.maxCondition}) w.U16(v);
    for (int v : {it.group, it.itemClass, it.subclass, it.alignment, it.flags}) w.U8(v);
    if (version >= 64) w.U8(it.outfit);
    if (version >= 85) w.U8(it.rarity);
}

RuleRecords WriteItemRecords(const ItemCatalogueDef& c, int version) {
    RuleRecords out;
    ByteWriter pictures;
    PutCount(pictures, 0x16, c.pictureLists.size());
    for (const ItemPictureListDef& p : c.pictureLists) {
        pictures.U8(0x17);
        PutText(pictures, p.id);
        pictures.U8(p.flag);
        if ((version == 45 || version == 46) && p.flag == 0) pictures.U8(0);
        PutTextArray(pictures, p.pictures);
    }
    out.push_back(pictures.Take());

    ByteWriter animations;
    PutCount(animations, 0x38, c.animations.size());
    for (const FpsAnimationDef& a : c.animations) {
        ByteWriter& w = animations;
        w.U8(0x39);
        PutText(w, a.id);
        w.U8(a.byte0);
        PutText(w, a.text);
        w.Align(2);
        w.U16(a.words[0]);
        w.U16(a.words[1]);
        if (version >= 4) w.U8(a.bytes[0]);
        if (version >= 75) w.U8(a.bytes[1]), w.U8(a.bytes[2]);
        if (version >= 77) w.U8(a.bytes[3]);
        if (version >= 78) w.U8(a.bytes[4]);
        if (version >= 82) PutText(w, a.text2);
        if (version >= 107) PutText(w, a.sound);
        PutTextArray(w, a.frames);
        if (version >= 18) PutTextArray(w, a.frames2);
    }
    out.push_back(animations.Take());

    ByteWriter styles;
    PutCount(styles, 0x12, c.useStyles.size());
    for (const UseStyleDef& s : c.useStyles) {
        PutText(styles, s.id);
        for (const std::string& t : s.texts) PutText(styles, t);
        styles.Align(4);
        styles.U32(s.value);
        for (int v : s.words) styles.U16(v);
        styles.U8(s.bytes[0]);
        styles.U8(s.bytes[1]);
    }
    out.push_back(styles.Take());

    ByteWriter items;
    PutCount(items, 0x14, c.items.size());
    if (version < 48) {
        for (const ItemDef& it : c.items) PutItemType(items, it, version);
        out.push_back(items.Take());
        return out;
    }
    out.push_back(items.Take());
    for (const ItemDef& it : c.items) {
        ByteWriter w;
        PutItemType(w, it, version);
        out.push_back(w.Take());
    }
    return out;
}

void PutItemList(ByteWriter& w, const std::vector<ItemListEntryDef>& items) {
    w.Align(2);
    w.U16(static_cast<uint32_t>(items.size()));
    for (const ItemListEntryDef& e : items) {
        PutText(w, e.itemId);
        for (int v : {e.count, e.group, e.chance, e.condition}) w.U8(v);
    }
}

RuleRecord WriteCreatureKindRecord(const std::vector<CreatureKindDef>& kinds, int version) {
    ByteWriter w;
    PutCount(w, 0x1C, kinds.size());
    for (const CreatureKindDef& k : kinds) {
        w.U8(0x1D);
        PutText(w, k.id);
        PutText(w, k.firstName);
        PutText(w, k.displayName);
        PutTextArray(w, k.frames);
        if (version > 15) PutText(w, k.secondLook);
        if (version > 21) {
            PutText(w, k.sounds[0]);
            PutText(w, k.sounds[1]);
            if (version > 104) PutText(w, k.sounds[2]);
            PutText(w, k.sounds[3]);
        }
        w.Align(2);
        for (int v : k.values) w.U16(v);
        w.U8(k.kind);
        if (version > 44) w.U8(k.pictureClass);
        if (version > 45) w.U8(k.scale);
        if (version > 94) w.U8(k.extra[0]);
        if (version > 96) w.U8(k.extra[1]);
        PutTextArray(w, k.ids);
        if (version > 78) w.U8(k.attackStyle);
        if (version > 79) PutText(w, k.text);
    }
    // The id-list extension block, empty.
    if (version > 41) {
        w.Align(2);
        w.U16(0);
    }
    return w.Take();
}

RuleRecord WriteMonsterTypeRecord(const std::vector<MonsterTypeDef>& types, int version) {
    ByteWriter w;
    PutCount(w, 0x1E, types.size());
    for (const MonsterTypeDef& t : types) {
        w.U8(0x1F);
        PutText(w, t.id);
        PutText(w, t.kindId);
        PutText(w, t.displayName);
        PutText(w, t.pictureName);
        if (version < 94) PutText(w, "");
        if (version > 20) PutText(w, t.npcId);
        if (version >= 22 && version <= 104)
            for (int i = 0; i < 3; ++i) PutText(w, "");
        PutEffectList(w, t.effects, version);
        PutItemList(w, t.items);
        w.Align(2);
        for (int v : t.values) w.U16(v);
        w.U8(t.kind);
        w.U8(t.level);
        w.U8(t.flags);
        if (version > 78) w.U8(t.attackStyle);
        if (version > 79) PutText(w, t.text);
        if (version > 87) w.U8(t.bytes[0]);
        if (version > 95) w.U8(t.bytes[1]);
        if (version > 96) w.U8(t.bytes[2]);
    }
    return w.Take();
}

void PutDialogue(ByteWriter& w, const DialogueDef& d, bool fullRead, int version) {
    for (const std::vector<DialogueEntryDef>* list : {&d.topics, &d.greetings}) {
        w.Align(2);
        w.U16(static_cast<uint32_t>(list->size()));
        for (const DialogueEntryDef& e : *list) PutEntry(w, e, fullRead, version);
    }
}

RuleRecord WriteSharedDialogueRecord(const DialogueDef& dialogue, int version) {
    ByteWriter w;
    w.U8(0x24);
    PutDialogue(w, dialogue, true, version);
    return w.Take();
}

RuleRecord WritePortraitRecord(const std::vector<PortraitDef>& portraits, int version) {
    ByteWriter w;
    PutCount(w, 0x25, portraits.size());
    for (const PortraitDef& p : portraits) {
        w.U8(0x26);
        PutText(w, p.id);
        if (version > 10) w.U8(p.selectable);
    }
    return w.Take();
}

RuleRecords WriteNpcRecords(const std::vector<NpcDef>& npcs, int version) {
    RuleRecords out;
    ByteWriter head;
    PutCount(head, 0x2B, npcs.size());
    out.push_back(head.Take());
    for (const NpcDef& n : npcs) {
        ByteWriter w;
        w.U8(0x2A);
        PutText(w, n.id);
        for (int i = 0; i < 3; ++i) PutText(w, n.texts[i]);
        if (version > 48) PutText(w, n.texts[3]);
        if (version > 55) PutText(w, n.texts[4]);
        if (version > 80) PutText(w, n.texts[5]);
        w.Align(4);
        w.U32(n.maxPayment);
        if (version > 68) w.U8(n.merchantLevel);
        w.Align(2);
        w.U16(n.classMask);
        for (int b : n.bytes) w.U8(b);
        w.U8(n.trainerSkill);
        if (version > 103) {
            w.Align(2);
            w.U16(n.maxBet);
        }
        w.U8(n.hasItems ? 1 : 0);
        if (n.hasItems) {
            w.Align(2);
            w.U16(static_cast<uint32_t>(n.items.size()));
            for (const auto& item : n.items) {
                // The second text of a pair is its first field.
                w.U8(0x29);
                PutText(w, item.second);
                PutText(w, item.first);
            }
        }
        w.U8(n.hasDialogue ? 1 : 0);
        if (n.hasDialogue) PutDialogue(w, n.dialogue, false, version);
        if (version > 56) w.U8(n.hours);
        if (version > 66) w.U8(n.markByte);
        out.push_back(w.Take());
    }
    return out;
}
