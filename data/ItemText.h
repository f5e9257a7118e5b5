// The display name and the description lines of an item, from its type, its instance and, for magic
// items, the spell its first effect names.
#pragma once

#include "core/Str.h"

class CItemType;
struct CItemInstance;
struct CRuleContext;

const char* GetItemClassName(int itemClass);
const char* GetItemSubclassName(int itemClass, int subclass);

// Sets out to the item's name.
void FormatItemName(const CItemType& type, const CItemInstance* instance, bool shortForm,
                    const CRuleContext& game, CStr& out);
// Appends the description lines.
void FormatItemDescription(const CItemType& type, const CItemInstance* instance, const CRuleContext& game,
                           CStr& out, bool showNumbers);
// Appends the word for the type's enchant capacity.
void FormatEnchantability(const CItemType& type, CStr& out);
