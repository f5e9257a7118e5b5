#include "world/CommandQueue.h"

#include "ui/ScreenIds.h"

int CCommandQueue::KindOf(u32 command) {
    switch (command) {
    case kCommandForward:
    case kCommandBack:
    case kCommandTurnLeft:
    case kCommandTurnRight:
    case kCommandStrafeLeft:
    case kCommandStrafeRight: return kMove;
    case kCommandAttack: return kAttack;
    case kCommandSpellBook: return kSpellBook;
    case kCommandPotions: return kPotions;
    case kCommandRest: return kRest;
    case kCommandUse: return kUse;
    case kCommandCancel: return kMenu;
    case kCommandInventory: return kInventory;
    default: return kNotKept;
    }
}

bool CCommandQueue::Keep(u32 command, u32 now) {
    const int kind = KindOf(command);
    if (kind == kNotKept) return false;
    entries_[static_cast<size_t>(kind)] = Entry{command, now, ++counter_};
    return true;
}

u32 CCommandQueue::Take(u32 now) {
    Entry* oldest = nullptr;
    for (Entry& e : entries_) {
        if (e.command == 0) continue;
        if (now - e.at > kLife) {
            e = Entry{};
            continue;
        }
        if (!oldest || e.order < oldest->order) oldest = &e;
    }
    if (!oldest) return 0;
    const u32 command = oldest->command;
    *oldest = Entry{};
    return command;
}

void CCommandQueue::Forget(u32 command) {
    const int kind = KindOf(command);
    if (kind != kNotKept) entries_[static_cast<size_t>(kind)] = Entry{};
}

void CCommandQueue::Clear() { entries_.fill(Entry{}); }

bool CCommandQueue::Empty() const {
    for (const Entry& e : entries_)
        if (e.command != 0) return false;
    return true;
}
