#include "script/ScriptEngine.h"

#include "script/ScriptContext.h"
#include "script/ScriptFormat.h"

#include <climits>

using namespace script;

namespace {

// Nesting of blocks and expressions that one script may reach. A script is at most 64 KB, so this
// only bites on data made to exhaust the machine's stack.
constexpr int kMaxNesting = 200;

u16 ReadU16(const u8* p) { return static_cast<u16>(p[0] | (p[1] << 8)); }
u32 ReadU32(const u8* p) { return u32(p[0]) | (u32(p[1]) << 8) | (u32(p[2]) << 16) | (u32(p[3]) << 24); }

// Numbers wrap as 32-bit two's complement.
i32 Wrap(u32 value) { return static_cast<i32>(value); }

// Division and remainder with the cases that have no result (by 0, and the one quotient that does not
// fit) giving 0 rather than stopping the program.
i32 Divide(i32 a, i32 b) {
    if (b == 0 || (a == INT_MIN && b == -1)) return 0;
    return a / b;
}
i32 Remainder(i32 a, i32 b) {
    if (b == 0 || (a == INT_MIN && b == -1)) return 0;
    return a % b;
}

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Ordering of two texts with the letters A..Z folded to lower case.
int CompareFolded(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const int ca = static_cast<unsigned char>(Fold(*a));
        const int cb = static_cast<unsigned char>(Fold(*b));
        if (ca != cb) return ca - cb;
        if (!ca) return 0;
    }
}

class NestingGuard {
public:
    explicit NestingGuard(int& level) : level_(level) { ++level_; }
    ~NestingGuard() { --level_; }
    bool TooDeep() const { return level_ > kMaxNesting; }

private:
    int& level_;
};

}  // namespace

const char* script::ErrorText(i32 code) {
    for (const ErrorRow& row : kErrorTable)
        if (row.code == code) return row.text;
    return "Unknown error";
}

CScriptEngine::CScriptEngine() { errorText_.Assign(""); }

CScriptEngine::~CScriptEngine() = default;

void CScriptEngine::InitTables(CGame* owner) { game_ = owner; }

const CommandRow* CScriptEngine::GetCommandRecord(i32 id) const {
    const i32 index = id - kCodeFirstCommand;
    if (index < 0 || index >= static_cast<i32>(commands_.size())) return nullptr;
    return &commands_[index];
}

const CScriptValue* CScriptEngine::FindVariable(const char* name) const {
    for (const auto& v : variables_)
        if (CompareStrings(v->name.GetText(), name) == 0) return &v->value;
    return nullptr;
}

i32 CScriptEngine::LoadScript(const u8* data, u32 size) {
    script_ = nullptr;
    size_ = 0;
    strings_.clear();
    current_ = 4;
    next_ = previous_ = kNoPosition;
    if (!data || size < 4) return Fail(kErrInvalidToken, 0);
    const u32 table = ReadU16(data + 2);
    if (table < 4 || u64(table) + 2 > size) return Fail(kErrInvalidToken, 0);
    const u32 count = ReadU16(data + table);
    u32 pos = table + 2;
    strings_.reserve(count);
    for (u32 k = 0; k < count; ++k) {
        u32 end = pos;
        while (end < size && data[end] != 0) ++end;
        if (end >= size) {
            strings_.clear();
            return Fail(kErrInvalidToken, 0);
        }
        strings_.push_back(reinterpret_cast<const char*>(data + pos));
        pos = end + 1;
    }
    script_ = data;
    size_ = size;
    return 0;
}

bool CScriptEngine::ReadAt(u32 pos, Token& token, u32& behind) {
    for (;;) {
        if (pos >= size_) {
            overrun_ = true;
            return false;
        }
        const u8 code = script_[pos];
        if (code == kCodePadding) {
            ++pos;
            continue;
        }
        if (code == kCodeLine) {
            const u32 at = (pos + 2) & ~1u;
            if (u64(at) + 4 > size_) {
                overrun_ = true;
                return false;
            }
            currentLine_ = static_cast<i16>(ReadU16(script_ + at + 2));
            pos = at + 4;
            continue;
        }
        if (code == kCodeEnd) return false;
        token = Token();
        token.code = code;
        token.cls = TokenClassOf(code);
        token.line = static_cast<u8>(currentLine_ & 0xFF);
        u32 at = pos + 1;
        switch (code) {
        case kCodeInt8:
            if (at + 1 > size_) break;
            token.operand = static_cast<u32>(static_cast<i32>(static_cast<i8>(script_[at])));
            behind = at + 1;
            return true;
        case kCodeInt16:
        case kCodeVariable:
        case kCodeObject:
        case kCodeString: {
            at = (at + 1) & ~1u;
            if (u64(at) + 2 > size_) break;
            const i16 value = static_cast<i16>(ReadU16(script_ + at));
            behind = at + 2;
            if (code == kCodeInt16) {
                token.operand = static_cast<u32>(static_cast<i32>(value));
                return true;
            }
            if (value < 0 || static_cast<u32>(value) >= strings_.size()) {
                token.badIndex = true;
                return true;
            }
            token.operand = static_cast<u32>(value);
            token.text = strings_[value];
            return true;
        }
        case kCodeInt32:
            at = (at + 3) & ~3u;
            if (u64(at) + 4 > size_) break;
            token.operand = ReadU32(script_ + at);
            behind = at + 4;
            return true;
        default: behind = at; return true;
        }
        overrun_ = true;
        return false;
    }
}

bool CScriptEngine::Peek() {
    u32 behind = 0;
    if (!ReadAt(current_, token_, behind)) return false;
    next_ = behind;
    return true;
}

void CScriptEngine::Consume() {
    previous_ = current_;
    current_ = next_;
}

void CScriptEngine::PutBack() {
    if (previous_ == kNoPosition) return;
    next_ = current_;
    current_ = previous_;
    previous_ = kNoPosition;
}

i32 CScriptEngine::Fail(i32 code, i32 line) {
    errorCode_ = code;
    errorText_.Assign(ErrorText(code));
    errorLine_ = line;
    return code;
}

// Where the tokens simply end the result is what the rule says; where the script was cut short
// (a token or operand would lie past its end) the run fails.
i32 CScriptEngine::EndOfTokens() { return overrun_ ? FailAtLine(kErrUnexpectedEnd) : 0; }

void CScriptEngine::Push(Variable* variable, const CScriptValue& value) {
    auto entry = std::make_unique<StackEntry>();
    entry->variable = variable;
    entry->value = value;
    stack_.push_back(std::move(entry));
}

std::unique_ptr<CScriptEngine::StackEntry> CScriptEngine::Pop() {
    if (stack_.empty()) return nullptr;
    auto entry = std::move(stack_.back());
    stack_.pop_back();
    return entry;
}

void CScriptEngine::TrimStack(size_t height) {
    while (stack_.size() > height) stack_.pop_back();
}

i32 CScriptEngine::Run() {
    // Values a command statement leaves behind would otherwise pile up from run to run and change how
    // "+" and "-" split their operands.
    stack_.clear();
    current_ = 4;
    next_ = previous_ = kNoPosition;
    currentLine_ = 0;
    depth_ = 0;
    overrun_ = false;
    i32 result;
    if (!script_) {
        result = Fail(kErrInvalidToken, 0);
    } else {
        nesting_ = 0;
        result = Block(true);
        if (result == 0) Fail(0, currentLine_);
    }
    stack_.clear();
    if (result != 0 && result != kResultReturn && context_) context_->PostScriptError();
    return result;
}

i32 CScriptEngine::Block(bool wholeScript) {
    NestingGuard guard(nesting_);
    if (guard.TooDeep()) return FailAtLine(kErrInvalidToken);
    if (!Peek()) return wholeScript ? EndOfTokens() : FailAtLine(kErrUnexpectedEnd);
    bool untilClose = false;
    if (!wholeScript && token_.code == kCodeBlockOpen) {
        Consume();
        untilClose = true;
    }
    const bool oneStatement = !wholeScript && !untilClose;
    const size_t height = stack_.size();
    while (Peek()) {
        if (token_.code == kCodeSemicolon) {
            Consume();
            if (oneStatement) return 0;
            continue;
        }
        if (token_.code == kCodeBlockClose) {
            if (!untilClose) return FailAtToken(kErrUnexpectedBrace);
            Consume();
            return 0;
        }
        const i32 result = Statement();
        TrimStack(height);
        if (result) return result;
        if (oneStatement) return 0;
    }
    return EndOfTokens();
}

i32 CScriptEngine::PushVariable() {
    if (token_.badIndex || !token_.text || !*token_.text) return FailAtToken(kErrInvalidToken);
    Variable* found = nullptr;
    for (auto& v : variables_) {
        if (CompareStrings(v->name.GetText(), token_.text) == 0) {
            found = v.get();
            break;
        }
    }
    if (!found) {
        auto v = std::make_unique<Variable>();
        v->name.Assign(token_.text);
        v->value = CScriptValue("");
        found = v.get();
        variables_.push_back(std::move(v));
    }
    Push(found, found->value);
    Consume();
    return 0;
}

i32 CScriptEngine::Statement() {
    while (Peek()) {
        switch (token_.cls) {
        case kClassKeyword: {
            const size_t height = stack_.size();
            const i32 result = KeywordStatement();
            TrimStack(height);
            // When the text ends here the keyword's result is dropped: a bare "return" at the very end
            // ends the run as a success.
            if (!Peek()) return overrun_ ? FailAtLine(kErrUnexpectedEnd) : 0;
            if (token_.code == kCodeSemicolon) Consume();
            return result;
        }
        case kClassOperator: {
            const u8 op = token_.code;
            Consume();
            i32 result = Evaluate(kCodeSemicolon, false);
            if (result) return result;
            result = ApplyOperator(op);
            if (result) return result;
            continue;
        }
        case kClassSemicolon: Consume(); return 0;
        case kClassConstant: return FailAtToken(kErrLvalueRequired);
        case kClassVariable: {
            const i32 result = PushVariable();
            if (result) return result;
            continue;
        }
        case kClassCommand:
        case kClassObject: {
            const i32 result = CommandCall();
            if (result) return result;
            continue;
        }
        default:
            // A token no statement can start with would never be consumed.
            return FailAtToken(kErrInvalidToken);
        }
    }
    return overrun_ ? FailAtLine(kErrUnexpectedEnd) : Fail(kErrUnexpectedEnd, 0);
}

i32 CScriptEngine::Evaluate(u8 endCode, bool inParentheses) {
    NestingGuard guard(nesting_);
    if (guard.TooDeep()) return FailAtLine(kErrInvalidToken);
    bool lastConstant = false;
    while (Peek()) {
        const size_t height = stack_.size();
        switch (token_.cls) {
        case kClassOperator: {
            const u8 op = token_.code;
            Consume();
            lastConstant = false;
            if (op != kOpIncrement && op != kOpDecrement) {
                if (!Peek()) return EndOfTokens();
                i32 result;
                if (token_.code == kCodeParenOpen) {
                    ++depth_;
                    Consume();
                    result = Evaluate(kCodeParenClose, true);
                } else if (stack_.size() > 2 && endCode != kCodeParenClose &&
                           (op == kOpAdd || op == kOpSubtract)) {
                    // The caller applies its own operator first and then meets this one again.
                    PutBack();
                    return 0;
                } else {
                    result = Evaluate(depth_ != 0 ? kCodeParenClose : kCodeSemicolon, false);
                }
                if (result) return result;
            }
            if (!Peek()) return EndOfTokens();
            const i32 result = ApplyOperator(op);
            if (result) return result;
            continue;
        }
        case kClassSemicolon:
            if (endCode == kCodeSemicolon) return 0;
            return FailAtLine(kErrUnexpectedSemicolon);
        case kClassConstant: {
            if (token_.code == kCodeString && (token_.badIndex || !token_.text))
                return FailAtToken(kErrInvalidToken);
            if (lastConstant && height > 0 && token_.code == kCodeString) {
                CScriptValue& top = stack_.back()->value;
                if (top.IsString())
                    top.AppendText(token_.text);
                else
                    top.SetNumber(Wrap(u32(top.GetNumber()) + u32(i32(ParseShort(token_.text)))));
            } else if (token_.code == kCodeString) {
                Push(nullptr, CScriptValue(token_.text));
            } else if (token_.code >= kCodeInt8 && token_.code <= kCodeInt32) {
                Push(nullptr, CScriptValue(static_cast<i32>(token_.operand)));
            } else {
                return FailAtToken(kErrInvalidToken);
            }
            lastConstant = true;
            Consume();
            continue;
        }
        case kClassVariable: {
            const i32 result = PushVariable();
            if (result) return result;
            lastConstant = false;
            continue;
        }
        case kClassCommand:
        case kClassObject: {
            const i32 result = CommandCall();
            if (result) return result;
            if (stack_.size() <= height) return kErrRvalueRequired;
            lastConstant = false;
            continue;
        }
        case kClassSeparator:
            // Constants join only when they stand side by side, never across a separator.
            lastConstant = false;
            Consume();
            continue;
        case kClassParen:
            if (token_.code == kCodeParenOpen) {
                ++depth_;
                Consume();
                const i32 result = Evaluate(kCodeParenClose, true);
                if (result) return result;
                continue;
            }
            if (token_.code == kCodeParenClose) {
                if (endCode != kCodeParenClose) return FailAtLine(kErrUnexpectedParen);
                if (inParentheses) {
                    --depth_;
                    Consume();
                    if (depth_ < 0) return FailAtLine(kErrUnexpectedParen);
                }
                return 0;
            }
            return FailAtToken(kErrInvalidToken);
        default: return kErrRvalueRequired;
        }
    }
    return FailAtLine(kErrUnexpectedEnd);
}

i32 CScriptEngine::ApplyOperator(u8 op) {
    std::unique_ptr<StackEntry> right;
    std::unique_ptr<StackEntry> left;
    if (op == kOpIncrement || op == kOpDecrement || op == kOpNot) {
        left = Pop();
    } else {
        right = Pop();
        left = Pop();
    }
    // A missing operand reads as the number 0; a missing right operand has no text at all.
    const bool leftString = left && left->value.IsString();
    const i32 l = left ? left->value.GetNumber() : 0;
    const i32 r = right ? right->value.GetNumber() : 0;
    const char* leftText = left ? left->value.GetText() : "";
    const char* rightText = right ? right->value.GetText() : "";
    const bool rightHasText = right && right->value.HasText();
    Variable* variable = left ? left->variable : nullptr;

    auto pushNumber = [this](i32 n) { Push(nullptr, CScriptValue(n)); };
    auto pushBool = [this](bool b) { Push(nullptr, CScriptValue(b ? 1 : 0)); };

    switch (op) {
    case kOpIncrement:
    case kOpDecrement:
        if (!variable) return FailAtLine(kErrLvalueRequired);
        variable->value.SetNumber(
            Wrap(u32(variable->value.GetNumber()) + (op == kOpIncrement ? 1u : 0xFFFFFFFFu)));
        return 0;
    case kOpAssign:
        if (!variable) return FailAtLine(kErrLvalueRequired);
        variable->value = right ? right->value : CScriptValue("");
        return 0;
    case kOpAddAssign:
    case kOpSubtractAssign:
    case kOpMultiplyAssign:
    case kOpDivideAssign:
    case kOpRemainderAssign: {
        if (!variable) return FailAtLine(kErrLvalueRequired);
        CScriptValue& v = variable->value;
        v = left->value;
        const i32 n = v.GetNumber();
        switch (op) {
        case kOpAddAssign:
            if (v.IsString())
                v.AppendText(rightText);
            else
                v.SetNumber(Wrap(u32(n) + u32(r)));
            break;
        case kOpSubtractAssign: v.SetNumber(Wrap(u32(n) - u32(r))); break;
        case kOpMultiplyAssign: v.SetNumber(Wrap(u32(r) * u32(n))); break;
        case kOpDivideAssign: v.SetNumber(Divide(n, r)); break;
        default: v.SetNumber(Remainder(n, r)); break;
        }
        return 0;
    }
    case kOpAdd:
        if (leftString) {
            CScriptValue joined(leftText);
            joined.AppendText(rightText);
            Push(nullptr, joined);
        } else {
            pushNumber(Wrap(u32(l) + u32(r)));
        }
        return 0;
    case kOpSubtract: pushNumber(Wrap(u32(l) - u32(r))); return 0;
    case kOpMultiply: pushNumber(Wrap(u32(r) * u32(l))); return 0;
    case kOpDivide: pushNumber(Divide(l, r)); return 0;
    case kOpRemainder: pushNumber(Remainder(l, r)); return 0;
    case kOpBitAnd: pushNumber(l & r); return 0;
    case kOpBitOr: pushNumber(l | r); return 0;
    case kOpNot: pushBool(l == 0); return 0;
    case kOpEqual:
    case kOpNotEqual: {
        bool equal;
        if (!leftString)
            equal = l == r;
        else
            equal = rightHasText && CompareFolded(leftText, rightText) == 0;
        pushBool(op == kOpEqual ? equal : !equal);
        return 0;
    }
    case kOpLess:
    case kOpLessEqual:
        if (!leftString)
            pushBool(op == kOpLess ? l < r : l <= r);
        else if (!rightHasText)
            pushBool(true);
        else
            pushBool(op == kOpLess ? CompareFolded(leftText, rightText) < 0
                                   : CompareFolded(leftText, rightText) <= 0);
        return 0;
    case kOpGreater:
    case kOpGreaterEqual:
        if (!leftString)
            pushBool(op == kOpGreater ? l > r : l >= r);
        else if (!rightHasText)
            pushBool(false);
        else
            pushBool(op == kOpGreater ? CompareFolded(leftText, rightText) > 0
                                      : CompareFolded(leftText, rightText) >= 0);
        return 0;
    case kOpAnd: pushBool(leftString ? (*leftText && *rightText) : (l != 0 && r != 0)); return 0;
    case kOpOr: pushBool(leftString ? (*leftText || *rightText) : (l != 0 || r != 0)); return 0;
    default: pushNumber(0); return FailAtLine(kErrInvalidToken);
    }
}

i32 CScriptEngine::KeywordStatement() {
    NestingGuard guard(nesting_);
    if (guard.TooDeep()) return FailAtLine(kErrInvalidToken);
    CScriptValue condition(0);
    const u8 keyword = token_.code;
    Consume();
    if (keyword == kCodeElse) return FailAtLine(kErrElseWithoutIf);
    if (!Peek()) return FailAtLine(kErrUnexpectedEnd);
    if (token_.code == kCodeParenOpen) {
        ++depth_;
        Consume();
        if (!Peek()) return FailAtLine(kErrUnexpectedEnd);
        if (token_.code == kCodeParenClose) {
            --depth_;
            Consume();
        } else {
            const i32 result = Evaluate(kCodeParenClose, true);
            if (result) return result;
            if (auto top = Pop()) condition = top->value;
        }
    } else if (token_.code != kCodeSemicolon) {
        return FailAtLine(kErrParenRequired);
    }

    if (keyword == kCodeReturn) return Fail(kResultReturn, currentLine_);
    if (keyword != kCodeIf) return 0;

    if (condition.GetNumber() != 0) {
        i32 result = Block(false);
        if (result) return result;
        if (Peek() && token_.code == kCodeElse) {
            Consume();
            result = SkipStatement();
            if (result) return result;
        }
        return 0;
    }
    const i32 result = SkipStatement();
    if (result) return result;
    if (Peek() && token_.code == kCodeElse) {
        Consume();
        return Block(false);
    }
    return 0;
}

i32 CScriptEngine::SkipBraced() {
    if (token_.code == kCodeBlockClose) return FailAtToken(kErrUnexpectedBrace);
    int count = 0;
    while (Peek()) {
        if (token_.code == kCodeBlockOpen)
            ++count;
        else if (token_.code == kCodeBlockClose)
            --count;
        Consume();
        if (count <= 0) return 0;
    }
    return FailAtLine(kErrUnexpectedEnd);
}

i32 CScriptEngine::SkipToStatementEnd() {
    while (Peek()) {
        if (token_.code == kCodeBlockClose) return FailAtToken(kErrUnexpectedBrace);
        const bool end = token_.code == kCodeSemicolon;
        Consume();
        if (end) return 0;
    }
    return FailAtLine(kErrUnexpectedEnd);
}

i32 CScriptEngine::SkipStatement() {
    if (!Peek()) return FailAtLine(kErrUnexpectedEnd);
    if (token_.cls == kClassBrace) return SkipBraced();
    if (token_.code != kCodeIf) return SkipToStatementEnd();
    // An if with its else parts: each part is skipped to its ";" or over its braces.
    auto skipPart = [this]() -> i32 {
        while (Peek()) {
            if (token_.code == kCodeSemicolon) {
                Consume();
                return 0;
            }
            if (token_.code == kCodeBlockOpen) return SkipBraced();
            Consume();
        }
        return EndOfTokens();
    };
    i32 result = skipPart();
    if (result) return result;
    while (Peek() && token_.code == kCodeElse) {
        Consume();
        if (!Peek()) return EndOfTokens();
        result = token_.code == kCodeBlockOpen ? SkipBraced() : skipPart();
        if (result) return result;
    }
    return 0;
}

i32 CScriptEngine::CommandCall() {
    if (!Peek()) return FailAtLine(kErrUnexpectedEnd);
    CStr target("(this)");
    if (token_.code == kCodeObject) {
        if (token_.badIndex || !token_.text) return FailAtToken(kErrInvalidToken);
        target.Assign(token_.text);
        Consume();
        if (!Peek()) return FailAtLine(kErrUnexpectedEnd);
        if (token_.code != kCodeLink) {
            Push(nullptr, CScriptValue(target.GetText()));
            return 0;
        }
        Consume();
    }
    if (!Peek()) return FailAtLine(kErrUnexpectedEnd);
    const Token command = token_;
    Consume();
    if (command.cls != kClassCommand) return Fail(kErrMethodRequired, command.line);
    if (!Peek()) return FailAtLine(kErrUnexpectedEnd);
    if (token_.code != kCodeParenOpen) return FailAtToken(kErrParenRequired);
    ++depth_;
    Consume();
    if (!Peek()) return FailAtLine(kErrUnexpectedEnd);

    ScriptArgs args;
    if (token_.code == kCodeParenClose) {
        --depth_;
        Consume();
    } else {
        const size_t height = stack_.size();
        const i32 result = Evaluate(kCodeParenClose, true);
        if (result) return result;
        // The first three values are the arguments; any further ones are dropped.
        while (stack_.size() > height + 3) Pop();
        const size_t n = stack_.size() > height ? stack_.size() - height : 0;
        for (size_t i = n; i-- > 0;) args.a[i] = Pop()->value;
    }

    ScriptResult value;
    const i32 result = context_ ? context_->RunCommand(target.GetText(), command.code, args, value) : 0;
    if (result) {
        if (result != kErrRvalueRequired) Fail(result, command.line);
        return result;
    }
    if (value) Push(nullptr, *value);
    return 0;
}
