#include "tools/content/rules/RuleRecords.h"

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
    for (int v :
         {it.weight, it.damageLow, it.damageHigh, it.armourClass, it.enchantCapacity, it.maxCondition})
        w.U16(v);
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
