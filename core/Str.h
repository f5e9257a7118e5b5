// The game's own string class and the functions on plain NUL-terminated strings, with the printf-like
// formatter that every message and label goes through. Texts are single-byte; case rules touch the
// letters A..Z only.
#pragma once

#include <memory>

#include "core/Types.h"

#include <cstdarg>
#include <cstddef>

// An owned text in a heap block. The capacity is 16 bits wide and grows in whole steps of the growth
// step, so the capacities that the rest of the game sees are 10, 20, 30 ...
class CStr {
public:
    // The longest text a string holds; anything longer is cut, so the 16-bit capacity never wraps.
    static constexpr u32 kMaxLength = 65528;
    static constexpr u16 kMaxCapacity = 65530;
    static constexpr u16 kDefaultStep = 10;
    // Scratch sizes of Format and AppendFormat: longer results are cut to one less than these.
    static constexpr u32 kFormatScratch = 5000;
    static constexpr u32 kAppendFormatScratch = 1000;

    CStr();
    CStr(const char* text);  // NOLINT: a plain text converts freely, as the game expects
    CStr(const CStr& other);
    CStr(CStr&& other) noexcept;
    ~CStr();

    CStr& operator=(const CStr& other) {
        AssignStr(other);
        return *this;
    }
    CStr& operator=(CStr&& other) noexcept;
    CStr& operator=(const char* text) {
        Assign(text);
        return *this;
    }

    // A null text leaves the string unchanged.
    void Assign(const char* text);
    void AssignStr(const CStr& other);

    // The text; "" when the string has no block (after a move).
    const char* GetText() const { return buffer_ ? buffer_.get() : ""; }
    u32 GetLength() const;
    int IsEmpty() const { return GetLength() == 0 ? 1 : 0; }
    u16 GetCapacity() const { return capacity_; }
    u16 GetGrowthStep() const { return step_; }

    int Equals(const char* text) const;
    int EqualsStr(const CStr& other) const;
    int Differs(const CStr& other) const { return EqualsStr(other) ? 0 : 1; }

    // Makes room for n more bytes beyond the text and its NUL, in whole growth steps.
    void Reserve(u32 n);

    void Format(const char* format, ...);
    void AppendFormat(const char* format, ...);
    void FormatArgs(const char* format, va_list args);
    void AppendFormatArgs(const char* format, va_list args);

    void Append(const char* text);
    void Prepend(const char* text);
    void AppendChar(char c);
    void PrependChar(char c);
    void Replace(const char* from, const char* to);
    void ReplaceNoCase(const char* from, const char* to);
    // Drops a four-letter world prefix and its underscore ("base_water" -> "water").
    void StripNamePrefix();

    CStr Left(int n) const;
    CStr Right(int n) const;

private:
    // Moves the text into a new block of the given capacity (text cut to fit).
    void Reallocate(u16 capacity);
    void InsertAt(u32 at, const char* text, u32 len);
    void ReplaceImpl(const char* from, const char* to, bool noCase);

    std::unique_ptr<char[]> buffer_;
    u16 capacity_ = 0;
    u16 step_ = kDefaultStep;
};

// Compares as signed chars. A null first text sorts after everything, so two nulls give 1 and a null
// second text gives -1.
int CompareStrings(const char* a, const char* b);
// The same null rule, comparing after folding A..Z to a..z; callers only test for 0.
int CompareStringsNoCase(const char* a, const char* b);
// 0 when the first four characters agree ignoring case (a name that starts with a world prefix).
int CompareFirstFourNoCase(const char* a, const char* b);

// Index of the first c, -1 when absent or text is null; the NUL is never found.
int FindChar(const char* text, char c);
// Index of the first occurrence; -1 when absent, for null arguments and for an empty text or pattern.
int FindSubstring(const char* text, const char* pattern);
int FindNoCase(const char* text, const char* pattern);
// Non-overlapping occurrences from the left; 0 for null arguments or an empty pattern.
u32 CountOccurrences(const char* text, const char* pattern);
u32 CountOccurrencesNoCase(const char* text, const char* pattern);

// Replaces every occurrence of from by to, scanning from the left and never rescanning a
// replacement. The result is cut to capacity - 1 characters; nothing happens for null arguments or
// an empty from.
void ReplaceAll(char* buffer, size_t capacity, const char* from, const char* to);
void ReplaceAllNoCase(char* buffer, size_t capacity, const char* from, const char* to);

// Copies at most n characters and always terminates, so dst needs n + 1 bytes.
void CopyStringN(char* dst, const char* src, size_t n);
// Appends src to the text in dst, cut so that dst (capacity bytes) stays terminated.
void AppendString(char* dst, size_t capacity, const char* src);
// New heap copies, released with delete[]; null for a null text.
char* DuplicateString(const char* text);
char* LeftText(const char* text, int n);
char* RightText(const char* text, int n);
void ReverseText(char* text);

// Leading blanks, one optional sign, then decimal digits; 0 for null or no digits. No overflow check:
// the value wraps in its width.
i16 ParseShort(const char* text);
i32 ParseInt(const char* text);

// Decimal text of the value; dst needs 12 bytes for IntToText and 11 for UIntToText.
void IntToText(i32 value, char* dst);
void UIntToText(u32 value, char* dst);

// "an" for a word that starts with a vowel letter of either case, otherwise "a".
const char* IndefiniteArticle(const char* word);

// The game's formatter: %c %d %s %u, flags "-" "0" "+" recognised only in that order, a width, an
// optional ".precision", an "l" that changes nothing. Every argument is one 32-bit value (a pointer
// for %s). The fill goes outside the sign: %05d of -5 is "000-5". Any other conversion character
// ends the text there. The result is cut to cap - 1 characters and always terminated when cap > 0;
// nothing is written for a null dst or format. Returns the length written.
u32 FormatV(char* dst, size_t cap, const char* format, va_list args);
u32 FormatString(char* dst, size_t cap, const char* format, ...);
