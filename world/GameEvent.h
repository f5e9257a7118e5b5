// The game view's deferred events and the seam of the player's running actions. Whatever changes the view's
// situation (messages, map changes, transitions, prompts, talk) is posted as an event and handled one
// at a time when the view is idle, so that it never happens inside a script or a step.
#pragma once

#include <memory>

#include "core/Str.h"
#include "core/Types.h"

class CMapSection;
class CWorld;

enum CGameEventType : u32 {
    kEventChangeMap = 1,
    kEventMapPrompt = 2,
    kEventTurn = 3,
    kEventSetPosition = 4,
    kEventTransition = 5,
    kEventJail = 6,
    kEventStepBack = 7,
    kEventMessage = 8,
    kEventObjectList = 9,
    kEventTalk = 10,
    kEventDoorPrompt = 11,
    kEventRestPrompt = 12,
    kEventMark = 14,
    kEventRecall = 15,
    kEventTownPortal = 16,
    kEventRecharge = 17,
    kEventEnchant = 18,
    kEventStealPrompt = 19,
    kEventExamine = 20,
    kEventPlayScene = 21,
    kEventShipVoyage = 22,
};

struct CGameEvent {
    CGameEvent();
    ~CGameEvent();
    CGameEvent(const CGameEvent&) = delete;
    CGameEvent& operator=(const CGameEvent&) = delete;

    u32 type = 0;
    CStr name;      // map name, keyword, target map or voyage destination
    u32 word1 = 0;  // transition kind
    u32 word2 = 0;  // step back when a map prompt is refused
    u32 direction = 0;
    CStr text;  // message text, prompt text, second voyage word, door text
    u32 x = 0, y = 0;
    u32 options = 0;  // the message's button flags
    u32 listId = 0;
    CStr npcName;
    CStr jailName;
    u32 args[10] = {};
    // The target of a position transition.
    CWorld* targetWorld = nullptr;
    CMapSection* targetMap = nullptr;
    CStr sound;
    u16 value = 0;
    u8 soundPlayed = 0;
};

// The player's running actions (swings, missiles, casting and what follows them) belong to the fight,
// which keeps its own action list; the view starts an attack, steps the list once a tick while it is
// idle, and asks whether an action holds it busy.
class IGameViewActions {
public:
    virtual ~IGameViewActions() = default;
    virtual void StartAttack() = 0;
    virtual void Run() = 0;
    // Whether any action runs, and whether one other than the hurt display does.
    virtual bool Empty() const = 0;
    virtual bool HasBlockingAction() const = 0;
    // A game reset: every action goes.
    virtual void Clear() = 0;
};

// The keywords of the transitions are the script engine's (TransitionKindFromKeyword). The frames a transition of a kind animates (0 for kind 0).
u32 TransitionFrames(u32 kind);
