// The inventory panel over the game view: the bag of the player's cell handed to the panel screen,
// the switch to it with the view kept underneath, and what the panel asks of the view when it closes.
#include "data/ItemBag.h"
#include "data/MapSection.h"
#include "script/ScriptContext.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"
#include "world/MapInteractions.h"
#include "world/MapObject.h"
#include "world/PanelEntry.h"

namespace {

// The panel's reference for the search when it closes: a window cell and the side of it (-1 for the
// centre), with a bit that tells it from "none".
constexpr u32 kCellReferenceBit = 1u << 24;

u32 CellReference(i32 x, i32 y, i32 side) {
    return kCellReferenceBit | (static_cast<u32>(x) & 0xFF) | ((static_cast<u32>(y) & 0xFF) << 8) |
           ((static_cast<u32>(side + 1) & 0xFF) << 16);
}

}  // namespace

u32 CGameScreen::OpenPanel(u32 mode, CItemBag* bag, u32 openingEvent, u32 target) {
    IPanelEntry* panel = host_ ? host_->GetPanelEntry() : nullptr;
    if (!panel) return 0;
    if (mode == 0)
        panel->PrepareContainer(bag, openingEvent, target);
    else
        panel->PrepareInventory(bag, target);
    entryA = mode;
    entryB = 0;  // the bag went through PrepareInventory / PrepareContainer
    entryC = openingEvent;
    entryD = target;
    keepOnStack = 1;
    return kScreenPanels;
}

u32 CGameScreen::OpenGroundBag() {
    if (IsBusy() || !viewWorld || !host_ || !host_->GetPanelEntry()) return 0;
    CMapCell* cell = window.Cell(playerX, playerY);
    CMapSection* at = nullptr;
    i32 sx = 0, sy = 0;
    if (!cell || !window.WindowToSectionCell(playerX, playerY, at, sx, sy) || !at) return 0;
    CItemBag* bag = cell->bag ? at->bags.FindBagById(static_cast<u8>(cell->bag)) : nullptr;
    // A bag word whose bag is gone names nothing: the cell takes a new bag.
    if (!bag) cell->bag = 0;
    const CMapObject* centre = viewWorld->Objects().At(cell->centre);
    madeGroundBag = MadeBag{};
    if (!bag && !(centre && (centre->typeFlags & CMapInteractions::kNoGroundBags))) {
        bag = at->bags.CreateBag(0);
        if (bag) window.PutBagInCell(at, sx, sy, *bag);
        if (bag && cell->bag == bag->id) {
            madeGroundBag = MadeBag{playerX, playerY, bag->id};
        } else if (bag) {
            // A bag lying nowhere could never be found again: nothing can be dropped here.
            at->bags.RemoveBag(bag);
            bag = nullptr;
        }
    }
    // The changed-cell records name window cells (on the surface not the section's).
    if (CScriptContext* context = host_->GetScriptContext()) context->FindOrAddStateRecord(at, 1, playerX, playerY, -1);
    PlaySound("bsnd_bagopen", 10);
    return OpenPanel(1, bag, 0, CellReference(playerX, playerY, -1));
}

u32 CGameScreen::OpenBagInCell() {
    CMapCell* cell = window.Cell(playerX, playerY);
    CMapSection* at = nullptr;
    i32 sx = 0, sy = 0;
    if (!cell || cell->bag == 0 || !window.WindowToSectionCell(playerX, playerY, at, sx, sy) || !at) return 0;
    CItemBag* bag = at->bags.FindBagById(static_cast<u8>(cell->bag));
    if (!bag || !host_ || !host_->GetPanelEntry()) return 0;
    // The small picture of the view as it was when the bag was opened.
    MakeViewThumbnail();
    if (CScriptContext* context = host_->GetScriptContext()) context->FindOrAddStateRecord(at, 1, playerX, playerY, -1);
    PlaySound("bsnd_bagopen", 10);
    return OpenPanel(0, bag, 0, CellReference(playerX, playerY, -1));
}

bool CGameScreen::CellHoldsItems() const {
    const CMapCell* cell = window.Cell(playerX, playerY);
    return cell && viewWorld && cell->centreId != 0 && viewWorld->TypeCode(cell->centre) == typecode::kKind4;
}

void CGameScreen::FindTargetInFront(u32 reference) {
    if (reference & kCellReferenceBit) {
        const i32 x = static_cast<i32>(reference & 0xFF), y = static_cast<i32>((reference >> 8) & 0xFF);
        const i32 side = static_cast<i32>((reference >> 16) & 0xFF) - 1;
        // The container (or the pile) hears that items went in or out: its script or handler may
        // change it, and the cell is drawn again when the view comes back.
        if (CMapCell* cell = window.Cell(x, y))
            TriggerCellEvent(kEventItemUsed, kTargetCentre | kTargetSide, window.SectorSection(x, y), cell, x, y,
                             side, false, nullptr);
    }
    rebuildRequested = true;
    viewChanged = true;
}

void CGameScreen::ForgetEmptyGroundBag() {
    const MadeBag made = madeGroundBag;
    madeGroundBag = MadeBag{};
    if (made.id == 0) return;
    CMapCell* cell = window.Cell(made.x, made.y);
    CMapSection* at = nullptr;
    i32 sx = 0, sy = 0;
    if (!cell || cell->bag != made.id || !window.WindowToSectionCell(made.x, made.y, at, sx, sy) || !at) return;
    CItemBag* bag = at->bags.FindBagById(made.id);
    if (!bag || bag->GetItemCount() != 0) return;
    at->bags.RemoveBag(bag);
    cell->bag = 0;
}
