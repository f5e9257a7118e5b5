// The scripts' talk and page commands as the game's screens take them: the talk screen's speech,
// object list and course, and the pages screen's text. A command whose screen does not show is
// dropped, as the routing of the script context already makes sure it is not sent.
#pragma once

#include "script/ScriptTargets.h"

class CGame;
class CPagesScreen;
class CTalkScreen;

class CGameScreenScripts : public IScriptWorld {
public:
    explicit CGameScreenScripts(CGame& game) : game_(game) {}

    void ClearTalkTopics() override;
    void AddTalkTopic(const char* id, const char* title) override;
    void AddTalkText(const char* text, i32 style) override;
    void EndTalk() override;
    void SetTalkGoNext() override;
    void SetTalkGoFirst() override;
    void SetPagesText(const char* text) override;

private:
    CTalkScreen* Talk() const;
    CPagesScreen* Pages() const;

    CGame& game_;
};
