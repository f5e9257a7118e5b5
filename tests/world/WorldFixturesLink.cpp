// The world fixtures of the data tests, built into this test program as well.
#include "tests/data/BuiltWorld.cpp"
#include "tests/data/WorldFixtures.cpp"
