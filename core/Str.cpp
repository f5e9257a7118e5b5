#include "core/Str.h"

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <string>
#include <type_traits>

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

size_t TextLength(const char* text, size_t limit) {
    size_t n = 0;
    while (n < limit && text[n] != '\0') ++n;
    return n;
}

// Capacity of a string made from a plain text: whole steps of 10, always above the length.
u16 CapacityForLength(u32 len) { return static_cast<u16>(((len + 1) / 10 + 1) * 10); }

bool MatchesAt(const char* text, const char* pattern, bool noCase) {
    for (; *pattern != '\0'; ++text, ++pattern) {
        if (*text == '\0') return false;
        if (noCase ? FoldCase(*text) != FoldCase(*pattern) : *text != *pattern) return false;
    }
    return true;
}

int Find(const char* text, const char* pattern, bool noCase) {
    if (!text || !pattern || *text == '\0' || *pattern == '\0') return -1;
    for (const char* p = text; *p != '\0'; ++p) {
        if (MatchesAt(p, pattern, noCase)) return static_cast<int>(p - text);
    }
    return -1;
}

u32 Count(const char* text, const char* pattern, bool noCase) {
    if (!text || !pattern || *pattern == '\0') return 0;
    size_t plen = std::strlen(pattern);
    u32 count = 0;
    for (const char* p = text; *p != '\0';) {
        if (MatchesAt(p, pattern, noCase)) {
            ++count;
            p += plen;
        } else {
            ++p;
        }
    }
    return count;
}

void Replace(char* buffer, size_t capacity, const char* from, const char* to, bool noCase) {
    if (!buffer || !from || !to || *from == '\0' || capacity == 0) return;
    size_t flen = std::strlen(from);
    std::string out;
    for (const char* p = buffer; *p != '\0';) {
        if (MatchesAt(p, from, noCase)) {
            out += to;
            p += flen;
        } else {
            out += *p++;
        }
    }
    size_t n = std::min(out.size(), capacity - 1);
    std::memcpy(buffer, out.data(), n);
    buffer[n] = '\0';
}

template <class T>
T ParseNumber(const char* text) {
    using U = std::make_unsigned_t<T>;
    if (!text) return 0;
    while (*text == ' ') ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    // Unsigned arithmetic so that an overlong number wraps instead of overflowing.
    U value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = static_cast<U>(value * 10u + static_cast<U>(*text - '0'));
    if (negative) value = static_cast<U>(0u - value);
    return static_cast<T>(value);
}

// Output of the formatter: keeps one byte for the NUL and drops whatever does not fit.
struct BoundedWriter {
    char* dst;
    size_t room;
    size_t len = 0;

    void Put(char c) {
        if (len < room) dst[len++] = c;
    }
    void Put(const char* text, size_t n) {
        n = std::min(n, room - len);
        std::memcpy(dst + len, text, n);
        len += n;
    }
    void Fill(char c, size_t n) {
        n = std::min(n, room - len);
        std::memset(dst + len, c, n);
        len += n;
    }
};

// A width or precision: decimal digits, saturating well above anything the output can hold.
size_t ReadCount(const char*& p) {
    size_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = std::min<size_t>(value * 10 + static_cast<size_t>(*p - '0'), 1u << 20);
    return value;
}

}  // namespace

// ---- CStr ----

CStr::CStr() : buffer_(new char[kDefaultStep]), capacity_(kDefaultStep) { buffer_[0] = '\0'; }

CStr::CStr(const char* text) : CStr() {
    if (!text) return;
    u32 len = static_cast<u32>(TextLength(text, kMaxLength));
    Reallocate(CapacityForLength(len));
    std::memcpy(buffer_.get(), text, len);
    buffer_[len] = '\0';
}

CStr::CStr(const CStr& other) : capacity_(other.capacity_), step_(other.step_) {
    if (!other.buffer_) {
        capacity_ = kDefaultStep;
        step_ = kDefaultStep;
        buffer_.reset(new char[capacity_]);
        buffer_[0] = '\0';
        return;
    }
    buffer_.reset(new char[capacity_]);
    std::memcpy(buffer_.get(), other.buffer_.get(), std::strlen(other.buffer_.get()) + 1);
}

CStr::CStr(CStr&& other) noexcept
    : buffer_(std::move(other.buffer_)), capacity_(other.capacity_), step_(other.step_) {
    other.capacity_ = 0;
}

CStr::~CStr() = default;

CStr& CStr::operator=(CStr&& other) noexcept {
    if (this != &other) {
        buffer_ = std::move(other.buffer_);
        capacity_ = other.capacity_;
        step_ = other.step_;
        other.capacity_ = 0;
    }
    return *this;
}

void CStr::Reallocate(u16 capacity) {
    std::unique_ptr<char[]> block(new char[capacity]);
    size_t len = buffer_ ? std::min<size_t>(std::strlen(buffer_.get()), capacity - 1u) : 0;
    if (len) std::memcpy(block.get(), buffer_.get(), len);
    block[len] = '\0';
    buffer_ = std::move(block);
    capacity_ = capacity;
}

void CStr::Assign(const char* text) {
    if (!text) return;
    u32 len = static_cast<u32>(TextLength(text, kMaxLength));
    if (buffer_ && len < capacity_) {
        // The text may be a piece of this very string.
        std::memmove(buffer_.get(), text, len);
        buffer_[len] = '\0';
        return;
    }
    u32 step = step_ ? step_ : kDefaultStep;
    u32 capacity = capacity_;
    while (capacity <= len) capacity += step;
    capacity = std::min<u32>(capacity, kMaxCapacity);
    // The new block is filled before the old one goes, since the text may point into it.
    std::unique_ptr<char[]> block(new char[capacity]);
    std::memcpy(block.get(), text, len);
    block[len] = '\0';
    buffer_ = std::move(block);
    capacity_ = static_cast<u16>(capacity);
}

void CStr::AssignStr(const CStr& other) {
    if (this == &other) return;
    CStr copy(other);
    *this = std::move(copy);
}

u32 CStr::GetLength() const { return buffer_ ? static_cast<u32>(std::strlen(buffer_.get())) : 0; }

int CStr::Equals(const char* text) const { return text && CompareStrings(GetText(), text) == 0 ? 1 : 0; }

int CStr::EqualsStr(const CStr& other) const {
    return buffer_ && other.buffer_ && CompareStrings(buffer_.get(), other.buffer_.get()) == 0 ? 1 : 0;
}

void CStr::Reserve(u32 n) {
    u64 need = static_cast<u64>(GetLength()) + n + 1;
    if (need < capacity_) return;
    u64 step = step_ ? step_ : kDefaultStep;
    u64 capacity = std::min<u64>((need / step + 1) * step, kMaxCapacity);
    if (capacity != capacity_ || !buffer_) Reallocate(static_cast<u16>(std::max<u64>(capacity, 1)));
}

void CStr::InsertAt(u32 at, const char* text, u32 len) {
    if (!buffer_) Reallocate(kDefaultStep);
    u32 cur = GetLength();
    u32 limit = std::min<u32>(capacity_ - 1u, kMaxLength);
    len = std::min(len, limit > cur ? limit - cur : 0u);
    if (len == 0) return;
    at = std::min(at, cur);
    std::memmove(buffer_.get() + at + len, buffer_.get() + at, cur - at + 1);
    std::memcpy(buffer_.get() + at, text, len);
}

void CStr::FormatArgs(const char* format, va_list args) {
    if (!format) return;
    char scratch[kFormatScratch];
    u32 len = FormatV(scratch, sizeof scratch, format, args);
    if (len >= capacity_) Reserve(len + 1);
    std::memcpy(buffer_.get(), scratch, len + 1);
}

void CStr::AppendFormatArgs(const char* format, va_list args) {
    if (!format) return;
    char scratch[kAppendFormatScratch];
    u32 len = FormatV(scratch, sizeof scratch, format, args);
    if (GetLength() + len >= capacity_) Reserve(len + 1);
    InsertAt(GetLength(), scratch, len);
}

void CStr::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatArgs(format, args);
    va_end(args);
}

void CStr::AppendFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatArgs(format, args);
    va_end(args);
}

void CStr::Append(const char* text) {
    if (!text) return;
    // A piece of this string would move with the block.
    std::string copy(text, TextLength(text, kMaxLength));
    Reserve(static_cast<u32>(copy.size()) + 1);
    InsertAt(GetLength(), copy.data(), static_cast<u32>(copy.size()));
}

void CStr::Prepend(const char* text) {
    if (!text) return;
    std::string copy(text, TextLength(text, kMaxLength));
    Reserve(static_cast<u32>(copy.size()) + 1);
    InsertAt(0, copy.data(), static_cast<u32>(copy.size()));
}

void CStr::AppendChar(char c) {
    Reserve(2);
    InsertAt(GetLength(), &c, c ? 1 : 0);
}

void CStr::PrependChar(char c) {
    Reserve(2);
    InsertAt(0, &c, c ? 1 : 0);
}

void CStr::ReplaceImpl(const char* from, const char* to, bool noCase) {
    if (!from || !to || !buffer_) return;
    std::string f(from), t(to);
    u32 count = noCase ? CountOccurrencesNoCase(buffer_.get(), f.c_str())
                       : CountOccurrences(buffer_.get(), f.c_str());
    if (count == 0) return;
    if (t.size() > f.size()) {
        u64 grow = static_cast<u64>(count) * (t.size() - f.size()) + 1;
        Reserve(static_cast<u32>(std::min<u64>(grow, kMaxCapacity)));
    }
    size_t room = std::min<size_t>(capacity_, kMaxLength + 1u);
    ::Replace(buffer_.get(), room, f.c_str(), t.c_str(), noCase);
}

void CStr::Replace(const char* from, const char* to) { ReplaceImpl(from, to, false); }

void CStr::ReplaceNoCase(const char* from, const char* to) { ReplaceImpl(from, to, true); }

void CStr::StripNamePrefix() {
    if (!buffer_) return;
    size_t len = std::strlen(buffer_.get());
    size_t cut = std::min<size_t>(len, 5);
    std::memmove(buffer_.get(), buffer_.get() + cut, len - cut + 1);
}

CStr CStr::Left(int n) const {
    u32 len = GetLength();
    u32 keep = n <= 0 ? 0 : std::min<u32>(len, static_cast<u32>(n));
    return CStr(std::string(GetText(), keep).c_str());
}

CStr CStr::Right(int n) const {
    u32 len = GetLength();
    u32 keep = n <= 0 ? 0 : std::min<u32>(len, static_cast<u32>(n));
    return CStr(GetText() + (len - keep));
}

// ---- plain strings ----

int CompareStrings(const char* a, const char* b) {
    if (!a) return 1;
    if (!b) return -1;
    for (;; ++a, ++b) {
        auto ca = static_cast<signed char>(*a), cb = static_cast<signed char>(*b);
        if (ca != cb) return ca - cb;
        if (ca == 0) return 0;
    }
}

namespace {

int CompareNoCase(const char* a, const char* b, size_t limit) {
    if (!a) return 1;
    if (!b) return -1;
    for (size_t i = 0; i < limit; ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return static_cast<signed char>(a[i]) - static_cast<signed char>(b[i]);
        if (a[i] == '\0') return 0;
    }
    return 0;
}

}  // namespace

int CompareStringsNoCase(const char* a, const char* b) { return CompareNoCase(a, b, SIZE_MAX); }

int CompareFirstFourNoCase(const char* a, const char* b) { return CompareNoCase(a, b, 4); }

int FindChar(const char* text, char c) {
    if (!text || c == '\0') return -1;
    const char* p = std::strchr(text, c);
    return p ? static_cast<int>(p - text) : -1;
}

int FindSubstring(const char* text, const char* pattern) { return Find(text, pattern, false); }

int FindNoCase(const char* text, const char* pattern) { return Find(text, pattern, true); }

u32 CountOccurrences(const char* text, const char* pattern) { return Count(text, pattern, false); }

u32 CountOccurrencesNoCase(const char* text, const char* pattern) { return Count(text, pattern, true); }

void ReplaceAll(char* buffer, size_t capacity, const char* from, const char* to) {
    Replace(buffer, capacity, from, to, false);
}

void ReplaceAllNoCase(char* buffer, size_t capacity, const char* from, const char* to) {
    Replace(buffer, capacity, from, to, true);
}

void CopyStringN(char* dst, const char* src, size_t n) {
    if (!dst || !src) return;
    size_t len = TextLength(src, n);
    std::memmove(dst, src, len);
    dst[len] = '\0';
}

void AppendString(char* dst, size_t capacity, const char* src) {
    if (!dst || !src || capacity == 0) return;
    size_t cur = TextLength(dst, capacity);
    if (cur >= capacity) {
        dst[capacity - 1] = '\0';
        return;
    }
    size_t n = TextLength(src, capacity - 1 - cur);
    std::memmove(dst + cur, src, n);
    dst[cur + n] = '\0';
}

char* DuplicateString(const char* text) {
    if (!text) return nullptr;
    size_t len = std::strlen(text);
    char* copy = new char[len + 1];
    std::memcpy(copy, text, len + 1);
    return copy;
}

char* LeftText(const char* text, int n) {
    if (!text) return nullptr;
    size_t keep = n <= 0 ? 0 : TextLength(text, static_cast<size_t>(n));
    char* copy = new char[keep + 1];
    std::memcpy(copy, text, keep);
    copy[keep] = '\0';
    return copy;
}

char* RightText(const char* text, int n) {
    if (!text) return nullptr;
    size_t len = std::strlen(text);
    size_t keep = n <= 0 ? 0 : std::min(len, static_cast<size_t>(n));
    return DuplicateString(text + (len - keep));
}

void ReverseText(char* text) {
    if (text) std::reverse(text, text + std::strlen(text));
}

i16 ParseShort(const char* text) { return ParseNumber<i16>(text); }

i32 ParseInt(const char* text) { return ParseNumber<i32>(text); }

void UIntToText(u32 value, char* dst) {
    char* p = dst;
    do {
        *p++ = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    *p = '\0';
    ReverseText(dst);
}

void IntToText(i32 value, char* dst) {
    if (value < 0) {
        *dst++ = '-';
        UIntToText(0u - static_cast<u32>(value), dst);
    } else {
        UIntToText(static_cast<u32>(value), dst);
    }
}

const char* IndefiniteArticle(const char* word) {
    if (word && *word != '\0' && std::strchr("aeiouAEIOU", *word)) return "an";
    return "a";
}

// ---- the formatter ----

u32 FormatV(char* dst, size_t cap, const char* format, va_list args) {
    if (!dst || !format || cap == 0) return 0;
    BoundedWriter out{dst, cap - 1};
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            out.Put(*p++);
            continue;
        }
        ++p;
        if (*p == '%') {
            out.Put('%');
            ++p;
            continue;
        }
        // The flags count only in this order; "%+05d" reads 05 as the width and fills with blanks.
        // They are not read in any order, and a blank is no flag: the formatter's syntax is exactly
        // this one, the game's own format strings keep to it, and a "%0-5d" or "% d" that reached
        // the formatter would be a fault of its format string, which then ends the text where the
        // syntax breaks, as an unknown conversion does, rather than print something else.
        bool left = false, zero = false, plus = false;
        if (*p == '-') {
            left = true;
            ++p;
        }
        if (*p == '0') {
            zero = true;
            ++p;
        }
        if (*p == '+') {
            plus = true;
            ++p;
        }
        size_t width = ReadCount(p);
        size_t precision = 0;
        if (*p == '.') {
            ++p;
            precision = ReadCount(p);
        }
        if (*p == 'l') ++p;

        char number[16];
        const char* text = number;
        switch (*p) {
        case 'c':
            number[0] = static_cast<char>(va_arg(args, int));
            number[1] = '\0';
            break;
        case 'd': {
            i32 value = va_arg(args, i32);
            if (plus && value > 0) {
                number[0] = '+';
                IntToText(value, number + 1);
            } else {
                IntToText(value, number);
            }
            break;
        }
        case 's':
            text = va_arg(args, const char*);
            if (!text) text = "";
            break;
        case 'u': UIntToText(va_arg(args, u32), number); break;
        default:
            // An unknown conversion ends the text here.
            dst[out.len] = '\0';
            return static_cast<u32>(out.len);
        }
        ++p;

        size_t len = std::strlen(text);
        if (precision != 0 && precision < len) len = precision;
        // The fill stands outside the whole converted text, sign included.
        size_t fill = width > len ? width - len : 0;
        char fillChar = zero ? '0' : ' ';
        if (!left) out.Fill(fillChar, fill);
        out.Put(text, len);
        if (left) out.Fill(fillChar, fill);
    }
    dst[out.len] = '\0';
    return static_cast<u32>(out.len);
}

u32 FormatString(char* dst, size_t cap, const char* format, ...) {
    va_list args;
    va_start(args, format);
    u32 len = FormatV(dst, cap, format, args);
    va_end(args);
    return len;
}
