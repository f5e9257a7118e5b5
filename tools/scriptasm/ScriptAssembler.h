// The script assembler: readable script text in, compiled script bytes out. It writes the compiled
// form with its own byte writer, apart from the game's script reader, so that tests reading its
// output with the game catch a fault on either side. Its text form is described by HelpText().
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scriptasm {

struct Options {
    // A line record before the first token of every source line that holds tokens.
    bool lineRecords = false;
};

struct Result {
    bool ok = false;
    std::vector<uint8_t> bytes;
    std::string error;  // what went wrong, with its source line
    int errorLine = 0;
};

Result Assemble(const std::string& source, const Options& options = Options());
const char* HelpText();

}  // namespace scriptasm
