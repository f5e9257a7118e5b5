// The assembler's core is compiled into the game tests as it is into its tool, so the scripts that the
// tests run in the game are written with the same code the content builder uses.
#include "tools/scriptasm/ScriptAssembler.cpp"
