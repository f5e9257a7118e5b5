#include "tools/scriptasm/ScriptAssembler.h"

#include "script/ScriptCommands.h"

#include <cctype>
#include <cstdlib>
#include <map>

namespace scriptasm {

namespace {

const char kHelp[] =
    "vantrel_scriptasm: compiles readable script text into the game's compiled script form.\n"
    "\n"
    "Usage: vantrel_scriptasm [--lines] [--hex] [-o OUT] [IN]\n"
    "  IN         script text (standard input when absent)\n"
    "  -o OUT     write the compiled script to OUT (standard output when absent)\n"
    "  --lines    put a line record before the first token of each source line\n"
    "  --hex      write the bytes as hexadecimal text instead\n"
    "  --help     this text\n"
    "\n"
    "Text form (one token of the compiled form per source token, in source order):\n"
    "  x = 5;                 variable, operator, constant, end of statement\n"
    "  x += \"text\";           string constants in double quotes; \\\" is a quote, \\\\ a backslash,\n"
    "                         any other backslash stays (\\g becomes a TAB when the script runs)\n"
    "  if (a == 1) { ... } else b = 2;     keywords if, else, return; braces; parentheses\n"
    "  open();                a command (by its name) on the object that triggered the script\n"
    "  door1.open();          a command on the named object; a quoted name also works:\n"
    "  \"gate 2\".setstate(3);  the name, a link and the command\n"
    "  message(\"Hi\", 2, x);   arguments are separated by commas\n"
    "  Numbers are decimal or 0x hexadecimal; a minus sign directly before a number where a value\n"
    "  starts (after an operator, \"(\", \",\" or at the start) makes a negative constant. Each\n"
    "  constant takes the smallest width that holds it (8, 16 or 32 bits).\n"
    "  Operators: != && ++ -- <= < == >= > || ! = + - * / % += -= *= /= %= & |\n"
    "  // starts a comment that runs to the end of the line.\n"
    "Directives for tests and odd cases:\n"
    "  @pad         a padding token        @line N     a line record for line N\n"
    "  @byte N      a raw code byte N      @i8 N, @i16 N, @i32 N   a constant of that width\n"
    "  @obj NAME    an object token without its link (the name used as a value)\n"
    "\n"
    "Output: u16 0, u16 offset of the string table, the tokens from offset 4 ended by a byte 0,\n"
    "then at an even offset the u16 string count and the NUL-terminated strings (variables, objects\n"
    "and string constants, each text stored once). 16-bit operands start at even offsets and 32-bit\n"
    "ones at multiples of 4; the gaps are zero bytes.\n";

struct Operator {
    const char* text;
    uint8_t code;
};
// Longest first, so "+=" is never read as "+" and "=".
const Operator kOperators[] = {
    {"!=", 70}, {"&&", 71}, {"++", 72}, {"--", 73}, {"<=", 74}, {"==", 76}, {">=", 77}, {"||", 79},
    {"+=", 87}, {"-=", 88}, {"*=", 89}, {"/=", 90}, {"%=", 91}, {"<", 75},  {">", 78},  {"!", 80},
    {"=", 81},  {"+", 82},  {"-", 83},  {"*", 84},  {"/", 85},  {"%", 86},  {"&", 92},  {"|", 93},
};

class Writer {
public:
    void Byte(uint8_t b) { bytes.push_back(b); }
    void AlignTo(size_t n) {
        while (bytes.size() % n) bytes.push_back(0);
    }
    void U16(uint16_t v) {
        Byte(static_cast<uint8_t>(v & 0xFF));
        Byte(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
    }
    std::vector<uint8_t> bytes;
};

class Assembler {
public:
    Assembler(const std::string& source, const Options& options) : src_(source), options_(options) {}

    Result Run() {
        Result result;
        out_.U16(0);
        out_.U16(0);
        while (ok_) {
            SkipBlanks();
            if (pos_ >= src_.size()) break;
            Token();
        }
        if (!ok_) {
            result.error = "line " + std::to_string(errorLine_) + ": " + error_;
            result.errorLine = errorLine_;
            return result;
        }
        out_.Byte(0);
        out_.AlignTo(2);
        const size_t table = out_.bytes.size();
        if (table > 0xFFFF || strings_.size() > 0xFFFF) {
            result.error = "the script is too large";
            return result;
        }
        out_.bytes[2] = static_cast<uint8_t>(table & 0xFF);
        out_.bytes[3] = static_cast<uint8_t>(table >> 8);
        out_.U16(static_cast<uint16_t>(strings_.size()));
        for (const std::string& s : strings_) {
            for (char c : s) out_.Byte(static_cast<uint8_t>(c));
            out_.Byte(0);
        }
        result.ok = true;
        result.bytes = std::move(out_.bytes);
        return result;
    }

private:
    void Fail(const std::string& what) {
        if (ok_) {
            error_ = what;
            errorLine_ = line_;
        }
        ok_ = false;
    }

    void SkipBlanks() {
        while (pos_ < src_.size()) {
            const char c = src_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < src_.size() && src_[pos_ + 1] == '/') {
                while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    void LineRecord(int line) {
        out_.Byte(13);
        out_.AlignTo(2);
        out_.U16(0);
        out_.U16(static_cast<uint16_t>(static_cast<int16_t>(line)));
    }

    // Before each token: the line record of a new source line.
    void Emit(uint8_t code) {
        if (options_.lineRecords && line_ != lastLine_) {
            LineRecord(line_);
            lastLine_ = line_;
        }
        out_.Byte(code);
        valueStarts_ = false;
    }

    void EmitStringOperand(uint8_t code, const std::string& text) {
        Emit(code);
        out_.AlignTo(2);
        out_.U16(static_cast<uint16_t>(StringIndex(text)));
    }

    size_t StringIndex(const std::string& text) {
        auto found = index_.find(text);
        if (found != index_.end()) return found->second;
        if (strings_.size() >= 0x7FFF) {
            Fail("too many strings");
            return 0;
        }
        index_[text] = strings_.size();
        strings_.push_back(text);
        return strings_.size() - 1;
    }

    void EmitNumber(int64_t v, int width) {
        if (width == 0) width = (v >= -128 && v <= 127) ? 8 : (v >= -32768 && v <= 32767) ? 16 : 32;
        if (v < INT32_MIN || v > UINT32_MAX) {
            Fail("number out of range");
            return;
        }
        if (width == 8) {
            Emit(30);
            out_.Byte(static_cast<uint8_t>(v));
        } else if (width == 16) {
            Emit(31);
            out_.AlignTo(2);
            out_.U16(static_cast<uint16_t>(v));
        } else {
            Emit(32);
            out_.AlignTo(4);
            out_.U32(static_cast<uint32_t>(v));
        }
        valueStarts_ = false;
    }

    bool ReadNumber(int64_t& v) {
        bool negative = false;
        if (pos_ < src_.size() && src_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        if (pos_ >= src_.size() || !std::isdigit(static_cast<unsigned char>(src_[pos_]))) return false;
        int base = 10;
        if (src_[pos_] == '0' && pos_ + 1 < src_.size() && (src_[pos_ + 1] == 'x' || src_[pos_ + 1] == 'X')) {
            base = 16;
            pos_ += 2;
        }
        v = 0;
        bool any = false;
        while (pos_ < src_.size() && std::isxdigit(static_cast<unsigned char>(src_[pos_]))) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(src_[pos_])));
            const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : c - 'a' + 10;
            if (d >= base) break;
            v = v * base + d;
            if (v > 0xFFFFFFFFLL) {
                Fail("number out of range");
                return true;
            }
            any = true;
            ++pos_;
        }
        if (!any) return false;
        if (negative) v = -v;
        return true;
    }

    std::string ReadWord() {
        const size_t start = pos_;
        while (pos_ < src_.size() &&
               (std::isalnum(static_cast<unsigned char>(src_[pos_])) || src_[pos_] == '_'))
            ++pos_;
        return src_.substr(start, pos_ - start);
    }

    std::string ReadQuoted() {
        std::string text;
        ++pos_;
        while (pos_ < src_.size() && src_[pos_] != '"') {
            char c = src_[pos_];
            if (c == '\n') {
                Fail("string without its closing quote");
                return text;
            }
            if (c == '\\' && pos_ + 1 < src_.size() && (src_[pos_ + 1] == '"' || src_[pos_ + 1] == '\\')) {
                c = src_[pos_ + 1];
                ++pos_;
            }
            text.push_back(c);
            ++pos_;
        }
        if (pos_ >= src_.size()) {
            Fail("string without its closing quote");
            return text;
        }
        ++pos_;
        return text;
    }

    // After a name: "." and a command make it an object with its link.
    bool FollowedByLink() {
        size_t p = pos_;
        while (p < src_.size() && (src_[p] == ' ' || src_[p] == '\t')) ++p;
        return p < src_.size() && src_[p] == '.';
    }

    void Object(const std::string& name) {
        EmitStringOperand(10, name);
        while (pos_ < src_.size() && src_[pos_] != '.') ++pos_;
        ++pos_;
        SkipBlanks();
        Emit(6);
        const std::string command = ReadWord();
        const int32_t id = script::FindCommandId(command.c_str());
        if (!id) {
            Fail("\"" + command + "\" is not a command");
            return;
        }
        Emit(static_cast<uint8_t>(id));
    }

    void Directive() {
        ++pos_;
        const std::string word = ReadWord();
        SkipInline();
        int64_t v = 0;
        if (word == "pad") {
            out_.Byte(12);
        } else if (word == "line") {
            if (!ReadNumber(v)) return Fail("@line needs a number");
            LineRecord(static_cast<int>(v));
        } else if (word == "byte") {
            if (!ReadNumber(v) || v < 0 || v > 255) return Fail("@byte needs a number 0..255");
            Emit(static_cast<uint8_t>(v));
        } else if (word == "i8" || word == "i16" || word == "i32") {
            if (!ReadNumber(v)) return Fail("@" + word + " needs a number");
            EmitNumber(v, word == "i8" ? 8 : word == "i16" ? 16 : 32);
        } else if (word == "obj") {
            std::string name = pos_ < src_.size() && src_[pos_] == '"' ? ReadQuoted() : ReadWord();
            if (name.empty()) return Fail("@obj needs a name");
            EmitStringOperand(10, name);
        } else {
            Fail("unknown directive @" + word);
        }
    }

    void SkipInline() {
        while (pos_ < src_.size() && (src_[pos_] == ' ' || src_[pos_] == '\t')) ++pos_;
    }

    void Token() {
        const char c = src_[pos_];
        if (c == '@') return Directive();
        if (c == '"') {
            const std::string text = ReadQuoted();
            if (!ok_) return;
            if (FollowedByLink()) return Object(text);
            EmitStringOperand(33, text);
            return;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            (c == '-' && valueStarts_ && pos_ + 1 < src_.size() &&
             std::isdigit(static_cast<unsigned char>(src_[pos_ + 1])))) {
            int64_t v = 0;
            if (ReadNumber(v))
                EmitNumber(v, 0);
            else
                Fail("bad number");
            return;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            const std::string word = ReadWord();
            if (word == "if") return Emit(95);
            if (word == "else") return Emit(96);
            if (word == "return") return Emit(97);
            if (FollowedByLink()) return Object(word);
            if (const int32_t id = script::FindCommandId(word.c_str())) return Emit(static_cast<uint8_t>(id));
            EmitStringOperand(8, word);
            return;
        }
        switch (c) {
        case ';':
            ++pos_;
            Emit(3);
            valueStarts_ = true;
            return;
        case ',':
            ++pos_;
            Emit(11);
            valueStarts_ = true;
            return;
        case '{':
            ++pos_;
            Emit(50);
            valueStarts_ = true;
            return;
        case '}':
            ++pos_;
            Emit(51);
            valueStarts_ = true;
            return;
        case '(':
            ++pos_;
            Emit(60);
            valueStarts_ = true;
            return;
        case ')':
            ++pos_;
            Emit(61);
            return;
        default: break;
        }
        for (const Operator& op : kOperators) {
            const size_t n = std::char_traits<char>::length(op.text);
            if (src_.compare(pos_, n, op.text) == 0) {
                pos_ += n;
                Emit(op.code);
                valueStarts_ = op.code != 72 && op.code != 73;
                return;
            }
        }
        Fail(std::string("unexpected character '") + c + "'");
    }

    const std::string& src_;
    Options options_;
    size_t pos_ = 0;
    int line_ = 1;
    int lastLine_ = 0;
    bool valueStarts_ = true;
    bool ok_ = true;
    std::string error_;
    int errorLine_ = 0;
    Writer out_;
    std::vector<std::string> strings_;
    std::map<std::string, size_t> index_;
};

}  // namespace

Result Assemble(const std::string& source, const Options& options) {
    return Assembler(source, options).Run();
}

const char* HelpText() { return kHelp; }

}  // namespace scriptasm
