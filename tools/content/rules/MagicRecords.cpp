#include "tools/content/rules/RuleRecords.h"

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
