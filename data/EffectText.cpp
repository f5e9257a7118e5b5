#include "data/EffectText.h"

#include "data/CharacterTables.h"
#include "data/CreatureCatalogue.h"
#include "data/RuleContext.h"
#include "data/Spells.h"

#include <cstdlib>
#include <initializer_list>

namespace {

bool In(int source, std::initializer_list<int> sources) {
    for (int s : sources)
        if (s == source) return true;
    return false;
}

const char* Turns(int n) { return n == 1 ? "turn" : "turns"; }
const char* Points(int n) { return n == 1 ? "pt" : "pts"; }
const char* Sign(int v) { return v >= 0 ? "Fortifies" : "Weakens"; }
u32 Abs(int v) { return static_cast<u32>(std::abs(v)); }

// The equipment sources of the plain "%+d name" texts.
constexpr std::initializer_list<int> kWorn = {2, 3, 4, 8, 9, 14, 16};

class Writer {
public:
    Writer(const CEffect& e, const CRuleContext& game, int source, int percent, CStr& out, bool shortForm,
           bool shorter)
        : e_(e), game_(game), source_(source), percent_(percent), out_(out), short_(shortForm),
          shorter_(shorter) {
        A = e.amount;
        S = ScaleByLevel(e.amount, e.amountPerLevel, percent);
        SD = ScaleByLevel(e.duration, e.durationPerLevel, percent);
        D = e.duration;
        P = DecodeEffectAmount(e.amount);
    }

    void Write();

private:
    template <class... Args>
    void F(const char* format, Args... args) {
        out_.Format(format, args...);
    }
    void Radius() {
        if (e_.radius) out_.AppendFormat(", in %u radius", static_cast<u32>(e_.radius));
    }
    const char* Res() const { return short_ ? "res." : "resistance"; }
    const char* SkillName() const {
        if (!game_.skills) return nullptr;
        bool ability = source_ == kSourceAbility;
        return game_.skills->GetName(e_.target, ability && short_ && !shorter_, ability && shorter_);
    }
    const char* AttributeName() const {
        return game_.attributes ? game_.attributes->GetName(e_.target) : nullptr;
    }
    const char* DiseaseName() const {
        const CDisease* d = game_.diseases ? game_.diseases->FindById(e_.id) : nullptr;
        return d ? d->GetDisplayName() : nullptr;
    }
    const CSpell* Spell() const { return game_.spells ? game_.spells->FindById(e_.id) : nullptr; }
    const char* CreatureName() const {
        const CCreatureKind* k = game_.creatures ? game_.creatures->FindCreatureKind(e_.id) : nullptr;
        return k ? k->GetDisplayName() : nullptr;
    }
    const char* RaceName() const {
        return game_.creatures ? game_.creatures->GetRaceName(e_.target) : nullptr;
    }

    // A lasting change as spells and potions word it: "Fortifies <what> by <n>, for <t> turns" for a
    // spell, from the amount and duration scaled by the caster's level, and the same without the comma
    // for a potion. A percentage puts "%" after the amount and takes a potion's amount as a percentage.
    void Lasting(const char* what, bool percentage) {
        const char* unit = percentage ? "%" : "";
        if (source_ == kSourceSpell) {
            F("%s %s by %u%s, for %u %s", Sign(S), what, Abs(S), unit, SD, Turns(SD));
            return;
        }
        const int amount = percentage ? P : A;
        F("%s %s by %u%s for %u %s", Sign(amount), what, Abs(amount), unit, D, Turns(D));
    }
    // The four common shapes of the resistance kinds 15, 16 and 22; the spell's text of one of them
    // ends with `spellEnd`.
    void Resistance(const char* worn, const char* what, const char* ingredient, const char* spellEnd = "") {
        if (In(source_, {1, 2, 3, 4, 8, 9, 14})) {
            F(worn, P, Res());
        } else if (source_ == kSourceSpell || source_ == kSourcePotion) {
            Lasting(what, true);
            if (source_ == kSourceSpell) out_.Append(spellEnd);
        } else if (source_ == kSourceIngredient) {
            F(ingredient);
        }
    }
    // Damage against a creature kind or race, on weapons and missiles and in spells.
    void Damage(const char* target) {
        if (!target) return;
        if (In(source_, {3, 15})) {
            bool absolute = A >= -100 && A <= 100;
            F("%+d%s damage to %s", absolute ? A : P, absolute ? "" : "%", target);
        } else if (source_ == kSourceSpell) {
            F("Damages %s by %u", target, S);
            Radius();
        }
    }
    void CastSpell();

    const CEffect& e_;
    const CRuleContext& game_;
    int source_;
    int percent_;
    CStr& out_;
    bool short_;
    bool shorter_;
    int A, S, SD, D, P;
};

void Writer::CastSpell() {
    const CSpell* spell = Spell();
    if (!spell) return;
    const char* name = spell->GetDisplayName();
    bool skilled = spell->HasEffectOutsideKindSet() != 0;
    u32 s = static_cast<u32>(e_.amountPerLevel);
    switch (source_) {
    case kSourceInnate: F("%s knowledge", name); break;
    case kSourceAbility:
        if (short_)
            F("%s", name);
        else
            F("%s spell", name);
        break;
    case kSourceSpellBook: F("Teaches %s", name); break;
    case kSourceWand: {
        int m = A;
        int c = percent_ == 0xFFFF ? m : percent_;
        const char* unit = c < m ? (c == 1 ? "charge" : "charges") : (m == 1 ? "charge" : "charges");
        if (c < m) {
            if (skilled)
                F(short_ ? "%s (skill: %u) (%u/%u %s)" : "Casts %s at skill level %u (%u out of %u %s)", name,
                  s, c, m, unit);
            else
                F(short_ ? "%s (%u/%u %s)" : "Casts %s (%u out of %u %s)", name, c, m, unit);
        } else {
            if (skilled)
                F(short_ ? "%s (skill: %u) (%u %s)" : "Casts %s at skill level %u (%u %s)", name, s, c, unit);
            else
                F(short_ ? "%s (%u %s)" : "Casts %s (%u %s)", name, c, unit);
        }
        break;
    }
    case kSourceScroll:
        if (skilled) {
            if (shorter_)
                F("%s (sk: %u)", name, s);
            else if (short_)
                F("Casts %s (skill: %u)", name, s);
            else
                F("Casts %s at skill level %u", name, s);
        } else {
            F(shorter_ ? "%s" : "Casts %s", name);
        }
        break;
    default: break;
    }
}

void Writer::Write() {
    const int src = source_;
    switch (e_.kind) {
    case 1: {
        const char* name = SkillName();
        if (!name) return;
        if (In(src, kWorn))
            F("%+d %s", A, name);
        else if (src == kSourceSpell)
            Lasting(name, false);
        else if (src == kSourceBook)
            F("Teaches %s (%+d)", name, A);
        break;
    }
    case 2: {
        const char* name = AttributeName();
        if (!name) return;
        if (In(src, kWorn))
            F("%+d %s", A, name);
        else if (src == kSourceSpell || src == kSourcePotion)
            Lasting(name, false);
        else if (src == kSourceIngredient)
            F("Fortify %s", name);
        break;
    }
    case 3:
        if (src == kSourceSpell)
            F("Heals %u hp", S);
        else if (src == kSourcePotion)
            F("Heals %u hp", A);
        else if (src == kSourceIngredient)
            F("Restore health");
        break;
    case 4:
        if (src == kSourceSpell)
            F("Restoress full health");
        else if (src == kSourcePotion)
            F("Restores full health");
        break;
    case 5:
    case 8: {
        if (In(src, kWorn))
            F(e_.kind == 8 ? "%+d unholy HP" : "%+d HP", A);
        else if (src == kSourceSpell || src == kSourcePotion)
            Lasting(e_.kind == 8 ? "unholy hp" : "hp", false);
        else if (src == kSourceIngredient)
            F(e_.kind == 8 ? "Fortify unholy HP" : "Fortify health");
        break;
    }
    case 6:
        if (src == kSourceSpell)
            F("Restores unholy %u hp", S);
        else if (src == kSourcePotion)
            F("Restores %u unholy hp", A);
        else if (src == kSourceIngredient)
            F("Restore unholy HP");
        break;
    case 7:
        if (In(src, {5, 6})) F("Restores full unholy hp");
        break;
    case 9:
        if (src == kSourcePotion)
            F("Restores %u mana", A);
        else if (src == kSourceIngredient)
            F("Restore mana");
        break;
    case 10:
        if (In(src, kWorn))
            F("%+d SP", A);
        else if (src == kSourcePotion)
            F("%s mana by %u, for %u %s", Sign(A), Abs(A), D, Turns(D));
        else if (src == kSourceIngredient)
            F("Fortify mana");
        break;
    case 11:
        if (In(src, kWorn))
            F("%+d AC", A);
        else if (src == kSourceSpell)
            F("%s AC by %u, for %u %s", S >= 0 ? "Fortfies" : "Weakens", Abs(S), SD, Turns(SD));
        break;
    case 12:
        if (In(src, {5, 6})) F("Cures poison");
        break;
    case 13:
        if (In(src, {5, 6})) F("Cures paralysis");
        break;
    case 14:
        if (In(src, {5, 6}) && DiseaseName()) F("Cures %s disease", DiseaseName());
        break;
    case 15:
        Resistance("%+d%% Poison %s", "poison resistance", "Resist poison", ".");
        break;
    case 16:
        Resistance("%+d%% Paralysis %s", "paralysis resistance", "Resist paralysis");
        break;
    case 17: {
        const char* name = DiseaseName();
        if (!name) return;
        if (In(src, {2, 3, 4, 8, 9}))
            F("%+d%% %s %s", P, name, Res());
        else if (src == kSourceSpell)
            F("%s %s resistance by %u%%, for %u %s", Sign(S), name, Abs(S), SD, Turns(D));
        else if (src == kSourcePotion)
            F("%s %s resistance by %u%% for %u %s", Sign(P), name, Abs(P), D, Turns(D));
        else if (src == kSourceIngredient)
            F("Resist %s", name);
        break;
    }
    case 18:
        if (src == kSourceInnate) F("%+d%% normal weapon resistance", P);
        break;
    case 19:
        if (In(src, {5, 6}))
            F("Dispels magic effects");
        else if (src == kSourceIngredient)
            F("Dispel");
        break;
    case 20:
        if (In(src, {2, 4}))
            F("Feather %+d", A);
        else if (src == kSourceSpell)
            F("%s encumbrances by %u %s, for %u %s", S >= 0 ? "Lightens" : "Burdens", Abs(S), Points(S), SD,
              Turns(SD));
        else if (src == kSourcePotion)
            F("%s encumbrances by %u %s for %u %s", A >= 0 ? "Lightens" : "Burdens", Abs(A), Points(A), D,
              Turns(D));
        else if (src == kSourceIngredient)
            F("Feather");
        break;
    case 21:
        if (src == kSourceSpell) F("Removes curse");
        break;
    case 22:
        Resistance("%+d%% Magic %s", "magic resistance", "Resist magic");
        break;
    case 23: Damage(CreatureName()); break;
    case 24: Damage(RaceName()); break;
    case 25:
        if (In(src, {3, 15})) {
            bool absolute = A >= -100 && A <= 100;
            F("%+d%s damage", absolute ? A : P, absolute ? "" : "%");
        } else if (src == kSourceSpell) {
            F("Applies %u damage", S);
            Radius();
        } else if (src == kSourceDisease) {
            F("%+d hp (each turn)", A);
        }
        break;
    case 26:
        if (In(src, {1, 3, 14, 15})) {
            F("Poisons opponents");
        } else if (src == kSourceSpell) {
            F("Poisons by %u hp", S);
            Radius();
        } else if (src == kSourcePotion) {
            F("Poisons %u hp", A);
        } else if (src == kSourceIngredient) {
            F("Poison");
        }
        break;
    case 27:
        if (In(src, {1, 3, 14, 15})) {
            F("Curses opponents");
        } else if (src == kSourceSpell) {
            F("Curses for %u %s", SD, Turns(SD));
            Radius();
        }
        break;
    case 28:
        if (In(src, {1, 3, 14, 15}))
            F("Paralyzes opponents");
        else if (src == kSourceSpell)
            F("Paralyzes for %u %s", SD, Turns(SD));
        break;
    case 29:
    case 30:
        if (In(src, {1, 3, 14})) {
            F(e_.kind == 29 ? "Drains hp" : "Drains sp");
        } else if (src == kSourceSpell) {
            F(e_.kind == 29 ? "Drains %u hp" : "Drains %u mana", S);
            Radius();
        }
        break;
    case 31: CastSpell(); break;
    case 32: {
        const char* name = DiseaseName();
        if (!name) return;
        if (src == kSourceInnate) {
            F("Infects %s disease at %u%% chance", name, A);
        } else if (In(src, {3, 14, 15})) {
            F("Infects %s disease", name);
        } else if (src == kSourceSpell) {
            F("Infects %s disease", name);
            Radius();
        }
        break;
    }
    case 33:
        if (src == kSourceInnate)
            F("%+d%% diseases resistance", P);
        else if (In(src, {2, 4, 8, 9}))
            F("%+d%% Disease %s", P, Res());
        else if (src == kSourceSpell || src == kSourcePotion)
            Lasting("diseases resistance", true);
        else if (src == kSourceIngredient)
            F("Resist diseases");
        break;
    case 34:
    case 35: {
        const CSpell* spell = Spell();
        if (!spell) return;
        if (e_.kind == 34 && src == kSourceInnate)
            F("resist %s %+d%%", spell->GetDisplayName(), P);
        else if (e_.kind == 34 && In(src, {4, 8, 9, 14}))
            F("%+d%% %s resistance", P, spell->GetDisplayName());
        else if (e_.kind == 35 && In(src, {1, 4, 8, 9, 14}))
            F("Fortify %s %+d%%", spell->GetDisplayName(), P);
        break;
    }
    case 36:
        if (In(src, {1, 4, 8, 9, 14}))
            F("Fortify Magic %+d%%", P);
        else if (src == kSourcePotion)
            Lasting("magic", true);
        else if (src == kSourceIngredient)
            F("Fortify Magic");
        break;
    case 38:
        if (In(src, {1, 4, 8, 9, 14}))
            F("Fortify Melee %+d%%", P);
        else if (src == kSourceSpell)
            F("%s melee %u%%, for %u %s", Sign(S), Abs(S), SD, Turns(SD));
        else if (src == kSourcePotion)
            Lasting("melee", true);
        else if (src == kSourceIngredient)
            F("Fortify Melee");
        break;
    case 39:
        if (src == kSourceSpell) F("Magic immunity for %u %s", SD, Turns(SD));
        break;
    case 40:
    case 41:
        if (src == kSourceSpell) {
            F(e_.kind == 40 ? "Crushes by %u damage" : "Calms at chance %u%%", S);
            Radius();
        }
        break;
    case 43:
        if (src == kSourceSpell) F("Detects mind");
        break;
    case 44:
    case 45:
        if (src == kSourceSpell)
            F(e_.kind == 44 ? "Disarms traps by %u %s" : "Unlocks things by %u %s", S, Points(S));
        break;
    case 46:
    case 47:
    case 48:
        if (src == kSourceSpell)
            F(e_.kind == 46 ? "Marks location" : e_.kind == 47 ? "Recalls location" : "Town portal");
        break;
    case 49:
        if (src == kSourceSpell) F("Recharges a wand up to %u storage.", 3 * percent_);
        break;
    case 50:
    case 51:
        if (src == kSourceSpell) F("Enchants an item up to %u storage.", 3 * percent_);
        break;
    case 52:
        if (src == kSourceSpell) F("Creates food");
        break;
    case 53:
        if (src == kSourceInnate) {
            F("Level drop at %u%% chance", A);
        } else if (src == kSourceSpell) {
            F("Level drop");
            Radius();
        }
        break;
    case 55:
        if (src == kSourcePotion) F("Restores full mana");
        break;
    case 56:
        if (src == kSourcePotion && AttributeName()) F("Permanently fortifies %s by %+d", AttributeName(), A);
        break;
    case 57:
        if (src == kSourcePotion)
            F("Alcoholic %u%%", P);
        else if (src == kSourceIngredient)
            F("Alcoholic");
        break;
    case 58:
        if (In(src, {2, 3, 4, 14, 16})) F("%+d outfit pts", A);
        break;
    default: break;
    }
}

}  // namespace

void FormatEffectText(const CEffect& effect, const CRuleContext& game, int source, int percent, CStr& out,
                      bool shortForm, bool shorterForm) {
    out = "";
    Writer(effect, game, source, percent, out, shortForm, shorterForm).Write();
}

void FormatEffectListText(CStr& out, const CEffectList& list, const CRuleContext& game, int source,
                          int percent, bool shortForm) {
    const char* separator = ListSeparator(game.layoutMode);
    CStr one;
    if (source != kSourceIngredient) {
        for (int i = 0; i < list.Count(); ++i) {
            FormatEffectText(*list.At(i), game, source, percent, one, shortForm, false);
            out.Append(one.GetText());
            if (i + 1 < list.Count()) out.Append(separator);
        }
        return;
    }
    int skill = game.player ? game.player->GetSkillValue(kSkillAlchemy) : 0;
    int shown = list.Count() < 3 ? list.Count() : 3;
    for (int i = 0; i < shown; ++i) {
        bool known = i == 0 || (i == 1 && skill >= 30) || (i == 2 && skill >= 60);
        bool last = i + 1 == shown;
        if (known) {
            FormatEffectText(*list.At(i), game, kSourceIngredient, percent, one, shortForm, false);
            out.Append(one.GetText());
            if (!last) out.Append(separator);
        } else {
            out.Append("Unknown effect");
            if (!last) out.Append(shortForm ? ", " : "\r");
        }
    }
}
