// The content builder is a tool of its own; its rule-record writers and base-world rule content are
// compiled into this test executable here, once.
#include "tools/content/rules/RuleRecords.cpp"
