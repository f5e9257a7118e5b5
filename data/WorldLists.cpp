#include "data/WorldLists.h"

#include "data/TextureSet.h"

void CWorldLists::Clear() {
    resources.Clear();
    globals.Clear();
    talkProfiles.Clear();
    quests.Clear();
    scripts.Clear();
    pageSequences.Clear();
    pageSequences.ids.clear();
    skies.Clear();
    pictureSets.Clear();
    mapObjects.Clear();
    textures.ReleaseAll();
}

void CWorldLists::AfterLoad() {
    textures.RebuildIndex();
    pictureSets.ResolvePictureIndices(textures);
    resources.MarkSharedSounds(namedSounds ? namedSounds() : std::vector<const char*>{});
}

namespace {

template <class F>
void ForEachList(CWorldLists& l, F&& f) {
    f(0, l.globals);
    f(1, l.talkProfiles);
    f(2, l.quests);
    f(3, l.scripts);
    f(4, l.pageSequences);
    f(5, l.skies);
    f(6, l.pictureSets);
    f(7, l.mapObjects);
}

}  // namespace

CWorldLists::Mark CWorldLists::GetMark() const {
    Mark m;
    m.textures = textures.GetMark();
    m.resources = resources.GetMark();
    ForEachList(const_cast<CWorldLists&>(*this), [&m](int i, auto& list) {
        m.lists[i][0] = list.items.size();
        m.lists[i][1] = list.records.size();
    });
    m.pageIds = pageSequences.ids.size();
    return m;
}

void CWorldLists::RollBack(const Mark& m) {
    ForEachList(*this, [&m](int i, auto& list) {
        if (list.items.size() > m.lists[i][0]) list.items.resize(m.lists[i][0]);
        if (list.records.size() > m.lists[i][1]) list.records.resize(m.lists[i][1]);
    });
    if (pageSequences.ids.size() > m.pageIds) pageSequences.ids.resize(m.pageIds);
    resources.TruncateTo(m.resources);
    textures.TruncateTo(m.textures);
}
