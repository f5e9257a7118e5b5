// The builder's writers, the world fixtures of the data tests and the widget rig of the interface
// tests, built into this test program as well.
#include "tests/data/BuilderSources.cpp"
#include "tests/data/BuiltWorld.cpp"
#include "tests/data/WorldFixtures.cpp"
#include "tests/ui/WidgetRig.cpp"
