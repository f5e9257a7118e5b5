#include "core/PointerArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int g_tags[16];
void* Tag(int i) { return &g_tags[i]; }

std::vector<void*> Elements(const CPointerArray& a) {
    std::vector<void*> out;
    for (int i = 0; i < a.GetCount(); ++i) out.push_back(a.GetAt(i));
    return out;
}

TEST(PointerArray, GrowsByItsStepAndKeepsOrder) {
    CPointerArray a;
    EXPECT_EQ(a.GetCount(), 0);
    EXPECT_EQ(a.GetCapacity(), 4);
    EXPECT_EQ(a.GetGrowthStep(), 4);
    EXPECT_EQ(a.OwnsElements(), 1u);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(a.Add(Tag(i)));
    EXPECT_EQ(a.GetCapacity(), 8);
    EXPECT_EQ(Elements(a), (std::vector<void*>{Tag(0), Tag(1), Tag(2), Tag(3), Tag(4)}));
    for (u32 slot = 5; slot < 8; ++slot) EXPECT_EQ(a.Slot(slot), nullptr);
    EXPECT_EQ(a.GetAt(5), nullptr);
    EXPECT_EQ(a.GetAt(-1), nullptr);

    EXPECT_TRUE(a.Grow());
    EXPECT_EQ(a.GetCapacity(), 12);
    EXPECT_EQ(a.GetCount(), 5);

    // Reserve makes room for exactly what is asked plus one step, and only when needed.
    a.Reserve(7);
    EXPECT_EQ(a.GetCapacity(), 12);
    a.Reserve(8);
    EXPECT_EQ(a.GetCapacity(), 4 + 5 + 8);
    EXPECT_EQ(Elements(a).size(), 5u);
    EXPECT_EQ(a.GetAt(4), Tag(4));
}

TEST(PointerArray, InsertAndRemoveKeepTheOrderOfTheRest) {
    CPointerArray a;
    for (int i = 0; i < 4; ++i) a.Add(Tag(i));
    a.InsertAt(-3, Tag(10));                // a negative index counts as 0
    a.InsertAt(a.GetCount() + 5, Tag(11));  // past the end appends
    a.InsertAt(2, Tag(12));
    EXPECT_EQ(Elements(a), (std::vector<void*>{Tag(10), Tag(0), Tag(12), Tag(1), Tag(2), Tag(3), Tag(11)}));

    EXPECT_EQ(a.RemoveAt(a.GetCount()), nullptr);
    EXPECT_EQ(a.RemoveAt(-1), nullptr);
    EXPECT_EQ(a.GetCount(), 7);
    EXPECT_EQ(a.RemoveAt(2), Tag(12));
    EXPECT_EQ(a.RemoveAtIndex(a.GetCount() - 1), Tag(11));
    EXPECT_EQ(Elements(a), (std::vector<void*>{Tag(10), Tag(0), Tag(1), Tag(2), Tag(3)}));
    // The null tail moves down with the elements.
    for (u32 slot = a.GetCount(); slot < a.GetCapacity(); ++slot) EXPECT_EQ(a.Slot(slot), nullptr);

    a.Add(Tag(1));
    a.Remove(Tag(1));  // only the first occurrence
    EXPECT_EQ(Elements(a), (std::vector<void*>{Tag(10), Tag(0), Tag(2), Tag(3), Tag(1)}));
    a.RemovePointer(Tag(9));  // absent: nothing happens
    EXPECT_EQ(a.GetCount(), 5);
    a.Add(nullptr);
    a.Remove(nullptr);
    EXPECT_EQ(a.GetCount(), 5);

    a.SetAt(0, Tag(5));
    a.SetAt(9, Tag(6));
    EXPECT_EQ(a.GetAt(0), Tag(5));
}

struct Counted {
    static inline int destroyed = 0;
    virtual ~Counted() { ++destroyed; }
};
struct DerivedCounted : Counted {
    static inline int derivedDestroyed = 0;
    ~DerivedCounted() override { ++derivedDestroyed; }
};

// A plain record whose first member points at text it does not own.
struct Borrowing {
    static inline int released = 0;
    const char* borrowed;
    int value;
    ~Borrowing() {
        if (borrowed) ++released;  // would have released something it does not own
    }
};

struct Handle {
    u8* data;
    u32 size;
};
int g_handlesFreed = 0;
void FreeDataBlock(Handle* handle) {
    delete[] handle->data;
    delete handle;
    ++g_handlesFreed;
}

void ExpectEmptiedAndReusable(CPointerArray& a) {
    EXPECT_EQ(a.GetCount(), 0);
    EXPECT_EQ(a.GetCapacity(), a.GetGrowthStep());
    a.Add(Tag(7));
    EXPECT_EQ(a.Slot(0), Tag(7));
    EXPECT_EQ(a.Slot(1), nullptr);
    a.RemoveAll();
}

TEST(PointerArray, EmptyingOperationsReleaseEachElementTheirWayAndSkipNulls) {
    CPointerArray a;
    for (int i = 0; i < 6; ++i) a.Add(i == 2 ? nullptr : static_cast<Counted*>(new DerivedCounted));
    a.DeleteAll<Counted>();
    EXPECT_EQ(Counted::destroyed, 5);
    EXPECT_EQ(DerivedCounted::derivedDestroyed, 5);
    ExpectEmptiedAndReusable(a);

    static const char text[] = "shared";
    a.Add(new Borrowing{text, 1});
    a.Add(nullptr);
    a.Add(new Borrowing{text, 2});
    a.FreeEach<Borrowing>();
    EXPECT_EQ(Borrowing::released, 0);
    ExpectEmptiedAndReusable(a);

    a.Add(DuplicateString("one"));
    a.Add(DuplicateString("two"));
    a.FreeAll<char>();
    ExpectEmptiedAndReusable(a);

    for (int i = 0; i < 5; ++i) a.Add(new Handle{new u8[4], 4});
    a.Add(nullptr);
    a.FreeAllBuffers<Handle>();
    EXPECT_EQ(g_handlesFreed, 5);
    ExpectEmptiedAndReusable(a);

    // A growth step raised beyond the storage does not let the capacity pass the real slots.
    CPointerArray b;
    b.SetGrowthStep(50);
    b.FreeAll<char>();
    EXPECT_EQ(b.GetCapacity(), 4);
    for (int i = 0; i < 5; ++i) b.Add(Tag(i));
    EXPECT_EQ(b.GetCapacity(), 54);

    auto* heap = new CPointerArray;
    heap->Add(new Borrowing{text, 3});
    DeletePointerArray<Borrowing>(heap);
    DeletePointerArray<Borrowing>(nullptr);
    EXPECT_EQ(Borrowing::released, 0);
}

TEST(PointerArray, RefusesElementsPastItsSixteenBitLimit) {
    CPointerArray a;
    a.Reserve(CPointerArray::kMaxSlots);
    EXPECT_EQ(a.GetCapacity(), CPointerArray::kMaxSlots);
    for (u32 i = 0; i < CPointerArray::kMaxSlots; ++i) ASSERT_TRUE(a.Add(Tag(i % 16)));
    EXPECT_FALSE(a.Add(Tag(0)));
    EXPECT_FALSE(a.InsertAt(0, Tag(1)));
    EXPECT_FALSE(a.Grow());
    EXPECT_EQ(a.GetCount(), CPointerArray::kMaxSlots);
    EXPECT_EQ(a.GetAt(0), Tag(0));
}

TEST(PointerArray, FindStringAndStringPointerOrder) {
    CPointerArray a;
    EXPECT_EQ(a.FindString("a"), -1);
    char beta[] = "beta";
    char alpha[] = "Alpha";
    a.Add(nullptr);
    a.Add(alpha);
    a.Add(beta);
    a.Add(beta);
    EXPECT_EQ(a.FindString("beta"), 2);
    EXPECT_EQ(a.FindString("alpha"), -1);
    EXPECT_EQ(a.FindString("Alpha"), 1);
    EXPECT_EQ(a.FindString(nullptr), -1);
    EXPECT_EQ(a.FindString(""), -1);

    const char* texts[] = {"b", nullptr, "a"};
    EXPECT_GT(CompareStringPointers(&texts[1], &texts[0]), 0);
    EXPECT_LT(CompareStringPointers(&texts[0], &texts[1]), 0);
    EXPECT_GT(CompareStringPointers(&texts[0], &texts[2]), 0);
}

struct Record {
    const char* name;
    const char* GetName() const { return name; }
};

TEST(PointerArray, FindRecordByIdMatchesNamesExactly) {
    Record unnamed{nullptr}, potion{"base_potion"}, other{"base_Potion"};
    CPointerArray a;
    a.Add(&unnamed);
    a.Add(nullptr);
    a.Add(&other);
    a.Add(&potion);
    EXPECT_EQ(FindRecordById<Record>(a, "base_potion"), &potion);
    EXPECT_EQ(FindRecordById<Record>(a, "base_Potion"), &other);
    EXPECT_EQ(FindRecordById<Record>(a, "base_pot"), nullptr);
    EXPECT_EQ(FindRecordById<Record>(a, nullptr), nullptr);
    EXPECT_EQ(FindRecordByIdAtWord2<Record>(a, "base_potion"), &potion);
    CPointerArray empty;
    EXPECT_EQ(FindRecordById<Record>(empty, "x"), nullptr);
}

}  // namespace
