#include "world/RestRules.h"

const char* RestRefusal(const CRestSituation& s) {
    if (s.forbidden) return "You cannot rest here.";
    if (s.monstersNear) return "There are monsters around - you cannot rest here.";
    if (s.poisoned) return "You're poisoned - resting would be lethal.";
    if (s.seriouslyDiseased) return "You're seriously diseased - resting would be lethal.";
    if (!s.hasFoodAndWater)
        return s.undead ? "You need food and water to rest.\rAs an undead, you can eat rotten food and drink even "
                          "contaminated water."
                        : "You need food and water to rest.\rRotten food and contaminated water don't apply.";
    return nullptr;
}

int RestedValue(int value, int maximum, bool exposed) {
    if (value >= maximum) return value;
    return exposed ? value + (maximum - value) / 2 : maximum;
}
