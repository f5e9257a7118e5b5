#include "screens/npc/TalkScreen.h"

#include "data/Npc.h"
#include "data/WorldRecords.h"
#include "screens/ScreenHost.h"
#include "screens/npc/NpcHeader.h"
#include "screens/frontend/FrontendWidgets.h"
#include "script/ConditionEvaluator.h"
#include "script/ScriptContext.h"
#include "script/ScriptEngine.h"
#include "script/ScriptMessages.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/WidgetHelpers.h"
#include "world/Player.h"

namespace {

constexpr u32 kSpeech = 290, kLinkArea = 291;
constexpr u32 kLinkColour = 0xffffff;
constexpr u32 kAnswerColour = 0x64f0fa;
constexpr u32 kPreviousPage = 558, kNextPage = 559;
constexpr u32 kLinesPerPage = 6;
constexpr u16 kArrowLeftPicture = 4154;
constexpr u16 kArrowRightPicture = 4156;

// Without a way to test conditions none holds: only what has no condition is said.
class CNoConditions : public IConditionEvaluator {
public:
    bool Holds(const CConditionRef&) const override { return false; }
};
const CNoConditions kNoConditions;

bool SmallMode(u32 mode) {
    return mode == 2 || mode == 5 || mode == 6 || mode == 7 || mode == 8 || mode == 12 || mode == 13 ||
           mode == 16;
}
bool LargeMode(u32 mode) { return mode == 9 || mode == 10 || mode == 11 || mode == 14 || mode == 15; }

}  // namespace

i32 CTalkScreen::LinkStep() const {
    const u32 mode = host_.GetLayoutMode();
    return SmallMode(mode) ? 16 : LargeMode(mode) ? 28 : 22;
}

void CTalkScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    screenState = kTalking;
    betDialog.Attach(game);
    messageBar.Attach(game);
    npc_ = host_.GetNpcForEntry(b);
    hasProfile_ = npc_ && npc_->GetTalkProfileId() && *npc_->GetTalkProfileId();
    if (npc_) {
        bool night = false;
        if (CScriptContext* context = host_.GetScriptContext())
            if (IScriptWorld* world = context->GetWorld())
                night = SkyTimeClassOfHour(world->GetClock() / 60 % 24) == 2;
        UpdateNpcWillingness(host_.GetPlayer(), *npc_, night);
    }
    // The partner of the talk's conditions and of the scripts its lines run (%NPCName%).
    IScriptNpc* partner = nullptr;
    if (CScriptContext* context = host_.GetScriptContext())
        if (IScriptWorld* world = context->GetWorld())
            partner = npc_ ? world->FindNpc(npc_->GetName()) : nullptr;
    const IConditionEvaluator* conditions = host_.GetDialogueConditions();
    ownConditions_.reset();
    if (!conditions && host_.GetScriptContext()) {
        ownConditions_ = std::make_unique<CScriptConditionEvaluator>(*host_.GetScriptContext(), partner);
        conditions = ownConditions_.get();
    }
    conversation_ = std::make_unique<CConversation>(npc_ ? npc_->dialogue : nullptr,
                                                    conditions ? *conditions : kNoConditions, *this);

    PlaceNpcHeader(*this, kLayoutGroup, {&columnFrame, &linkFrame, &headerFrame, 554}, portrait, nameLabel, npc_);
    links.clear();
    if (PlaceWidget(*this, speechView, kLayoutGroup, kSpeech)) {
        speechView.SetColors(0xc8f0fa, 0x20baba, 0xc8f0fa, 0,
                             game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr);
        speechView.Clear();
        // The talk is drawn whole at once: a line never holds the window's thread.
        speechView.noPauses = 1;
    }
    if (CScriptContext* context = host_.GetScriptContext()) context->SetupTalkEvent(partner);
    linkPage = 0;
    if (PagedLayout()) {
        PlacePictureButton(*this, previousPage, kLayoutGroup, kPreviousPage, kArrowLeftPicture,
                           static_cast<u16>(kArrowLeftPicture + 1), true);
        PlacePictureButton(*this, nextPage, kLayoutGroup, kNextPage, kArrowRightPicture,
                           static_cast<u16>(kArrowRightPicture + 1), true);
        previousPage.Show(0);
        nextPage.Show(0);
    }
    RebuildLinks();
    flags |= kFormRedrawAll;
    Draw();
    greetingPending_ = true;
    ResetInputGuard();
}

void CTalkScreen::Leave() {
    // However the talk ends, later messages are no longer its speech.
    if (CScriptContext* context = host_.GetScriptContext())
        if (context->GetRouting() == kRouteTalk) context->SetRouting(kRouteGameView);
    keepOnStack = 0;
    RemoveAllWidgets();
    links.clear();
}

u32 CTalkScreen::OnTick(u32 tick) {
    if (greetingPending_ && conversation_) {
        greetingPending_ = false;
        conversation_->Start();
        RebuildLinks();
        Redraw();
    }
    return CScreen::OnTick(tick);
}

void CTalkScreen::AppendSpeech(const char* text, int style, bool startsUtterance) {
    CStr expanded(text ? text : "");
    if (CScriptContext* context = host_.GetScriptContext()) ExpandTextMacros(*context, expanded);
    speechView.AddText(expanded.GetText(), static_cast<u32>(style), startsUtterance ? 1 : 0);
}

void CTalkScreen::RunLineScript(const u8* code, u32 size) {
    CScriptContext* context = host_.GetScriptContext();
    CScriptEngine* engine = context ? context->GetEngine() : nullptr;
    if (!engine) return;
    context->SetRouting(kRouteTalk);
    if (engine->LoadScript(code, size) != 0) {
        context->PostScriptError();
        return;
    }
    engine->Run();
}

void CTalkScreen::SetAnswerNumber(i32 answer) {
    if (CScriptContext* context = host_.GetScriptContext()) context->SetAnswer(answer);
}

void CTalkScreen::SetChosenEntry(const char* text) {
    if (CScriptContext* context = host_.GetScriptContext()) context->SetChosenEntry(text);
}

bool CTalkScreen::NeedsContinue(int) {
    // The answers stand in the link column, so only text still waiting in the view holds the talk.
    if (!speechView.IsShown() || speechView.visibleRows <= 0) return false;
    speechView.Draw();
    return speechView.HasPending();
}

void CTalkScreen::EndTalk() {
    if (!conversation_) return;
    conversation_->EndTalk();
    RebuildLinks();
    Redraw();
}

void CTalkScreen::SetGoNext() {
    if (conversation_) conversation_->SetGoNext();
}

void CTalkScreen::SetGoFirst() {
    if (conversation_) conversation_->SetGoFirst();
}

void CTalkScreen::CreateObjectList() {
    if (conversation_) conversation_->CreateObjectList();
}

void CTalkScreen::AddListEntry(const char* id, const char* title) {
    if (conversation_) conversation_->AddListEntry(id, title);
}

void CTalkScreen::ShowScriptText(const char* text, i32 style) {
    speechView.AddText(text ? text : "", static_cast<u32>(style), 1);
}

void CTalkScreen::AddLink(const char* text, u32 command, u32 colour, bool pen, i32& y) {
    const u8* area = FindLayoutRect(game, kLayoutGroup, kLinkArea);
    if (!area) return;
    CWidget probe;
    probe.SetLayoutRect(area);
    const i32 margin = SmallMode(host_.GetLayoutMode()) ? 1 : 10;
    auto link = std::make_unique<CTextLink>();
    link->Attach(this);
    link->SetupAt(text, command, static_cast<u16>(probe.x + margin), static_cast<u16>(y),
                  static_cast<u16>(probe.w - margin), static_cast<u16>(LinkStep()), colour, 0, 0);
    link->EnablePen(pen ? 1 : 0);
    y += link->h > 0 ? link->h : LinkStep();
    AddWidget(link.get());
    links.push_back(std::move(link));
}

void CTalkScreen::RebuildLinks() {
    for (auto& link : links) RemoveWidget(link.get());
    links.clear();
    RemoveWidget(&exitLink);
    RemoveWidget(&continueButton);
    const u8* area = FindLayoutRect(game, kLayoutGroup, kLinkArea);
    if (!area) return;
    CWidget rect;
    rect.SetLayoutRect(area);
    i32 y = rect.y;
    using Phase = CConversation::Phase;
    const Phase phase = conversation_ ? conversation_->GetPhase() : Phase::Idle;
    const bool atMenu = phase == Phase::Menu;
    if (phase != Phase::Ended) {
        // Services and topics stay in view while a line waits for the player, without the pen.
        for (const ServiceButton& s : GetTalkServiceLinks(npc_ ? npc_->GetServiceFlags() : 0, hasProfile_))
            AddLink(s.caption, static_cast<u32>(s.command), kLinkColour, atMenu, y);
        if (!links.empty()) y += 3;
        if (conversation_)
            for (size_t i = 0; i < conversation_->GetTopics().size(); ++i)
                AddLink(conversation_->GetTopics()[i].title.c_str(), kTalkTopicBase + static_cast<u32>(i),
                        kLinkColour, atMenu, y);
    }
    if (phase == Phase::Answers) {
        y += LinkStep();
        for (const CConversation::Answer& a : conversation_->GetAnswers())
            AddLink(a.text.c_str(), kTalkAnswerBase + static_cast<u32>(a.slot), kAnswerColour, true, y);
    } else if (phase == Phase::ObjectList) {
        y += LinkStep();
        const char* prefix = SmallMode(host_.GetLayoutMode()) ? "-\x0b" : "- ";
        for (size_t i = 0; i < conversation_->GetListEntries().size(); ++i)
            AddLink((prefix + conversation_->GetListEntries()[i].title).c_str(),
                    kListEntryBase + static_cast<u32>(i), kAnswerColour, true, y);
        AddLink("...", kTalkListCancel, kAnswerColour, true, y);
    } else if (phase == Phase::Continue) {
        continueButton.Attach(this);
        continueButton.SetRect(static_cast<u16>(speechView.x + speechView.w - 120),
                               static_cast<u16>(speechView.y + speechView.h + 4), 120, 28);
        continueButton.SetFramedText(StandardButtonFrames(game, true), StandardButtonFrames(game, false),
                                     "Continue", kTalkContinue, 1, 0xc8c8c8, 0x585858, 0xffffff, 0x585858,
                                     static_cast<u16>(kCommandUse));
        AddWidget(&continueButton);
    }
    linkPage = 0;
    PageLinks();
    exitLink.Attach(this);
    const i32 margin = SmallMode(host_.GetLayoutMode()) ? 1 : 10;
    exitLink.SetupAt(hasProfile_ ? "Back" : "Goodbye", kTalkExit, static_cast<u16>(rect.x + margin),
                     static_cast<u16>(rect.y + rect.h - LinkStep()), static_cast<u16>(rect.w - margin),
                     static_cast<u16>(LinkStep()), kLinkColour, static_cast<u16>(kCommandBack), 0);
    exitLink.EnablePen(atMenu || phase == Phase::Ended || phase == Phase::Idle ? 1 : 0);
    AddWidget(&exitLink);
}

bool CTalkScreen::PagedLayout() const {
    const u32 mode = host_.GetLayoutMode();
    return mode == 5 || mode == 8;
}

void CTalkScreen::PageLinks() {
    linkPages.assign(links.size(), 0);
    if (!PagedLayout()) return;
    const u8* area = FindLayoutRect(game, kLayoutGroup, kLinkArea);
    if (!area) return;
    CWidget rect;
    rect.SetLayoutRect(area);
    // A link counts once per text line; after each six counted lines the next starts a new page.
    u32 counted = 0;
    i32 y = rect.y;
    for (size_t i = 0; i < links.size(); ++i) {
        CTextLink& link = *links[i];
        const u32 lines = link.lineCount > 0 ? static_cast<u32>(link.lineCount) : 1;
        // A link of several lines that would cross the page's end starts the next page.
        if (counted > 0 && counted / kLinesPerPage != (counted + lines - 1) / kLinesPerPage)
            counted = (counted / kLinesPerPage + 1) * kLinesPerPage;
        if (counted % kLinesPerPage == 0) y = rect.y;
        linkPages[i] = counted / kLinesPerPage;
        link.y = static_cast<u16>(y);
        y += link.h > 0 ? link.h : LinkStep();
        counted += lines;
    }
    const u32 pages = counted == 0 ? 1 : (counted + kLinesPerPage - 1) / kLinesPerPage;
    if (linkPage >= pages) linkPage = pages - 1;
    for (size_t i = 0; i < links.size(); ++i) links[i]->Show(linkPages[i] == linkPage ? 1 : 0);
    const bool paged = pages > 1;
    previousPage.Show(paged ? 1 : 0);
    nextPage.Show(paged ? 1 : 0);
    previousPage.EnablePen(paged && linkPage > 0 ? 1 : 0);
    nextPage.EnablePen(paged && linkPage + 1 < pages ? 1 : 0);
}

std::vector<std::string> CTalkScreen::ShownLinks() const {
    std::vector<std::string> out;
    for (const auto& link : links)
        if (link->IsShown()) out.push_back(link->text.GetText());
    out.push_back(exitLink.text.GetText());
    return out;
}

void CTalkScreen::Redraw() {
    flags |= kFormRedrawAll;
    Draw();
    // The view draws only what rolls in; a full repaint must bring back what it already shows.
    if (speechView.IsShown() && speechView.visibleRows > 0) speechView.DrawLines();
    ResetInputGuard();
}

u32 CTalkScreen::OnCommand(u32 command) {
    if (!conversation_) return 0;
    if (screenState == kBetOpen) {
        // The bet dialog's Ok or Cancel: the talk goes on, or the card game starts when the gold
        // covers the bet.
        screenState = kTalking;
        const i32 bet = betDialog.Bet();
        CloseModal();
        Redraw();
        if (command != CBetDialog::kOk) return 0;
        return StartCardGame(*this, host_.GetCustomer(), bet, [this](const char* text) {
            ShowMessageText(game, &messageView, text, CButtonBar::kOk, &messageBar, this);
            OpenModal(&messageBar);
            Draw();
        });
    }
    if (command == 1 && modalChild) {
        CloseModal();
        Redraw();
        return 0;
    }
    // A service dialog's closing command gives the talk back.
    if (screenState == kRepairOpen || screenState == kTrainingOpen || screenState == kEnchantOpen) {
        screenState = kTalking;
        CloseModal();
        Redraw();
        return 0;
    }
    if (command >= kTalkTopicBase && command < kTalkTopicBase + 0x100) {
        conversation_->ChooseTopic(static_cast<int>(command - kTalkTopicBase));
    } else if (command == kTalkContinue) {
        PlayInterfaceSound(game, 0, 10);
        // The view stopped at a full page and holds its rows until told to go on; without this the
        // waiting text never came in and the talk stayed at "Continue" for good.
        speechView.scrolled = 0;
        conversation_->Continue();
    } else if (command >= kTalkAnswerBase && command < kTalkAnswerBase + 4) {
        conversation_->ChooseAnswer(static_cast<int>(command - kTalkAnswerBase));
    } else if (command >= kListEntryBase && command < kListEntryBase + 0x100) {
        conversation_->AcceptListEntry(static_cast<int>(command - kListEntryBase));
    } else if (command == kTalkListCancel) {
        conversation_->CancelList();
    } else if (command == kTalkBuySell) {
        entryA = 0;
        keepOnStack = 1;
        return kScreenShop;
    } else if (command == kTalkRepair && npc_) {
        repairDialog.Attach(game);
        repairDialog.Open(host_.GetTradeWorld(), GetNpcPriceLevel(host_, *npc_));
        screenState = kRepairOpen;
        OpenModal(&repairDialog);
        return 0;
    } else if (command == kTalkEnchant && npc_) {
        CEnchantSelectDialog& selection = enchanting.Open(host_, *npc_, 3 * npc_->GetEnchantLevel());
        screenState = kEnchantOpen;
        OpenModal(&selection);
        return 0;
    } else if (command == kTalkTraining && npc_) {
        trainingDialog.Attach(game);
        trainingDialog.Open(host_.GetTradeWorld(), *npc_);
        screenState = kTrainingOpen;
        OpenModal(&trainingDialog);
        return 0;
    } else if (command == kTalkCards && npc_) {
        screenState = kBetOpen;
        betDialog.Open(npc_->maxBet);
        OpenModal(&betDialog);
        Draw();
        return 0;
    } else if ((command == kPreviousPage || command == kNextPage) && PagedLayout()) {
        PlayInterfaceSound(game, 0, 10);
        linkPage = command == kNextPage ? linkPage + 1 : (linkPage > 0 ? linkPage - 1 : 0);
        PageLinks();  // keeps the page among those that exist
        Redraw();
        return 0;
    } else if (command == kTalkExit) {
        if (CScriptContext* context = host_.GetScriptContext()) context->SetRouting(kRouteGameView);
        PlayInterfaceSound(game, 1, 10);
        doorFlag = 0;
        return kScreenBack;
    } else {
        return 0;
    }
    RebuildLinks();
    Redraw();
    return 0;
}
