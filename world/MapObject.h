// Map objects: the kinds of thing a world places in its maps (doors, switches, traps, signs, stairs,
// fire, flowers, containers, passages, decorations). The world's record of each kind (record 0x19,
// data/MapObjectRecords.h) becomes one CMapObject of the class its type code names; cells refer to the
// objects by their index in the table, and each placement of an object in a section carries the
// placement's own state (CPlacement). Every operation therefore receives the placement beside the
// object: the object holds what all placements share, the placement what changes at run time.
//
// The placement's state flags mean one thing everywhere (the view, the movement, the creatures and
// the scripts follow this): 0x01 visible (set for a new placement; clear hides it), 0x02 closed, off,
// used, torn, disarmed or broken (clear: open or on), 0x20 a door opening, 0x40 a door closing, 0x80
// marked (a highlight until the view's countdown runs out). No bit means "open".
#pragma once

#include <memory>
#include <vector>

#include "core/Types.h"
#include "script/ScriptTargets.h"
#include "world/CellWindow.h"

struct CMapObjectRecord;
class CMapObjectRecords;
class CMapObjectTable;
class CMapSection;
class CTextureSet;
class IMapObjectHost;
struct CPlacement;
struct CMapCell;
struct CBlockCacheEntry;
struct CWallCacheEntry;

namespace mapobject {
// Placement state flags.
inline constexpr u8 kVisible = 0x01;
inline constexpr u8 kClosed = 0x02;
inline constexpr u8 kOpening = 0x20;
inline constexpr u8 kClosing = 0x40;
inline constexpr u8 kMarked = 0x80;
// Event codes of map objects and creatures.
inline constexpr i32 kEventStep = 1;
inline constexpr i32 kEventLoad = 2;
inline constexpr i32 kEventItem = 4;
inline constexpr i32 kEventHit = 8;
inline constexpr i32 kEventSpell = 16;
inline constexpr i32 kEventUse = 32;
inline constexpr i32 kEventDeath = 64;
// View-flag bits.
inline constexpr u16 kViewUsedWhenWalkedInto = 0x4000;
inline constexpr u16 kViewNightOnly = 0x2000;
inline constexpr u16 kViewBlocksWhileVisible = 0x40;
// The neutral depth of view entries.
inline constexpr u16 kNeutralDepth = 32768;

inline constexpr u8 kFirstTypeCode = 1;
inline constexpr u8 kLastTypeCode = 43;

// Lock and trap levels (0..15, in tens) and the transition kind of the placement's level word.
u8 LockLevel(u16 level);
u8 TrapLevel(u16 level);
void SetLockLevel(u16& level, u32 value);
void SetTrapLevel(u16& level, u32 value);
inline i32 TransitionKind(u16 level) { return level & 7; }
// The script a placement runs on its events instead of its object's own handling: the id in its third
// string (null when it has none).
const char* PlacementScript(const CPlacement& placement);
// The door mode of a cell: 0 no visible way to open, 1 key or lock picking, 2 by hand, 3 inert.
u8 DoorMode(const CMapCell& cell);
// 10 - |dx| - |dy| from the player's cell, clamped to 1..10.
i32 VolumeByDistance(const IMapObjectHost& host, i32 x, i32 y);
}  // namespace mapobject

// The built-in row of a type code: type flags, view word, count and extra (the event mask).
struct CMapObjectTypeRow {
    u32 flags;
    u16 view;
    u16 count;
    u16 extra;
};

class CMapObject {
public:
    CMapObject() = default;
    virtual ~CMapObject() = default;
    CMapObject(const CMapObject&) = delete;
    CMapObject& operator=(const CMapObject&) = delete;

    // The record's fields.
    const char* GetName() const;
    const char* Text(i32 which) const;  // 1..3
    const char* Sound(i32 which) const;  // 1..3
    u16 Param(i32 which) const;          // P0..P5
    u32 FrameNameCount() const;
    const char* FrameName(u32 i) const;
    u16 PictureId(u32 i) const { return i < pictureIds.size() ? pictureIds[i] : 0; }
    u8 GetTypeCode() const { return typeCode; }
    // Whether the object answers an event (its type's event mask, the extra column of its row).
    bool AnswersEvent(i32 code) const { return (typeExtra & code) != 0; }
    // The objects of the table by their text 2 (a door's or a fire's flame); null when none.
    const CMapObject* Flame() const;
    // Hangs picture `frame` of the object on the wall across `side` (0 north, 1 east, 2 south, 3 west)
    // of the cell whose wall description is filled: a flat picture on that edge of the cell, in the
    // edge slot of the part (side + 2) & 3, the same picture seen from the front and from the side.
    // P0 is the height of its foot on the wall and P1 its place along the wall from the viewer's left
    // as they face it, each 1..31 in thirtieths after the first (0: on the floor, in the middle).
    // False when the object has no such picture.
    bool DescribeEdgePicture(CWallCacheEntry& entry, i32 side, u32 frame) const;

    // The virtual operations, with the base behaviour.
    // Adds the object's part to the view word of the cell that holds it.
    virtual void MergeCellViewFlags(u16& viewWord) const {}
    virtual bool IsBlocking(const CPlacement* placement) const { return false; }
    virtual bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                                u16& light) const {
        return false;
    }
    virtual bool DescribeCentreOverlay(const CPlacement* placement, const CMapCell& cell,
                                       CBlockCacheEntry& entry, u16& light) const {
        return false;
    }
    // Fills the part of a wall description that faces the cell across `side`.
    virtual bool DescribeSide(const CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                              i32 side) const {
        return false;
    }
    virtual bool DescribeSideOverlay(const CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                                     i32 side) const {
        return false;
    }
    // Light and animation of a centre object's view entry; `x`, `y` its window cell.
    virtual void UpdateCentreLight(CPlacement* placement, const CMapCell& cell, i32 x, i32 y,
                                   CBlockCacheEntry& entry, u16& light) {}
    virtual void UpdateSideLight(CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                                 i32 side) {}
    virtual void UpdateSideOverlayLight(CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                                        i32 side) {}
    virtual const char* GetAmbientSound(const CPlacement* placement, const CMapCell& cell) const {
        return nullptr;
    }
    virtual const char* GetSideAmbientSound(const CPlacement* placement, const CMapCell& cell) const {
        return nullptr;
    }
    // One animation tick of the game view; `phase` is the cell entry's word whose bits 10..15 hold
    // the animation phase; `entry` the cell's block entry (its pictures may change).
    virtual void AnimateTick(CMapSection* section, CPlacement* placement, const CMapCell& cell, i32 x, i32 y,
                             u16& phase, CBlockCacheEntry* entry) {}
    // Runs a script command on the placed object; x and y its window cell. `redraw` is cleared on
    // entry and set when the view must be rebuilt. Returns 0.
    virtual i32 ExecuteCommand(CMapSection* section, CPlacement* placement, i32 x, i32 y, i32 command,
                               const ScriptArgs& args, ScriptResult& result, bool& redraw);
    // Reacts to an event (mapobject::kEvent...) on the placed object; returns a screen code (0: stay
    // on the game view).
    virtual i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                            bool& redraw) {
        return 0;
    }

    // Pictures: the pictures-needed flag, and the sounds marked in use through `markSound`.
    void RequestPictures(void (*markSound)(void* user, const char* name), void* user);

    const CMapObjectRecord* record = nullptr;
    IMapObjectHost* host = nullptr;
    CMapObjectTable* table = nullptr;
    u8 typeCode = 0;
    u32 typeFlags = 0;
    u16 viewFlags = 0;
    u16 typeExtra = 0;
    u8 cellViewBits = 0;
    std::vector<u16> pictureIds;
    u8 frameCount = 0;
    u8 secondFrameCount = 0;
    bool animated = false;
    bool picturesNeeded = false;

protected:
    // The base commands on the placement's bag (finditem, receiveitem, removeitem, hasitem).
    bool BagCommand(CMapSection* section, CPlacement* placement, i32 command, const ScriptArgs& args,
                    ScriptResult& result);
    void Play(const char* sound, i32 volume = 10) const;
    void PlayAt(const char* sound, i32 x, i32 y) const;
    bool IsNightOrUnderground() const;
};

// The world's map objects in record order: an object's index is the u16 that cells store. The cell
// window asks it about the objects its cells name.
class CMapObjectTable : public ICellObjects {
public:
    static const CMapObjectTypeRow kTypeRows[44];

    CMapObjectTable() = default;
    CMapObjectTable(const CMapObjectTable&) = delete;
    CMapObjectTable& operator=(const CMapObjectTable&) = delete;

    // One object per record of the list, made by the factory (records with a type code outside 1..43
    // never reach the list: the loader skips them). Objects made before stay; the table follows the
    // list as worlds are added or rolled back.
    void Build(const CMapObjectRecords& records, IMapObjectHost* host);
    // The host every object asks (objects built before it existed get it too); null: none.
    void SetHost(IMapObjectHost* host);
    IMapObjectHost* Host() const { return host_; }
    void Clear() { objects_.clear(); }
    // Each object's picture ids from its frame names in the texture set, its frame counts and its
    // animated flag. `usage` (one byte per picture of the set; may be null) marks the pictures.
    void ResolvePictureIds(const CTextureSet& textures, std::vector<u8>* usage);

    u32 Count() const { return static_cast<u32>(objects_.size()); }
    CMapObject* At(u32 index) const { return index < objects_.size() ? objects_[index].get() : nullptr; }
    u16 IndexOf(const CMapObject* object) const;
    CMapObject* FindFirstOfTypeOne() const;
    CMapObject* FindByName(const char* name) const;
    // The name of a picture of the cells' picture list (the texture set's second table); null when
    // none or before ResolvePictureIds.
    const char* PictureName(u16 index) const;
    // Every index the window's cells name has its sounds marked (layers and centre; `full`: sides).
    void MarkSoundsInUse(const CCellWindow& window, bool full, void (*markSound)(void* user, const char* name),
                         void* user);

    // ICellObjects.
    bool IsBlocking(u16 index, const CPlacement* placement) const override;
    u8 TypeCode(u16 index) const override;
    const CViewCellType* CellType(u16 index) const override;
    bool DescribeCentre(u16 index, const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    bool DescribeSide(u16 index, const CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                      i32 side, bool overlay = false) const override;
    u8 CellViewBits(u16 index) const override;
    u16 ViewFlags(u16 index) const override;
    bool HasSound(u16 index) const override;
    const char* GetAmbientSound(const CCellSite& site) const override;
    const char* GetSideAmbientSound(const CCellSite& site) const override;
    // An ambient source (type 43) plays its sound 1 by day and its sound 2 by night.
    const char* GetSourceSound(u16 index, bool day) const override;
    // The light passes change the cell's light value; a door's phase lives in the cell's run-time
    // state byte (0 closed .. 63 open).
    void UpdateCentreLight(const CCellSite& site, CCellView& view, bool alternative) const override;
    void UpdateSideLight(const CCellSite& site, CCellView& view, bool overlay) const override;
    void AnimateTick(const CCellSite& site, CCellView& view) const override;

private:
    const CTextureSet* textures_ = nullptr;
    IMapObjectHost* host_ = nullptr;
    std::vector<CViewCellType> cellTypes_;  // by index, made by ResolvePictureIds
    std::vector<std::unique_ptr<CMapObject>> objects_;
};

// The factory: an object of the class of the type code with the type row's values; null for a type
// code outside 1..43.
std::unique_ptr<CMapObject> CreateMapObject(CMapObjectTable* table, u8 typeCode);
// The same, given the world's record (its view flags and texts; versions below 11 keep the row's view
// word).
std::unique_ptr<CMapObject> CreateMapObject(CMapObjectTable* table, const CMapObjectRecord& record,
                                            IMapObjectHost* host);

// A placed object as the script engine acts on it: the object with its placement.
class CPlacedMapObject : public IScriptMapObject {
public:
    CPlacedMapObject(CMapObject* object, CPlacement* placement) : object(object), placement(placement) {}
    const char* GetName() const override;
    u8 GetTypeByte() const override { return object ? object->typeCode : 0; }
    i8 GetState() const override;
    bool IsClosed() const override;
    i32 ExecuteCommand(const ScriptPlace& place, i32 command, const ScriptArgs& args, ScriptResult& result,
                       bool& changed) override;
    void HandleEvent(i32 eventKind, const ScriptPlace& place, CMapCell* cell, bool& changed) override;

    CMapObject* object;
    CPlacement* placement;
    // The screen code the last event asked for (0: stay on the game view).
    i32 screen = 0;
};
