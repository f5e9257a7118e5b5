// Stand-ins for the script interpreter and its run context until the script work replaces them.
#pragma once

class CGame;

class CScriptEngine {
public:
    virtual ~CScriptEngine() = default;
    void InitTables(CGame* owner) { game = owner; }
    CGame* game = nullptr;
};

class CScriptContext {
public:
    virtual ~CScriptContext() = default;
    void Attach(CGame* owner, CScriptEngine* engine) {
        game = owner;
        this->engine = engine;
    }
    CGame* game = nullptr;
    CScriptEngine* engine = nullptr;
};
