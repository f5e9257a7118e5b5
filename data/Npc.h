// The world's NPCs, with their own items and dialogue, the portraits (head pictures), whether an NPC
// is willing to talk to the player, and a merchant's stock.
#pragma once

#include "core/NamedObject.h"
#include "core/PointerArray.h"
#include "core/Types.h"
#include "data/Dialogue.h"
#include "data/RecordReader.h"

class CItemCatalogue;
class CItemType;
class CMonsterType;
struct CMapObjectRecord;
class CRandom;
class IRulePlayer;
struct CItemInstance;

struct CNpcItem {
    const char* first = nullptr;
    const char* second = nullptr;
};

class CNpc : public CNamedObject {
public:
    CNpc() = default;
    ~CNpc() override { Release(); }
    CNpc(const CNpc&) = delete;
    CNpc& operator=(const CNpc&) = delete;
    void Release();

    // The names of the record's fields.
    const char* GetPortraitId() const { return texts[0]; }
    const char* GetTalkProfileId() const { return texts[1]; }
    const char* GetWelcomeText() const { return texts[2]; }
    const char* GetPriceVariable() const { return texts[3]; }
    u8 GetRace() const { return bytes[0]; }
    u8 GetPriceLevel() const { return bytes[1]; }
    u8 GetServiceFlags() const { return bytes[2]; }
    u8 GetEnchantLevel() const { return bytes[3]; }
    u8 GetTrainerMaximum() const { return bytes[4]; }

    const char* texts[6] = {};
    u8 hours = 1;  // 1 day, 2 night
    u32 maxPayment = 0;
    u8 merchantLevel = 0;            // the random-item group of its stock
    CPointerArray* items = nullptr;  // CNpcItem
    CDialogue* dialogue = nullptr;
    u16 classMask = 0;  // the item classes it deals in; bit 7 asks for the full assortment
    u8 bytes[5] = {1, 10, 16, 10, 10};
    u8 trainerSkill = 0;
    u16 maxBet = 10;
    u8 markByte = 1;
    u32 talkFlag = 0;
};

// The picture shown for a talk partner without a portrait of its own: for a map object of type code 12
// the second of its picture names; for a creature, a person's own picture name or else its kind's
// second look; "bres_headunknown" when the partner gives no name. Either partner may be null.
inline constexpr const char* kUnknownPortrait = "bres_headunknown";
const char* GetPortraitName(const CMapObjectRecord* object, const CMonsterType* creature);

class CNpcList {
public:
    ~CNpcList() { Clear(); }
    // The count record, then one record per NPC. False when one is missing or unreadable.
    bool Load(CRecordReader& reader, u32 version);
    void Clear();
    void Free() { Clear(); }
    int Count() const { return npcs_.GetCount(); }
    CNpc* At(int i) const { return npcs_.At<CNpc>(i); }
    CNpc* FindById(const char* id) const { return FindRecordById<CNpc>(npcs_, id); }

    CListMark GetMark() const { return {npcs_.GetCount(), buffers_.Count()}; }
    void RollBack(const CListMark& mark) {
        TruncateElements<CNpc>(npcs_, mark.elements);
        buffers_.TruncateTo(mark.records);
    }

private:
    CPointerArray npcs_;
    CLoadedRecords buffers_;
};

struct CPortrait : CNamedObject {
    u8 selectable = 0;
};

class CPortraitList {
public:
    ~CPortraitList() { Clear(); }
    bool Load(CRecordReader& reader, u32 version);
    bool LoadRecord(CRecordData* record, u32 version);
    void Clear();
    void Free() { Clear(); }
    int Count() const { return portraits_.GetCount(); }
    CPortrait* At(int i) const { return portraits_.At<CPortrait>(i); }
    CPortrait* FindById(const char* id) const { return FindRecordById<CPortrait>(portraits_, id); }

    CListMark GetMark() const { return {portraits_.GetCount(), buffers_.Count()}; }
    void RollBack(const CListMark& mark) {
        TruncateElements<CPortrait>(portraits_, mark.elements);
        buffers_.TruncateTo(mark.records);
    }

private:
    CPointerArray portraits_;
    CLoadedRecords buffers_;
};

// Whether the NPC talks to the player, from the player's fame, personality, crime and race.
void UpdateNpcWillingness(const IRulePlayer& player, CNpc& npc, bool night);

// A merchant's container as the stock builder fills it.
class IShopStock {
public:
    virtual ~IShopStock() = default;
    virtual u8& StockFlags() = 0;
    virtual void RemoveAllItems() = 0;
    virtual bool HoldsItemType(const CItemType& type) const = 0;
    virtual void AddItem(CItemInstance* item) = 0;
    virtual void AddStockEntry(const CItemType& type, u32 word, u16 condition) = 0;
};

// Fills a merchant's stock once (bit 7 of the stock flags marks it filled).
void CreateShopStock(const CNpc& merchant, const CItemCatalogue& catalogue, CRandom& random,
                     IShopStock& stock);
// The condition word of a stock entry of the type.
u16 GetStockCondition(const CItemType& type, CRandom& random);
