#include "tools/content/rules/RuleRecords.h"

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
