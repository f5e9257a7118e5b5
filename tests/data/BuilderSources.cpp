// The content builder is a tool of its own; the writers these tests build their records and worlds
// with (its canvas and picture encoder, the rule-record writers and base-world rule content, the
// rule pictures, the world writers and music, the world's scripts and their assembler) are compiled
// into this test executable here, once.
#include "tools/content/Canvas.cpp"
#include "tools/content/PictureEncoder.cpp"
#include "tools/content/Wav.cpp"
#include "tools/content/rules/BaseRules.cpp"
#include "tools/content/rules/CharacterRecords.cpp"
#include "tools/content/rules/CreatureRecords.cpp"
#include "tools/content/rules/EffectRecords.cpp"
#include "tools/content/rules/ItemRecords.cpp"
#include "tools/content/rules/MagicRecords.cpp"
#include "tools/content/rules/NpcRecords.cpp"
#include "tools/content/rules/RulePictures.cpp"
#include "tools/content/rules/TownNpcs.cpp"
#include "tools/content/world/FrontEndPages.cpp"
#include "tools/content/world/GameWorlds.cpp"
#include "tools/content/world/Crypt.cpp"
#include "tools/content/world/Sections.cpp"
#include "tools/content/world/Music.cpp"
#include "tools/content/world/WorldWriter.cpp"
#include "tools/content/WorldScripts.cpp"
#include "tools/scriptasm/ScriptAssembler.cpp"
