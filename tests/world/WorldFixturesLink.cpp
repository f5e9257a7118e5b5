// The world fixtures of the data tests and the widget rig of the interface tests, built into this
// test program as well (the builder's writers come from the builder library).
#include "tests/data/BuiltWorld.cpp"
#include "tests/data/WorldFixtures.cpp"
#include "tests/ui/WidgetRig.cpp"
