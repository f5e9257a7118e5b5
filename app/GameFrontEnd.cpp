// What the front end's new-game path asks of the game: the character tables and portraits of the open
// world, setting a new game up from the character creation's choices, and the world's page sequences
// with their scripts.
#include "app/Game.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "script/ScriptContext.h"
#include "screens/PageSequenceView.h"
#include "screens/frontend/CreatePlayerScreen.h"
#include "ui/ProgressDialog.h"
#include "world/GameScreen.h"
#include "world/Player.h"

const CRuleContext& CGame::GetRules() const {
    if (worldLists != nullptr) worldLists->BindRuleContext(ruleContext);
    ruleContext.layoutMode = layoutMode;
    ruleContext.random = random.get();
    return ruleContext;
}

const CPortraitList& CGame::GetPortraits() const {
    static const CPortraitList kNone;
    return worldLists != nullptr ? worldLists->portraits : kNone;
}

const CQuestList* CGame::GetQuests() const { return worldLists != nullptr ? &worldLists->quests : nullptr; }

const CRecipeList* CGame::GetRecipes() const { return worldLists != nullptr ? &worldLists->recipes : nullptr; }

bool CGame::NewGame(CProgressDialog* progress) {
    if (progress != nullptr) {
        progress->textLine.SetText("Loading...");
        progress->textLine.Layout();
        progress->Begin(5);
    }
    PopAllScreens();
    ResetWorld();
    ResetGameViewState();
    if (!OpenGameDatabases(progress)) return false;
    pendingMapName.Assign(CWorldList::kStartPlace);
    // The new character from the creation screen's choices, with its start kit from the new world.
    player.SetWorld(&GetRules());
    player.ResetToDefaults();
    CCreatedCharacter created;
    if (const auto* creation = static_cast<const CCreatePlayerScreen*>(GetScreen(kScreenCreatePlayer))) {
        created.name = creation->name.GetText();
        created.portrait = creation->faceName.GetText();
        created.gender = static_cast<u8>(creation->gender != 0 ? 1 : 0);
        created.race = creation->race;
        for (int i = 0; i < 6; ++i) created.skills[i] = static_cast<u8>(creation->skills[i]);
    }
    player.GiveStartingKit(created);
    if (progress != nullptr) progress->Advance();
    if (CGameScreen* view = GetGameScreen()) view->inGame = 1;
    return true;
}

u32 CGame::FindPageSequence(const char* id) const {
    if (worldLists == nullptr || id == nullptr) return 0;
    const CPageSequenceList& list = worldLists->pageSequences;
    for (size_t i = 0; i < list.Count(); ++i)
        if (list.At(i) == list.FindById(id)) return static_cast<u32>(i + 1);
    return 0;
}

bool CGame::GetPageSequence(u32 number, CPageSequenceView& sequence) const {
    sequence = CPageSequenceView();
    if (worldLists == nullptr || number == 0) return false;
    const CPageSequence* found = worldLists->pageSequences.At(number - 1);
    if (found == nullptr) return false;
    sequence.music = found->text;
    for (const CPage& page : found->pages) sequence.pages.push_back({page.text1, page.text2, page.text3});
    return true;
}

void CGame::RunPageScript(const char* id) {
    if (scriptContext == nullptr || id == nullptr) return;
    scriptContext->SetupPageEvent();
    scriptContext->RunScriptById(id);
}

CRecordHolder* CGame::LoadTexturePicture(const char* name) {
    CRecordHolder* picture = textureSet.FindPicture(name);
    return picture != nullptr && textureSet.EnsureLoaded(picture) ? picture : nullptr;
}

void CGame::UnloadTexturePicture(CRecordHolder* picture) {
    if (picture != nullptr) textureSet.UnloadEntry(picture);
}
