// The remaining map-object classes: switches, the flower that can be torn for an item, signs, the
// passages that move the player to another map (doorways, stairs, wall openings, fire), containers,
// the item holder that scripts fill, and the decorations that are only drawn. A placement's flag 0x02
// means off (switches), torn (flowers), broken (type 35) or silent; its text holds a sign's text or a
// passage's target "destination" or "destination#question".
#pragma once

#include <string>

#include "world/MapObject.h"

class CItemType;

// A passage text split at its first "#": the destination and the question asked before moving (empty
// when there is none). A text that begins with "#" moves nowhere.
struct CPassageText {
    std::string destination;
    std::string question;
    bool Moves() const { return !destination.empty(); }
    bool Asks() const { return !question.empty(); }
};
CPassageText SplitPassageText(const char* text);

// Blocking while the placement is missing or visible.
class CBlockingWhileShown : public CMapObject {
public:
    bool IsBlocking(const CPlacement* placement) const override;
};

// Blocking as the doorways are: while view flag 0x40 is set and the placement is missing or visible.
class CDoorwayBlocking : public CMapObject {
public:
    bool IsBlocking(const CPlacement* placement) const override;
};

// Objects drawn as one centre block of a fixed kind.
class CCentreKindObject : public CMapObject {
public:
    explicit CCentreKindObject(u8 kind) : kind_(kind) {}
    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;

private:
    u8 kind_;
};

class CSolidObject : public CMapObject {
public:
    bool IsBlocking(const CPlacement*) const override { return true; }
    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    bool DescribeCentreOverlay(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                               u16& light) const override;
};

class CItemHolderObject : public CMapObject {
public:
    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    const char* GetAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
    i32 ExecuteCommand(CMapSection* section, CPlacement* placement, i32 x, i32 y, i32 command,
                       const ScriptArgs& args, ScriptResult& result, bool& redraw) override;
};

class CDecorObject5 : public CBlockingWhileShown {
public:
    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    bool DescribeCentreOverlay(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                               u16& light) const override;
};

// Objects drawn on a wall side (and its overlay when `overlay`).
class CWallSideObject : public CMapObject {
public:
    bool DescribeSide(const CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                      i32 side) const override;
    bool DescribeSideOverlay(const CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                             i32 side) const override;
};

class CWallFaceObject : public CWallSideObject {};
class CWallDecorObject : public CWallSideObject {};
class CWallPictureObject : public CWallSideObject {
public:
    bool DescribeSideOverlay(const CPlacement*, const CMapCell&, CWallCacheEntry&, i32) const override {
        return false;
    }
};

// Passages that add their cell view bits to the view word and follow the ambient rule.
class CPassageObject : public CDoorwayBlocking {
public:
    void MergeCellViewFlags(u16& viewWord) const override { viewWord |= cellViewBits; }
    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    const char* GetAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

class CWallPassageObject : public CWallSideObject {
public:
    void MergeCellViewFlags(u16& viewWord) const override { viewWord |= cellViewBits; }
    const char* GetAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
    const char* GetSideAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

class CWallPassageObject2 : public CWallSideObject {
public:
    void MergeCellViewFlags(u16& viewWord) const override { viewWord |= cellViewBits; }
    const char* GetSideAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

class CFlowerObject : public CMapObject {
public:
    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
    // The item type the flower yields in that cell; null when none.
    const CItemType* FindYield(const CMapCell& cell) const;
};

class CWallContainerObject : public CWallSideObject {
public:
    bool DescribeSideOverlay(const CPlacement*, const CMapCell&, CWallCacheEntry&, i32) const override {
        return false;
    }
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};
class CWallContainerObject17 : public CWallContainerObject {};

class CCentrePassageObject : public CMapObject {
public:
    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

// The large and the secret switch: use toggles them.
class CLargeSwitch : public CWallSideObject {
public:
    void MergeCellViewFlags(u16& viewWord) const override { viewWord |= 0x02; }
    // On, its first picture; off, its second.
    bool DescribeSide(const CPlacement* placement, const CMapCell& cell, CWallCacheEntry& entry,
                      i32 side) const override;
    bool DescribeSideOverlay(const CPlacement*, const CMapCell&, CWallCacheEntry&, i32) const override {
        return false;
    }
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;

protected:
    virtual const char* OnSound() const { return "bsnd_switchlargeon"; }
    virtual const char* OffSound() const { return "bsnd_switchlargeoff"; }
};

class CSecretSwitch : public CLargeSwitch {
protected:
    const char* OnSound() const override { return "bsnd_switchsecreton"; }
    const char* OffSound() const override { return "bsnd_switchsecretoff"; }
};

class CFloorSwitch : public CCentreKindObject {
public:
    CFloorSwitch() : CCentreKindObject(1) {}
    void MergeCellViewFlags(u16& viewWord) const override { viewWord |= 0x02; }
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

class CSignObject : public CCentreKindObject {
public:
    CSignObject() : CCentreKindObject(1) {}
    bool IsBlocking(const CPlacement* placement) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

class COverlayDecorObject : public CMapObject {
public:
    bool DescribeCentreOverlay(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                               u16& light) const override;
};

class CStairsObject : public CCentreKindObject {
public:
    CStairsObject() : CCentreKindObject(1) {}
    const char* GetAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

class CDecorObject26 : public CCentreKindObject {
public:
    CDecorObject26() : CCentreKindObject(1) {}
    bool IsBlocking(const CPlacement* placement) const override;
};
class CDecorObject38 : public CDecorObject26 {};

class CViewMarkerObject : public CCentreKindObject {
public:
    CViewMarkerObject() : CCentreKindObject(5) {}
    const char* GetAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
};

class CDecorObject29 : public CCentreKindObject {
public:
    CDecorObject29() : CCentreKindObject(4) {}
};

class CDecorObject32 : public CCentreKindObject {
public:
    CDecorObject32() : CCentreKindObject(1) {}
    bool IsBlocking(const CPlacement* placement) const override;
};

class CFireObject : public CMapObject {
public:
    bool IsBlocking(const CPlacement*) const override { return true; }
    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    void UpdateCentreLight(CPlacement* placement, const CMapCell& cell, i32 x, i32 y, CBlockCacheEntry& entry,
                           u16& light) override {
        DescribeCentre(placement, cell, entry, light);
    }
    const char* GetAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

// Features that stand while visible and not broken.
class CFeatureObject35 : public CCentreKindObject {
public:
    CFeatureObject35() : CCentreKindObject(10) {}
    bool IsBlocking(const CPlacement* placement) const override;
    i32 HandleEvent(i32 code, CMapSection* section, CPlacement* placement, CMapCell* cell, i32 x, i32 y,
                    bool& redraw) override;
};

class CFeatureObject37 : public CCentreKindObject {
public:
    CFeatureObject37() : CCentreKindObject(10) {}
    bool IsBlocking(const CPlacement* placement) const override;
    const char* GetAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
};

class CScriptOnlyObject : public CMapObject {};

class CDecorObject41 : public CDoorwayBlocking {
public:
    bool DescribeCentre(const CPlacement* placement, const CMapCell& cell, CBlockCacheEntry& entry,
                        u16& light) const override;
    const char* GetAmbientSound(const CPlacement* placement, const CMapCell& cell) const override;
};
