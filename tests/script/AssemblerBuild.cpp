// The assembler's core is compiled into the script tests as it is into its tool, so the tests write
// their scripts with the same code the content builder uses.
#include "tools/scriptasm/ScriptAssembler.cpp"
