// The scripts of the built world, as script text for the assembler, and the stored conditions its
// conversations carry. The world's database records take them once the world records are written.
#pragma once

#include "tools/content/ByteWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace content {

struct WorldScript {
    const char* id;      // the script record's id text
    const char* source;  // script text (see vantrel_scriptasm --help)
};

// The sign at the harbour, the lever that works the harbour gate, the pressure plate before the
// cellar, the ring quest (the merchant's talk); the crypt's lever and shrine, and Maren's quest line;
// the elder's errand, handed over by the elder and ended by the smith; the boatman who rows to the
// additional worlds.
const std::vector<WorldScript>& WorldScripts();

struct CompiledScript {
    std::string id;
    std::vector<uint8_t> code;
};

// The world's scripts in compiled form, with line records so that a script error names its line. A
// script that does not assemble stops the build: std::runtime_error with its id and the error.
std::vector<CompiledScript> CompileWorldScripts();

// One of the world's scripts compiled, by id (a dialogue line carries it); std::runtime_error when none.
std::vector<uint8_t> CompileWorldScript(const std::string& id);

// A stored condition at the writer's position: parameter text, then at the record's next even offset
// the value, the kind, the operator and the extra operand.
void WriteCondition(ByteWriter& out, const std::string& parameter, int16_t value, int8_t kind, uint8_t op,
                    uint8_t extra = 0);

// The harbour master's ring topic is offered while the player holds the quest (kind 42, "=", 1).
inline constexpr const char* kRingQuestId = "bres_q_ring";
// The ring that the quest sends the player to find.
inline constexpr const char* kRingItemId = "bres_ring";
// The elder's errand: his letter goes to the smith.
inline constexpr const char* kElderQuestId = "base_q_elder";
inline constexpr const char* kElderLetterId = "base_letter_elder";
// Maren's quest below her cellar.
inline constexpr const char* kCellarQuestId = "base_q_cellar";

}  // namespace content
