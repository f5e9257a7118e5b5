// The 155 commands of the script language, ids 100..254 (also their token codes): name as scripts
// spell it, argument count, the kinds of target each applies to and its argument description.
#pragma once

#include "core/Types.h"

namespace script {

enum TargetMask : i32 {
    kTargetWorld = 1,
    kTargetMapObject = 2,
    kTargetCreature = 4,
    kTargetPlayer = 8,
};

struct CommandRow {
    const char* name;
    i32 id;
    i32 argumentCount;  // recorded only: calls are not checked against it
    const char* argumentDescription;
    i32 targetMask;
};

inline constexpr int kCommandCount = 155;
extern const CommandRow kCommandTable[kCommandCount];

// The row of a command id, null outside 100..254.
const CommandRow* FindCommand(i32 id);
// The id of a command name (exact spelling), 0 when none.
i32 FindCommandId(const char* name);

}  // namespace script
