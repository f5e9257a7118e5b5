#include "data/TextureSet.h"

#include "core/PdbFile.h"
#include "core/Stream.h"
#include "core/Str.h"

namespace {

// World pictures carry a 4-byte prefix before the picture data (the builder writes zeros).
constexpr u8 kWorldPicturePrefix = 4;
// Indices are u16 throughout (the 'F' table, picture sets, the sky): a table never passes this.
constexpr u32 kMaxEntries = 65535;

bool SameName(const char* a, const char* b) { return a && b && CompareStrings(a, b) == 0; }

}  // namespace

const u8* GetPictureSize(const CRecordHolder* picture, u16& width, u16& height) {
    width = height = 0;
    if (picture == nullptr || picture->data == nullptr || picture->Size() < 6) return nullptr;
    const u8* d = picture->data;
    width = static_cast<u16>(d[2] | d[3] << 8);
    height = static_cast<u16>(d[4] | d[5] << 8);
    return d;
}

CTextureSet::CTextureSet() = default;

CTextureSet::~CTextureSet() { ReleaseAll(); }

void CTextureSet::GrowFirstTable(u32 n) {
    firstCapacity_ += n;
    first_.reserve(firstCapacity_);
    firstData_.reserve(firstCapacity_);
}

void CTextureSet::GrowSecondTable(u32 n) {
    secondCapacity_ += n;
    second_.reserve(secondCapacity_);
}

bool CTextureSet::LoadFirstTable(CPdbFile* database, CRecordPtr record) {
    if (!record) return false;
    // Entry 0 stands for "no picture" in every index that refers to this table, so it is a reserved
    // slot and the first named picture is entry 1 and can be found.
    if (first_.empty()) {
        if (firstCapacity_ == 0) GrowFirstTable(kGrowthStep);
        first_.push_back(std::make_unique<CRecordHolder>());
        firstData_.emplace_back();
    }
    const size_t before = first_.size();
    CStream s;
    s.InitForReading(*record);
    s.MatchByte('<');
    u16 count = 0;
    s.SerializeU16(count);
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        const char* name = nullptr;
        u32 ignored = 0;
        u16 id = 0;
        s.SerializeStringRef(name);
        s.SerializeU32(ignored);
        s.SerializeU16(id);
        if (s.HasError() || first_.size() >= kMaxEntries) break;
        if (first_.size() + 1 >= firstCapacity_) GrowFirstTable(kGrowthStep);
        auto holder = std::make_unique<CRecordHolder>();
        holder->name = name;
        holder->database = database;
        holder->recordId = id;
        holder->prefix = kWorldPicturePrefix;
        holder->tableIndex = static_cast<u16>(first_.size());
        first_.push_back(std::move(holder));
        firstData_.emplace_back();
    }
    if (s.HasError() || first_.size() - before != count) {
        first_.resize(before);
        firstData_.resize(before);
        return false;
    }
    if (count > 0) records_.push_back(std::move(record));
    return true;
}

bool CTextureSet::LoadSecondTable(CPdbFile* database, CRecordPtr record) {
    if (!record) return false;
    const size_t before = second_.size();
    CStream s;
    s.InitForReading(*record);
    s.MatchByte('=');
    u16 count = 0;
    s.SerializeU16(count);
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        auto entry = std::make_unique<CSecondPicture>();
        s.SerializeStringRef(entry->name);
        s.SerializeStringRef(entry->secondName);
        s.SerializeU16(entry->value);
        s.SerializeU16(entry->recordId);
        if (s.HasError() || second_.size() >= kMaxEntries) break;
        if (second_.size() + 1 >= secondCapacity_) GrowSecondTable(kGrowthStep);
        entry->database = database;
        entry->prefix = kWorldPicturePrefix;
        entry->tableIndex = static_cast<u16>(second_.size());
        second_.push_back(std::move(entry));
    }
    if (s.HasError() || second_.size() - before != count) {
        second_.resize(before);
        return false;
    }
    if (count > 0) records_.push_back(std::move(record));
    return true;
}

CRecordHolder* CTextureSet::FindPicture(const char* name) const {
    u16 index = FindPictureIndex(name);
    return index ? first_[index].get() : nullptr;
}

u16 CTextureSet::FindPictureIndex(const char* name) const {
    if (name == nullptr) return 0;
    for (size_t i = 1; i < first_.size(); ++i)
        if (SameName(first_[i]->name, name)) return static_cast<u16>(i);
    return 0;
}

CSecondPicture* CTextureSet::FindSecondByName(const char* name) const {
    if (name == nullptr) return nullptr;
    for (const auto& entry : second_)
        if (SameName(entry->name, name)) return entry.get();
    return nullptr;
}

u16 CTextureSet::FindSecondIndex(const char* name) const {
    CSecondPicture* entry = FindSecondByName(name);
    return entry ? entry->tableIndex : 0;
}

u16 CTextureSet::IndexOfSecond(const CSecondPicture* entry) const {
    for (size_t i = 0; i < second_.size(); ++i)
        if (second_[i].get() == entry) return static_cast<u16>(i);
    return 65535;
}

CRecordHolder* CTextureSet::PictureAt(u32 index) const {
    return index < first_.size() ? first_[index].get() : nullptr;
}

CSecondPicture* CTextureSet::SecondAt(u32 index) const {
    return index < second_.size() ? second_[index].get() : nullptr;
}

const u8* CTextureSet::DataAt(u32 index) const {
    return index < firstData_.size() ? firstData_[index].data : nullptr;
}
u16 CTextureSet::WidthAt(u32 index) const { return index < firstData_.size() ? firstData_[index].width : 0; }
u16 CTextureSet::HeightAt(u32 index) const {
    return index < firstData_.size() ? firstData_[index].height : 0;
}

bool CTextureSet::EnsureLoaded(CRecordHolder* picture) {
    if (picture == nullptr) return false;
    if (picture->IsLoaded()) return true;
    bool loaded = picture->EnsureLoaded();
    RefreshEntry(picture);
    return loaded;
}

void CTextureSet::RefreshEntry(CRecordHolder* picture) {
    if (picture == nullptr) return;
    const u32 index = picture->tableIndex;
    if (index >= first_.size() || first_[index].get() != picture) return;
    Parallel& p = firstData_[index];
    p.data = GetPictureSize(picture, p.width, p.height);
}

void CTextureSet::UnloadEntry(CRecordHolder* picture) {
    if (picture == nullptr) return;
    picture->Release();
    RefreshEntry(picture);
}

void CTextureSet::RebuildIndex() {
    for (size_t i = 0; i < first_.size(); ++i) {
        first_[i]->tableIndex = static_cast<u16>(i);
        RefreshEntry(first_[i].get());
    }
    for (size_t i = 0; i < second_.size(); ++i) second_[i]->tableIndex = static_cast<u16>(i);
}

void CTextureSet::ReleaseAll() {
    first_.clear();
    firstData_.clear();
    firstCapacity_ = 0;
    second_.clear();
    secondCapacity_ = 0;
    ownedNames_.clear();
    records_.clear();
}

void CTextureSet::TruncateTo(const Mark& mark) {
    if (first_.size() > mark.first) {
        first_.resize(mark.first);
        firstData_.resize(mark.first);
    }
    if (second_.size() > mark.second) second_.resize(mark.second);
    if (records_.size() > mark.records) records_.resize(mark.records);
}

void CTextureSet::Add(const char* name, std::unique_ptr<CRecordHolder> picture) {
    if (first_.empty()) {
        first_.push_back(std::make_unique<CRecordHolder>());
        firstData_.emplace_back();
    }
    ownedNames_.push_back(std::make_unique<std::string>(name ? name : ""));
    picture->name = ownedNames_.back()->c_str();
    picture->tableIndex = static_cast<u16>(first_.size());
    first_.push_back(std::move(picture));
    firstData_.emplace_back();
    RefreshEntry(first_.back().get());
}
