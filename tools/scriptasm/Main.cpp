// vantrel_scriptasm: the script assembler's command line (see ScriptAssembler.h for the text form).
#include "tools/scriptasm/ScriptAssembler.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    scriptasm::Options options;
    bool hex = false;
    std::string in;
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(scriptasm::HelpText(), stdout);
            return 0;
        }
        if (arg == "--lines") {
            options.lineRecords = true;
        } else if (arg == "--hex") {
            hex = true;
        } else if (arg == "-o" && i + 1 < argc) {
            out = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "vantrel_scriptasm: unknown option %s (see --help)\n", arg.c_str());
            return 2;
        } else {
            in = arg;
        }
    }
    std::string source;
    if (in.empty()) {
        source.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream file(in, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "vantrel_scriptasm: cannot read %s\n", in.c_str());
            return 1;
        }
        source.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    const scriptasm::Result result = scriptasm::Assemble(source, options);
    if (!result.ok) {
        std::fprintf(stderr, "vantrel_scriptasm: %s: %s\n", in.empty() ? "<stdin>" : in.c_str(),
                     result.error.c_str());
        return 1;
    }
    std::string bytes;
    if (hex) {
        std::ostringstream text;
        for (size_t i = 0; i < result.bytes.size(); ++i) {
            char b[4];
            std::snprintf(b, sizeof b, "%02X", result.bytes[i]);
            text << b << ((i % 16 == 15 || i + 1 == result.bytes.size()) ? "\n" : " ");
        }
        bytes = text.str();
    } else {
        bytes.assign(result.bytes.begin(), result.bytes.end());
    }
    if (out.empty()) {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        return 0;
    }
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "vantrel_scriptasm: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
