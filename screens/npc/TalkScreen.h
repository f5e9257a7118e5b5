// The talk screen (screen 2): the conversation with one NPC. Its portrait and name, the speech view in
// which the NPC's lines and the player's words accumulate, and a column of links: the NPC's services
// (when it has no services menu of its own), the topics, the answers of a line, the entries of an
// object list a script offers, and "Back"/"Goodbye". The conversation itself is CConversation; the
// script world reaches it through EndTalk, SetGoNext, SetGoFirst, CreateObjectList and AddListEntry.
#pragma once

#include <memory>
#include <vector>

#include "core/Types.h"
#include "screens/npc/BetDialog.h"
#include "screens/npc/Conversation.h"
#include "screens/npc/NpcEnchanting.h"
#include "screens/npc/NpcServiceRules.h"
#include "screens/npc/SmithRepairDialog.h"
#include "screens/npc/TrainingDialog.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/PictureWidgets.h"
#include "ui/Panel.h"
#include "ui/Screen.h"
#include "ui/TextLabel.h"
#include "ui/TextLink.h"
#include "ui/TextView.h"

class CNpc;
class CScreenHost;

class CTalkScreen : public CScreen, public ITalkOutput {
public:
    static constexpr u16 kLayoutGroup = 28;
    // An object list entry answers this base plus its index (a tap chooses it).
    static constexpr u32 kListEntryBase = 0x6500;
    // Screen states: talking, or a service or the bet dialog open over the talk.
    enum : u32 { kTalking = 1, kRepairOpen = 2, kEnchantOpen = 3, kTrainingOpen = 4, kBetOpen = 6 };

    explicit CTalkScreen(CScreenHost& host) : host_(host) {}

    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Leave() override;
    u32 OnCommand(u32 command) override;
    u32 OnTick(u32 tick) override;

    // The script commands of a running talk.
    void EndTalk();
    void SetGoNext();
    void SetGoFirst();
    void CreateObjectList();
    void AddListEntry(const char* id, const char* title);
    // A script's message in the speech (its macros already expanded).
    void ShowScriptText(const char* text, i32 style);

    const CNpc* GetNpc() const { return npc_; }
    const CConversation* GetConversation() const { return conversation_.get(); }
    // The captions of the links shown, top to bottom (the exit link last).
    std::vector<std::string> ShownLinks() const;

    CPicture columnFrame, linkFrame, headerFrame;
    CPanel portrait;
    CTextLabel nameLabel;
    CTextView speechView;
    CBitmapButton continueButton;
    CTextLink exitLink;
    CBitmapButton previousPage;  // the link column's pages in the small square layouts
    CBitmapButton nextPage;
    u32 linkPage = 0;
    std::vector<std::unique_ptr<CTextLink>> links;  // services, topics, answers or list entries
    std::vector<u32> linkPages;                     // the page of each link
    u32 doorFlag = 0;
    // The services the talk offers itself (an NPC without a services menu).
    CSmithRepairDialog repairDialog;
    CTrainingDialog trainingDialog;
    CNpcEnchanting enchanting;
    CBetDialog betDialog;
    CTextView messageView;
    CButtonBar messageBar;

    // ITalkOutput
    void AppendSpeech(const char* text, int style, bool startsUtterance) override;
    void RunLineScript(const u8* code, u32 size) override;
    void SetAnswerNumber(i32 answer) override;
    void SetChosenEntry(const char* text) override;
    bool NeedsContinue(int answerLines) override;

private:
    void RebuildLinks();
    // The small square layouts show six link lines a page.
    bool PagedLayout() const;
    void PageLinks();
    void AddLink(const char* text, u32 command, u32 colour, bool pen, i32& y);
    i32 LinkStep() const;
    void Redraw();

    CScreenHost& host_;
    CNpc* npc_ = nullptr;
    bool hasProfile_ = false;
    bool greetingPending_ = false;
    std::unique_ptr<IConditionEvaluator> ownConditions_;
    std::unique_ptr<CConversation> conversation_;
};
