// The content builder is a tool of its own; its rule-record writers, base-world rule content and
// rule pictures (with the canvas and picture encoder they draw with) are compiled into this test
// executable here, once.
#include "tools/content/Canvas.cpp"
#include "tools/content/PictureEncoder.cpp"
#include "tools/content/rules/BaseRules.cpp"
#include "tools/content/rules/CharacterRecords.cpp"
#include "tools/content/rules/CreatureRecords.cpp"
#include "tools/content/rules/EffectRecords.cpp"
#include "tools/content/rules/ItemRecords.cpp"
#include "tools/content/rules/MagicRecords.cpp"
#include "tools/content/rules/NpcRecords.cpp"
#include "tools/content/rules/RulePictures.cpp"
