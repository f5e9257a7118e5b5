#include "screens/frontend/CreationDialogs.h"

#include <cstring>

#include "core/Sort.h"
#include "core/Str.h"
#include "data/Npc.h"
#include "data/RecordHolder.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "display/FontSet.h"
#include "screens/ScreenHost.h"
#include "screens/frontend/DialogKit.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"

namespace {

constexpr u32 kTitleColour = 0xFFFFFF, kTextColour = 0xC8C8C8, kOutlineColour = 0x161616;
constexpr u32 kLinkPressed = 0x00FFFF;

// A list of one font's rows that shows its page from the top with the chosen row.
void SetupChoiceList(CListBox& list, CFontSet* fonts) {
    list.ResetItems();
    list.font = 1;
    list.textColour = kTextColour;
    const CBitmapFont* font = fonts != nullptr ? fonts->Font(1) : nullptr;
    list.rowHeight = font != nullptr ? font->LineHeight() : 16;
    if (list.rowHeight <= 0) list.rowHeight = 16;
    list.highlight = 1;
    list.highlightBarColour = 0x2A6A9A;
    list.highlightTextColour = 0xE8F8FF;
}

void FinishChoiceList(CListBox& list, i32 selected) {
    list.visibleRows = list.h / list.rowHeight;
    list.selection = selected;
    list.topRow = 0;
    list.state |= kWidgetRedraw;
}

void PlaceTitle(CForm& form, CTextLabel& title, u16 group, u32 id, const char* text, u32 font, u32 outline) {
    if (PlaceInLayout(form, title, group, id))
        SetupLabel(title, text, font, CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, kTitleColour,
                   outline);
}

void PlaceOkCancel(CForm& form, CBitmapButton& ok, CBitmapButton& cancel, u16 group) {
    if (PlaceInLayout(form, ok, group, 25)) SetupOkButton(ok, form.game);
    if (PlaceInLayout(form, cancel, group, 26)) SetupCancelButton(cancel, form.game);
}

u32 HandToParent(CForm& form, u32 command) {
    PlayInterfaceSound(form.game, 1, 10);
    return form.parent != nullptr ? form.parent->OnCommand(command) : 0;
}

}  // namespace

// --- race ---

CRaceDialog::~CRaceDialog() { Close(); }

void CRaceDialog::Open(u32 newRace) {
    for (u32 n = 1; n <= 5; ++n) {
        if (pictures[n] != nullptr && pictures[n]->IsLoaded()) continue;
        pictures[n] = std::make_unique<CRecordHolder>();
        pictures[n]->Load(dataDb, static_cast<u16>(kRacePictureBase + n));
    }
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);
    if (PlaceInLayout(*this, frame, kLayoutGroup, 19)) SetupFramePiece(frame, DialogFrameSet(game), 15);
    PlaceTitle(*this, title, kLayoutGroup, 16, "Select a race", 1, kOutlineColour);
    if (PlaceInLayout(*this, separator, kLayoutGroup, 205))
        SetupFramePiece(separator, CompactFrameSet(game), 1);
    if (PlaceInLayout(*this, box, kLayoutGroup, 201)) SetupFramePiece(box, CompactFrameSet(game), 15);
    PlaceInLayout(*this, list, kLayoutGroup, kListId);
    SetupChoiceList(list, fonts);
    static const char* const kRaces[] = {"Rasvim", "Etherim", "Seiry", "Derth", "Nogur"};
    for (u32 i = 0; i < 5; ++i) list.AddItemWithValue(kRaces[i], i + 1);
    FinishChoiceList(list, static_cast<i32>(newRace) - 1);
    PlaceInLayout(*this, picture, kLayoutGroup, 202);
    picture.EnablePen(0);
    CTextLabel* texts[] = {&description, &effectsFirst, &effectsSecond};
    const u32 ids[] = {203, 204, 206};
    for (int i = 0; i < 3; ++i)
        if (PlaceInLayout(*this, *texts[i], kLayoutGroup, ids[i]))
            SetupLabel(*texts[i], "", 1, CTextLabel::kAlignLeft, kTextColour, kOutlineColour);
    PlaceOkCancel(*this, okButton, cancelButton, kLayoutGroup);
    race = newRace >= 1 && newRace <= 5 ? newRace : 2;
    ShowRace();
    ResetInputGuard();
}

void CRaceDialog::Close() {
    for (std::unique_ptr<CRecordHolder>& holder : pictures) {
        if (holder != nullptr) holder->Release();
        holder.reset();
    }
}

void CRaceDialog::ShowRace() {
    CRecordHolder* shown = race < 6 ? pictures[race].get() : nullptr;
    picture.SetPicture(shown, 0, 0, 0);
    const CRuleContext& rules = host_.GetRules();
    const CRaceEntry* entry =
        rules.races != nullptr ? rules.races->GetEntry(static_cast<int>(race)) : nullptr;
    description.SetText(entry != nullptr && entry->text2 != nullptr ? entry->text2 : "");
    description.Layout();
    // A race whose ability is missing shows no effects rather than a stranger's.
    const CAbility* ability = nullptr;
    if (entry != nullptr && entry->text1 != nullptr && rules.abilities != nullptr)
        ability = rules.abilities->FindById(entry->text1);
    CStr first, second;
    if (ability != nullptr) {
        const int n = ability->effects.Count();
        FormatAbilityEffectsRange(*ability, rules, game != nullptr ? game->GetLayoutMode() : 15, first, 0,
                                  n / 2);
        FormatAbilityEffectsRange(*ability, rules, game != nullptr ? game->GetLayoutMode() : 15, second,
                                  n / 2, n);
    }
    effectsFirst.SetText(first.GetText());
    effectsFirst.Layout();
    effectsSecond.SetText(second.GetText());
    effectsSecond.Layout();
    flags |= kFormRedrawAll;
}

u32 CRaceDialog::OnCommand(u32 command) {
    if (command == kListId) {
        // A tap beside the rows leaves the selection where it was.
        if (list.ValidSelection() < 0) {
            list.selection = static_cast<i32>(race) - 1;
            return 0;
        }
        race = list.GetSelectedValue();
        PlayInterfaceSound(game, 0, 10);
        ShowRace();
        return 0;
    }
    if (command == 25 || command == 26) return HandToParent(*this, command);
    return 0;
}

// --- class ---

CClassDialog::CClassDialog(CScreenHost& host) : host_(host) { FillCharacterClassTable(classes); }

void CClassDialog::Open() {
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);
    if (PlaceInLayout(*this, frame, kLayoutGroup, 19)) SetupFramePiece(frame, DialogFrameSet(game), 15);
    PlaceTitle(*this, title, kLayoutGroup, 16, "Select a class", 1, kOutlineColour);
    if (PlaceInLayout(*this, separator, kLayoutGroup, 55))
        SetupFramePiece(separator, CompactFrameSet(game), 1);
    if (PlaceInLayout(*this, box, kLayoutGroup, 54)) SetupFramePiece(box, CompactFrameSet(game), 15);
    PlaceInLayout(*this, list, kLayoutGroup, kListId);
    SetupChoiceList(list, fonts);
    for (u32 id = 1; id <= static_cast<u32>(kClassCount); ++id)
        list.AddItemWithValue(classes.entries[id].displayName, id);
    FinishChoiceList(list, 0);
    if (PlaceInLayout(*this, heading, kLayoutGroup, 56))
        SetupLabel(heading, "Primary skills:", 1, CTextLabel::kAlignLeft, kTitleColour, kOutlineColour);
    for (u32 i = 0; i < 6; ++i)
        if (PlaceInLayout(*this, skillLabels[i], kLayoutGroup, kFirstSkillLabel + i))
            SetupLabel(skillLabels[i], "", 1, CTextLabel::kAlignLeft, kTextColour, kOutlineColour);
    PlaceOkCancel(*this, okButton, cancelButton, kLayoutGroup);
    classId = 1;
    ShowClassSkills();
    ResetInputGuard();
}

void CClassDialog::ShowClassSkills() {
    const CSkillTable* table = host_.GetRules().skills;
    for (u32 i = 0; i < 6; ++i) {
        skills[i] =
            classId >= 1 && classId <= static_cast<u32>(kClassCount) ? classes.entries[classId].skills[i] : 0;
        const char* name = table != nullptr ? table->GetName(static_cast<int>(skills[i])) : nullptr;
        skillLabels[i].SetText(name != nullptr ? name : "");
        skillLabels[i].Layout();
        skillLabels[i].state |= kWidgetRedraw;
    }
    flags |= kFormRedrawAll;
}

u32 CClassDialog::OnCommand(u32 command) {
    if (command == kListId) {
        PlayInterfaceSound(game, 0, 10);
        if (list.ValidSelection() < 0) {
            list.selection = static_cast<i32>(classId) - 1;
            return 0;
        }
        classId = list.GetSelectedValue();
        ShowClassSkills();
        return 0;
    }
    if (command == 25 || command == 26) return HandToParent(*this, command);
    return 0;
}

// --- skill ---

void CSkillDialog::Open(u32 newSkill) {
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);
    if (PlaceInLayout(*this, frame, kLayoutGroup, 19)) SetupFramePiece(frame, DialogFrameSet(game), 15);
    PlaceTitle(*this, title, kLayoutGroup, 16, "Select a skill", 1, kOutlineColour);
    if (PlaceInLayout(*this, box, kLayoutGroup, 83)) SetupFramePiece(box, CompactFrameSet(game), 15);
    const CSkillTable* table = host_.GetRules().skills;
    const bool medium =
        game != nullptr && game->GetLayoutMode() != 2 && IsCompactLayout(game->GetLayoutMode());
    for (u32 i = 1; i <= 20; ++i) {
        if (!PlaceInLayout(*this, links[i], kLayoutGroup, LinkIdOf(i))) continue;
        const char* name = table != nullptr ? table->GetName(static_cast<int>(i), medium) : nullptr;
        links[i].Setup(name != nullptr ? name : "", LinkIdOf(i), kTextColour, kLinkPressed, kOutlineColour);
    }
    if (PlaceInLayout(*this, heading, kLayoutGroup, 85))
        SetupLabel(heading, "Skill description:", 1, CTextLabel::kAlignLeft, kTitleColour, kOutlineColour);
    if (PlaceInLayout(*this, description, kLayoutGroup, 84))
        SetupLabel(description, "", 1, CTextLabel::kAlignLeft, kTextColour, kOutlineColour);
    PlaceOkCancel(*this, okButton, cancelButton, kLayoutGroup);
    skill = newSkill;
    SelectSkill(LinkIdOf(newSkill));
    ResetInputGuard();
}

void CSkillDialog::SelectSkill(u32 id) {
    const CSkillTable* table = host_.GetRules().skills;
    for (u32 i = 1; i <= 20; ++i) {
        if (id == LinkIdOf(i)) {
            skill = i;
            links[i].state |= kWidgetLatched | kWidgetRedraw;
            const CSkillEntry* entry = table != nullptr ? table->GetEntry(static_cast<int>(i)) : nullptr;
            description.SetText(entry != nullptr && entry->text != nullptr ? entry->text : "");
            description.Layout();
            flags |= kFormRedrawAll;
        } else {
            links[i].state = static_cast<u16>((links[i].state & ~kWidgetLatched) | kWidgetRedraw);
        }
    }
}

u32 CSkillDialog::OnCommand(u32 command) {
    if (command >= kFirstLinkId && command < kFirstLinkId + 20) {
        PlayInterfaceSound(game, 0, 10);
        SelectSkill(command);
        return 0;
    }
    if (command == 25 || command == 26) return HandToParent(*this, command);
    return 0;
}

// --- faces ---

namespace {

int CompareNames(const void* a, const void* b) {
    return std::strcmp(*static_cast<const char* const*>(a), *static_cast<const char* const*>(b));
}

}  // namespace

void CollectSelectableFaces(const CScreenHost& host, std::vector<const char*>& faceNames) {
    faceNames.clear();
    const CPortraitList& portraits = host.GetPortraits();
    for (int i = 0; i < portraits.Count(); ++i) {
        const CPortrait* p = portraits.At(i);
        if (p != nullptr && p->selectable != 0 && p->GetName() != nullptr) faceNames.push_back(p->GetName());
    }
    if (!faceNames.empty())
        SortArray(faceNames.data(), static_cast<u32>(faceNames.size()), sizeof(const char*), CompareNames);
}

i32 FindFace(const std::vector<const char*>& faceNames, const char* name) {
    if (name == nullptr) return -1;
    for (size_t i = 0; i < faceNames.size(); ++i)
        if (std::strcmp(faceNames[i], name) == 0) return static_cast<i32>(i);
    return -1;
}

void CFaceDialog::Open(const char* currentFace) {
    RemoveAllWidgets();
    CentreDialog(*this, kLayoutGroup);
    if (PlaceInLayout(*this, frame, kLayoutGroup, 19)) SetupFramePiece(frame, DialogFrameSet(game), 15);
    PlaceTitle(*this, title, kLayoutGroup, 35, "Select player face", 2, 0x585858);
    PlaceInLayout(*this, face, kLayoutGroup, 36);
    if (PlaceInLayout(*this, leftArrow, kLayoutGroup, kLeftArrow)) {
        SetupPicturePair(leftArrow, game, kPictureFaceArrows, kLeftArrow);
    }
    if (PlaceInLayout(*this, rightArrow, kLayoutGroup, kRightArrow)) {
        SetupPicturePair(rightArrow, game, kPictureFaceArrows + 2, kRightArrow);
    }
    PlaceOkCancel(*this, okButton, cancelButton, kLayoutGroup);
    CollectSelectableFaces(host_, faceNames);
    faceIndex = FindFace(faceNames, currentFace);
    UpdateArrows();
    ShowFace();
    ResetInputGuard();
}

void CFaceDialog::UpdateArrows() {
    leftArrow.EnablePen(faceIndex > 0 ? 1 : 0);
    rightArrow.EnablePen(faceIndex < static_cast<i32>(faceNames.size()) - 1 ? 1 : 0);
    leftArrow.state |= kWidgetRedraw;
    rightArrow.state |= kWidgetRedraw;
}

void CFaceDialog::ShowFace() {
    CRecordHolder* shown = nullptr;
    if (const char* name = ChosenFace()) shown = host_.LoadTexturePicture(name);
    if (shown == nullptr && game != nullptr) shown = game->GetInterfacePicture(kPictureFallbackFace);
    face.SetBitmap(shown);
    face.state |= kWidgetRedraw;
}

const char* CFaceDialog::ChosenFace() const {
    return faceIndex >= 0 && faceIndex < static_cast<i32>(faceNames.size()) ? faceNames[faceIndex] : nullptr;
}

u32 CFaceDialog::OnCommand(u32 command) {
    // An inert arrow cannot step, and a stray command keeps the position inside the list too.
    if (command == kLeftArrow && faceIndex > 0)
        --faceIndex;
    else if (command == kRightArrow && faceIndex < static_cast<i32>(faceNames.size()) - 1)
        ++faceIndex;
    else if (command == 25 || command == 26)
        return HandToParent(*this, command);
    else
        return 0;
    PlayInterfaceSound(game, 0, 10);
    UpdateArrows();
    ShowFace();
    return 0;
}
