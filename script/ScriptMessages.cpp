#include "script/ScriptMessages.h"

#include "script/ScriptContext.h"
#include "ui/Draw.h"

#include <cstring>

namespace {

size_t FindFolded(const std::string& text, const char* pattern, size_t from) {
    const size_t n = std::strlen(pattern);
    if (n == 0 || text.size() < n) return std::string::npos;
    for (size_t i = from; i + n <= text.size(); ++i) {
        size_t k = 0;
        while (k < n) {
            char a = text[i + k];
            char b = pattern[k];
            if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
            if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
            if (a != b) break;
            ++k;
        }
        if (k == n) return i;
    }
    return std::string::npos;
}

// Every occurrence at once; a replacement is never searched again.
void ReplaceEvery(std::string& text, const char* macro, const char* by) {
    const size_t n = std::strlen(macro);
    const std::string replacement = by ? by : "";
    size_t at = FindFolded(text, macro, 0);
    while (at != std::string::npos) {
        text.replace(at, n, replacement);
        at = FindFolded(text, macro, at + replacement.size());
    }
}

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Each article macro takes the article of the word that follows it.
void ReplaceArticles(std::string& text, const char* macro, const char* vowelArticle,
                     const char* otherArticle) {
    const size_t n = std::strlen(macro);
    size_t at = FindFolded(text, macro, 0);
    while (at != std::string::npos) {
        size_t i = at + n;
        while (i < text.size() && !IsLetterOrDigit(text[i])) ++i;
        const bool vowel = i < text.size() && std::strchr("aeiouAEIOU", text[i]) != nullptr;
        const char* article = vowel ? vowelArticle : otherArticle;
        text.replace(at, n, article);
        at = FindFolded(text, macro, at + std::strlen(article));
    }
}

}  // namespace

void FormatCompactGold(u32 value, CStr& out) {
    if (value >= 1000000000u)
        out.Format("%luB", value / 1000000000u);
    else
        FormatCompactNumber(value, out);
}

void ExpandTextMacros(CScriptContext& context, CStr& text) {
    static IScriptWorld none;
    IScriptWorld& world = context.GetWorld() ? *context.GetWorld() : none;
    static IScriptPlayer nobody;
    const IScriptPlayer& player = world.GetPlayer() ? *world.GetPlayer() : nobody;

    std::string s = text.GetText();
    if (s.find('%') == std::string::npos) return;
    CStr number;
    ReplaceEvery(s, "%PCName%", player.GetName());
    ReplaceEvery(s, "%NPCName%", context.GetNpc() ? context.GetNpc()->GetName() : "?");
    ReplaceEvery(s, "%PCRace%", world.GetRaceName(player.GetRaceIndex()));
    FormatCompactGold(static_cast<u32>(player.GetCrime()) * 100u, number);
    ReplaceEvery(s, "%PCCrimeGold%", number.GetText());
    FormatCompactGold(player.GetGold(), number);
    ReplaceEvery(s, "%PCGold%", number.GetText());
    const char* disease = player.GetFirstDiseaseName();
    ReplaceEvery(s, "%PCDisease%", disease ? disease : "");
    number.Format("%ld", static_cast<i32>(world.GetClock() / 1440 + 1));
    ReplaceEvery(s, "%Day%", number.GetText());
    ReplaceEvery(s, "%Date%", world.FormatDateTime());

    // "%Global:name%": a macro without its closing "%" and everything behind it stay as they are, and a
    // global's text is not searched again, so no text can keep the expansion going.
    static constexpr char kGlobal[] = "%Global:";
    size_t at = FindFolded(s, kGlobal, 0);
    while (at != std::string::npos) {
        const size_t nameStart = at + sizeof(kGlobal) - 1;
        const size_t close = s.find('%', nameStart);
        if (close == std::string::npos) break;
        const std::string name = s.substr(nameStart, close - nameStart);
        const CScriptValue* global = world.FindGlobal(name.c_str());
        const std::string value = global ? global->GetText() : "";
        s.replace(at, close + 1 - at, value);
        at = FindFolded(s, kGlobal, at + value.size());
    }

    ReplaceEvery(s, "%Map%", world.GetCurrentMapDisplayName());
    ReplaceArticles(s, "%AAN%", "an", "a");
    ReplaceArticles(s, "%CAAN%", "An", "A");
    text.Assign(s.c_str());
}

void ShowGameMessage(CScriptContext& context, const char* text, i32 style) {
    CStr copy(text ? text : "");
    ExpandTextMacros(context, copy);
    IScriptWorld* world = context.GetWorld();
    if (!world) return;
    switch (context.GetRouting()) {
    case kRouteGameView: world->AppendMessage(copy.GetText(), style ? 2 : 0); break;
    case kRouteTalk: world->AddTalkText(copy.GetText(), 2); break;
    case kRoutePages: world->SetPagesText(copy.GetText()); break;
    default: break;
    }
}
