// The script interpreter: runs one compiled script straight from its token stream. Variables live as
// long as the engine, so a value one script sets is seen by every later run.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "script/ScriptCommands.h"
#include "script/ScriptTargets.h"
#include "script/ScriptValue.h"

#include <memory>
#include <vector>

class CGame;
class CScriptContext;

class CScriptEngine {
public:
    CScriptEngine();
    ~CScriptEngine();
    CScriptEngine(const CScriptEngine&) = delete;
    CScriptEngine& operator=(const CScriptEngine&) = delete;

    void InitTables(CGame* owner);
    // Set by the run context when it attaches; commands go there.
    void SetContext(CScriptContext* context) { context_ = context; }
    CScriptContext* GetContext() const { return context_; }
    // The context adds one record per command, in id order.
    void AddCommandRecord(const script::CommandRow& row) { commands_.push_back(row); }
    const script::CommandRow* GetCommandRecord(i32 id) const;
    u32 GetCommandRecordCount() const { return static_cast<u32>(commands_.size()); }

    // Takes the script's bytes (borrowed until the next load). The string table and every string in it
    // must lie inside the size; otherwise nothing is loaded and the result is 1.
    i32 LoadScript(const u8* data, u32 size);
    // Runs the loaded script: 0 success, 20 ended by return, else an error code. Any other result than
    // 0 and 20 posts "Script error!" on the main game view.
    i32 Run();

    i32 GetErrorCode() const { return errorCode_; }
    const char* GetErrorText() const { return errorText_.GetText(); }
    i32 GetErrorLine() const { return errorLine_; }

    // The variable of that name, or null.
    const CScriptValue* FindVariable(const char* name) const;
    u32 GetVariableCount() const { return static_cast<u32>(variables_.size()); }
    u32 GetStackHeight() const { return static_cast<u32>(stack_.size()); }

private:
    struct Variable {
        CStr name;
        CScriptValue value;
    };
    struct StackEntry {
        Variable* variable = nullptr;
        CScriptValue value;
    };
    struct Token {
        u32 operand = 0;             // the integer constant, or the string index
        const char* text = nullptr;  // the string of variables, objects and string constants
        u8 code = 0;
        u8 cls = 0;
        u8 line = 0;
        bool badIndex = false;  // a string index outside the table
    };

    bool Peek();
    void Consume();
    void PutBack();
    bool ReadAt(u32 pos, Token& token, u32& behind);

    i32 Fail(i32 code, i32 line);
    i32 FailAtToken(i32 code) { return Fail(code, token_.line); }
    i32 FailAtLine(i32 code) { return Fail(code, currentLine_); }
    i32 EndOfTokens();

    i32 Block(bool wholeScript);
    i32 Statement();
    i32 Evaluate(u8 endCode, bool inParentheses);
    i32 ApplyOperator(u8 op);
    i32 KeywordStatement();
    i32 SkipStatement();
    i32 SkipBraced();
    i32 SkipToStatementEnd();
    i32 CommandCall();
    i32 PushVariable();

    void Push(Variable* variable, const CScriptValue& value);
    std::unique_ptr<StackEntry> Pop();
    void TrimStack(size_t height);

    CGame* game_ = nullptr;
    CScriptContext* context_ = nullptr;
    i32 errorCode_ = 0;
    CStr errorText_;
    i32 errorLine_ = 0;
    i32 currentLine_ = 0;
    i32 depth_ = 0;

    const u8* script_ = nullptr;
    u32 size_ = 0;
    std::vector<const char*> strings_;
    static constexpr u32 kNoPosition = 0xFFFFFFFFu;
    u32 current_ = 0;
    u32 next_ = kNoPosition;
    u32 previous_ = kNoPosition;
    // Set when a token or operand would be read past the script's end.
    bool overrun_ = false;
    int nesting_ = 0;

    std::vector<script::CommandRow> commands_;
    std::vector<std::unique_ptr<StackEntry>> stack_;
    std::vector<std::unique_ptr<Variable>> variables_;
    Token token_;
};
