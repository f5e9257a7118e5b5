// The builder compiles the world's scripts with the assembler's own core, the same code its tool runs.
#include "tools/scriptasm/ScriptAssembler.cpp"
