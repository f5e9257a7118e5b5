#include "core/NamedObject.h"
#include "core/PdbFile.h"
#include "core/PointerArray.h"
#include "core/Str.h"
#include "core/Stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<u8>;

Bytes Written(const CStream& s) { return Bytes(s.GetBuffer(), s.GetBuffer() + s.GetOffset()); }

TEST(Stream, FieldsAreAlignedFromTheRecordStartAndLittleEndian) {
    CStream w;
    w.InitForWriting();
    u8 b = 0x11;
    u16 h = 0x2233;
    u32 x = 0x44556677;
    u8 b2 = 0x88;
    u32 y = 0x99AABBCC;
    w.SerializeU8(b);
    w.SerializeU16(h);
    w.SerializeU32(x);
    w.SerializeU8(b2);
    w.SerializeU32(y);
    ASSERT_FALSE(w.HasError());
    const Bytes expected = {0x11, 0, 0x33, 0x22, 0x77, 0x66, 0x55, 0x44,
                            0x88, 0, 0,    0,    0xCC, 0xBB, 0xAA, 0x99};
    EXPECT_EQ(Written(w), expected);

    // The same fields read back from a record that starts 2 bytes past a multiple of 4: alignment
    // counts from the record's start, not from the address.
    alignas(4) u8 storage[4 + 16];
    u8* record = storage + 2;
    std::memcpy(record, expected.data(), expected.size());
    CStream r;
    r.InitForReading(record, static_cast<u32>(expected.size()));
    u8 rb = 0, rb2 = 0;
    u16 rh = 0;
    u32 rx = 0, ry = 0;
    r.SerializeU8(rb);
    r.SerializeU16(rh);
    EXPECT_EQ(r.GetOffset(), 4u);
    r.SerializeU32(rx);
    r.SerializeU8(rb2);
    r.SerializeU32(ry);
    EXPECT_FALSE(r.HasError());
    EXPECT_EQ(rb, 0x11);
    EXPECT_EQ(rh, 0x2233);
    EXPECT_EQ(rx, 0x44556677u);
    EXPECT_EQ(rb2, 0x88);
    EXPECT_EQ(ry, 0x99AABBCCu);
    EXPECT_EQ(r.GetOffset(), 16u);

    // Written at such an address too, a u32 after one byte still lands at offset 4.
    CStream w2;
    w2.InitForWriting();
    w2.SerializeU8(b);
    w2.SerializeU32(x);
    EXPECT_EQ(Written(w2), (Bytes{0x11, 0, 0, 0, 0x77, 0x66, 0x55, 0x44}));
}

TEST(Stream, MarkerIsConsumedOnlyWhenPresent) {
    CStream w;
    w.InitForWriting();
    EXPECT_EQ(w.MatchByte('K'), 1);
    EXPECT_EQ(Written(w), (Bytes{'K'}));

    u8 record[] = {'J', 5};
    CStream r;
    r.InitForReading(record, 2);
    EXPECT_EQ(r.MatchByte('K'), 0);
    EXPECT_EQ(r.GetOffset(), 0u);
    u8 v = 0;
    r.SerializeU8(v);
    EXPECT_EQ(v, 'J');
    EXPECT_EQ(r.MatchByte(5), 1);
    // At the end of the record a marker is simply absent.
    EXPECT_EQ(r.MatchByte(5), 0);
    EXPECT_FALSE(r.HasError());
}

TEST(Stream, NullAndEmptyStringsAreOneNul) {
    CStream w;
    w.InitForWriting();
    CStr empty;
    char* owned = nullptr;
    const char* ref = nullptr;
    w.SerializeStr(empty);
    w.SerializeOwnedString(owned);
    w.SerializeStringRef(ref);
    EXPECT_EQ(Written(w), (Bytes{0, 0, 0}));

    Bytes record = Written(w);
    CStream r;
    r.InitForReading(record.data(), static_cast<u32>(record.size()));
    CStr str;
    str.Assign("old");
    owned = DuplicateString("old");
    ref = "old";
    r.SerializeStr(str);
    r.SerializeOwnedString(owned);
    r.SerializeStringRef(ref);
    EXPECT_FALSE(r.HasError());
    EXPECT_STREQ(str.GetText(), "");
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(ref, nullptr);
}

TEST(Stream, TextsAndBlobsRoundTrip) {
    CStream w;
    w.InitForWriting();
    CStr str;
    str.Assign("title");
    char* owned = DuplicateString("owned");
    const char* ref = "ref";
    u8 blobBytes[3] = {7, 8, 9};
    u16 length = 3;
    u8* blob = blobBytes;
    u16 noLength = 0;
    u8* noBlob = nullptr;
    w.SerializeStr(str);
    w.SerializeOwnedString(owned);
    w.SerializeStringRef(ref);
    w.SerializeBlob(length, blob);
    w.SerializeBlob(noLength, noBlob);
    delete[] owned;
    ASSERT_FALSE(w.HasError());
    // "title\0owned\0ref\0" is 16 bytes, so the blob's length needs no gap.
    EXPECT_EQ(w.GetOffset(), 16u + 2 + 3 + 1 + 2);

    Bytes record = Written(w);
    CStream r;
    r.InitForReading(record.data(), static_cast<u32>(record.size()));
    CStr rstr;
    char* rowned = nullptr;
    const char* rref = nullptr;
    u16 rlength = 0, rnoLength = 9;
    u8* rblob = nullptr;
    u8* rnoBlob = blobBytes;
    r.SerializeStr(rstr);
    r.SerializeOwnedString(rowned);
    r.SerializeStringRef(rref);
    r.SerializeBlob(rlength, rblob);
    r.SerializeBlob(rnoLength, rnoBlob);
    EXPECT_FALSE(r.HasError());
    EXPECT_STREQ(rstr.GetText(), "title");
    EXPECT_STREQ(rowned, "owned");
    EXPECT_TRUE(rowned < reinterpret_cast<char*>(record.data()) ||
                rowned >= reinterpret_cast<char*>(record.data() + record.size()))
        << "an owned string is a copy";
    EXPECT_EQ(rref, reinterpret_cast<const char*>(record.data() + 12))
        << "a reference points into the record";
    ASSERT_EQ(rlength, 3);
    EXPECT_EQ(rblob, record.data() + 18);
    EXPECT_EQ(rnoLength, 0);
    EXPECT_EQ(rnoBlob, nullptr);
    EXPECT_EQ(r.GetOffset(), record.size());
    delete[] rowned;
}

// Each case reads one field sequence over a record that ends too early: the read yields zero or
// empty, the error flag stays set, and nothing after it is taken from the record.
TEST(Stream, ReadsPastTheEndSetAStickyError) {
    struct Case {
        const char* what;
        Bytes record;
        void (*read)(CStream&);
    };
    const Case cases[] = {
        {"u16 over one byte",
         {0xAA},
         [](CStream& s) {
             u16 v = 1;
             s.SerializeU16(v);
             EXPECT_EQ(v, 0);
         }},
        {"u32 after its gap",
         {1, 0, 0, 0, 0xAA, 0xBB},
         [](CStream& s) {
             u8 b;
             s.SerializeU8(b);
             u32 v = 1;
             s.SerializeU32(v);
             EXPECT_EQ(v, 0u);
         }},
        {"u8 of an empty record",
         {},
         [](CStream& s) {
             u8 v = 1;
             s.SerializeU8(v);
             EXPECT_EQ(v, 0);
         }},
        {"string without its NUL",
         {'a', 'b'},
         [](CStream& s) {
             CStr v;
             v.Assign("x");
             s.SerializeStr(v);
             EXPECT_STREQ(v.GetText(), "");
         }},
        {"reference without its NUL",
         {'a'},
         [](CStream& s) {
             const char* v = "x";
             s.SerializeStringRef(v);
             EXPECT_EQ(v, nullptr);
         }},
        {"owned string without its NUL",
         {'a'},
         [](CStream& s) {
             char* v = DuplicateString("x");
             s.SerializeOwnedString(v);
             EXPECT_EQ(v, nullptr);
         }},
        {"blob longer than the record",
         {5, 0, 1, 2},
         [](CStream& s) {
             u16 n = 0;
             u8* p = nullptr;
             s.SerializeBlob(n, p);
             EXPECT_EQ(n, 0);
             EXPECT_EQ(p, nullptr);
         }},
        {"string array longer than the record",
         {3, 0, 'a', 0, 'b'},
         [](CStream& s) {
             CPointerArray a;
             a.SetOwnsElements(false);
             s.ReadStringArray(a);
             ASSERT_EQ(a.GetCount(), 1u);
             EXPECT_STREQ(static_cast<const char*>(a.GetAt(0)), "a");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes record = c.record;
        record.push_back(0x5A);  // a byte beyond the record's end that must never be read
        CStream s;
        s.InitForReading(record.data(), static_cast<u32>(c.record.size()));
        c.read(s);
        EXPECT_TRUE(s.HasError());
        u8 after = 1;
        s.SerializeU8(after);
        EXPECT_EQ(after, 0);
        EXPECT_EQ(s.MatchByte(0x5A), 0);
        EXPECT_TRUE(s.HasError());
    }
}

TEST(Stream, WriterGrowsUpToTheLargestRecordAndNoFurther) {
    CStream w;
    w.InitForWriting();
    std::vector<u8> big(CStream::kMaxRecordSize - 1, 0x42);
    u16 length = static_cast<u16>(big.size() - 2);
    u8* data = big.data();
    w.SerializeBlob(length, data);  // 2 + 65,532 bytes
    u8 b = 1;
    w.SerializeU8(b);
    ASSERT_FALSE(w.HasError());
    EXPECT_EQ(w.GetOffset(), CStream::kMaxRecordSize);
    w.SerializeU8(b);
    EXPECT_TRUE(w.HasError());
    EXPECT_EQ(w.GetOffset(), CStream::kMaxRecordSize);

    CStream text;
    text.InitForWriting();
    std::string huge(70000, 'x');
    const char* ref = huge.c_str();
    text.SerializeStringRef(ref);
    EXPECT_TRUE(text.HasError());
}

TEST(Stream, StringArrayAppendsBehindExistingTextsAndGrows) {
    // count 6 at offset 2 after a tag byte; one empty text
    Bytes record = {'T', 0, 6, 0, 'a', 0, 'b', 0, 0, 'd', 0, 'e', 0, 'f', 0};
    CStream r;
    r.InitForReading(record.data(), static_cast<u32>(record.size()));
    EXPECT_EQ(r.MatchByte('T'), 1);
    CPointerArray array;
    array.SetOwnsElements(false);
    const char* front = "front";
    array.Add(const_cast<char*>(front));
    r.ReadStringArray(array);
    EXPECT_FALSE(r.HasError());
    ASSERT_EQ(array.GetCount(), 7u);
    EXPECT_GE(array.GetCapacity(), 7u);
    EXPECT_EQ(array.GetAt(0), front);
    EXPECT_STREQ(static_cast<const char*>(array.GetAt(1)), "a");
    EXPECT_EQ(array.GetAt(3), nullptr);
    EXPECT_STREQ(static_cast<const char*>(array.GetAt(6)), "f");
    EXPECT_EQ(static_cast<const char*>(array.GetAt(1)), reinterpret_cast<const char*>(record.data() + 4));
}

TEST(NamedObject, BorrowedAndOwnedNames) {
    char text[] = "sword";
    CNamedObject borrowed;
    EXPECT_EQ(borrowed.GetName(), nullptr);
    borrowed.SetName(text);
    EXPECT_EQ(borrowed.GetName(), text);

    CNamedObjectCopy owned;
    owned.CopyName(borrowed);
    ASSERT_NE(owned.GetName(), nullptr);
    EXPECT_NE(owned.GetName(), text);
    EXPECT_STREQ(owned.GetName(), "sword");
    owned.SetNameAgain(owned.GetName());  // its own text: copied before the old one is freed
    EXPECT_STREQ(owned.GetName(), "sword");
    owned.SetName(nullptr);
    EXPECT_EQ(owned.GetName(), nullptr);

    CNamedObject* asBase = &owned;
    asBase->SetName("axe");
    CNamedObjectCopy copy(owned);
    EXPECT_STREQ(copy.GetName(), "axe");
    EXPECT_NE(copy.GetName(), owned.GetName());
}

TEST(NamedObject, NamesTravelThroughTheStream) {
    CNamedObject a;
    a.SetName("alpha");
    CNamedObjectCopy b;
    b.SetName("beta");
    CNamedObjectCopy none;
    CStream w;
    w.InitForWriting();
    a.SerializeName(w, 1);
    b.SerializeName(w, 1);
    none.SerializeName(w, 1);
    Bytes record = Written(w);
    EXPECT_EQ(record.size(), 6u + 5 + 1);

    CStream r;
    r.InitForReading(record.data(), static_cast<u32>(record.size()));
    CNamedObject ra;
    CNamedObjectCopy rb, rnone;
    rnone.SetName("stale");
    ra.SerializeName(r, 0);
    rb.SerializeName(r, 0);
    rnone.SerializeName(r, 0);
    EXPECT_FALSE(r.HasError());
    EXPECT_EQ(ra.GetName(), reinterpret_cast<const char*>(record.data()));
    EXPECT_STREQ(rb.GetName(), "beta");
    EXPECT_NE(rb.GetName(), reinterpret_cast<const char*>(record.data() + 6));
    EXPECT_EQ(rnone.GetName(), nullptr);
}

TEST(ParseHexByte, DigitsOfEitherCase) {
    const struct {
        const char* text;
        u8 value;
    } cases[] = {
        {"ff", 255},     {"FF", 255}, {"0a", 10},   {"7F", 127}, {"00", 0},
        {"c8ffee", 200}, {"", 0},     {nullptr, 0}, {"f", 0xF0}, {"zz", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseHexByte(c.text), c.value) << (c.text ? c.text : "(null)");
}

}  // namespace
