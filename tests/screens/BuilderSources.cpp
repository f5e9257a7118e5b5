// The content builder's rule-record writers, compiled into this test executable once, so that the
// player is tested against the base world as the builder writes it.
#include "tests/data/BuilderSources.cpp"
