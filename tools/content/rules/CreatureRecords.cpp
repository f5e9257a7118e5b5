#include "tools/content/rules/RuleRecords.h"

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
