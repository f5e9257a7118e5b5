#include "app/GameScreenScripts.h"

#include "app/Game.h"
#include "screens/frontend/PagesScreen.h"
#include "screens/npc/TalkScreen.h"
#include "ui/ScreenIds.h"

CTalkScreen* CGameScreenScripts::Talk() const {
    CScreen* talk = game_.GetScreen(kScreenTalk);
    return talk && talk == game_.currentScreen ? dynamic_cast<CTalkScreen*>(talk) : nullptr;
}

CPagesScreen* CGameScreenScripts::Pages() const {
    CScreen* pages = game_.GetScreen(kScreenPages);
    return pages && pages == game_.currentScreen ? dynamic_cast<CPagesScreen*>(pages) : nullptr;
}

void CGameScreenScripts::ClearTalkTopics() {
    if (CTalkScreen* talk = Talk()) talk->CreateObjectList();
}

void CGameScreenScripts::AddTalkTopic(const char* id, const char* title) {
    if (CTalkScreen* talk = Talk()) talk->AddListEntry(id, title);
}

void CGameScreenScripts::AddTalkText(const char* text, i32 style) {
    if (CTalkScreen* talk = Talk()) talk->ShowScriptText(text, style);
}

void CGameScreenScripts::EndTalk() {
    if (CTalkScreen* talk = Talk()) talk->EndTalk();
}

void CGameScreenScripts::SetTalkGoNext() {
    if (CTalkScreen* talk = Talk()) talk->SetGoNext();
}

void CGameScreenScripts::SetTalkGoFirst() {
    if (CTalkScreen* talk = Talk()) talk->SetGoFirst();
}

void CGameScreenScripts::SetPagesText(const char* text) {
    if (CPagesScreen* pages = Pages()) pages->AppendText(text);
}
