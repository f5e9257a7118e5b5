// The one growable container of the game: an array of untyped pointers that grows by a fixed step and
// never shrinks its storage. What happens to the elements is the caller's choice: the emptying
// operations each release them in their own way (templated on the element type, since the array
// itself only knows void pointers).
#pragma once

#include "core/Str.h"
#include "core/Types.h"

#include <cstring>
#include <type_traits>

class CPointerArray {
public:
    // Count and capacity are 16 bits wide; an array refuses elements past this many.
    static constexpr u32 kMaxSlots = 65535;
    static constexpr u16 kDefaultStep = 4;

    CPointerArray();
    // Frees the storage only: the elements are released by their owner through an emptying operation.
    ~CPointerArray();
    CPointerArray(const CPointerArray&) = delete;
    CPointerArray& operator=(const CPointerArray&) = delete;

    u16 GetCount() const { return count_; }
    u16 GetCapacity() const { return capacity_; }
    u16 GetGrowthStep() const { return step_; }
    void SetGrowthStep(u16 step) { step_ = step ? step : 1; }
    u32 OwnsElements() const { return owns_; }
    void SetOwnsElements(u32 owns) { owns_ = owns; }

    // The element at index, or null outside 0 .. count-1.
    void* GetAt(int index) const;
    template <class T>
    T* At(int index) const {
        return static_cast<T*>(GetAt(index));
    }
    // Replaces the element at index; nothing happens outside 0 .. count-1.
    void SetAt(int index, void* p);
    // Raw storage slot below the capacity, in use or not (null past the capacity).
    void* Slot(u32 index) const { return index < capacity_ ? slots_[index] : nullptr; }

    // Appends p, growing first when full. False (and nothing stored) when the array is at its limit.
    bool Add(void* p);
    bool Append(void* p) { return Add(p); }
    // Adds one growth step of null slots.
    bool Grow();
    // Makes room for n more elements at once (record loaders know their counts).
    void Reserve(u32 n);
    // A negative index counts as 0; an index at or past the count appends.
    bool InsertAt(int index, void* p);
    // Takes out the element at index and closes the gap; null and no change outside 0 .. count-1.
    void* RemoveAt(int index);
    void* RemoveAtIndex(int index) { return RemoveAt(index); }
    template <class T>
    T* RemoveAt(int index) {
        return static_cast<T*>(RemoveAt(index));
    }
    // Removes the first slot that holds exactly p.
    void Remove(void* p);
    void RemovePointer(void* p) { Remove(p); }
    // Index of the first element whose text equals text (case counts); -1 when none. Null texts and
    // null elements never match.
    int FindString(const char* text) const;

    // Forgets every element without releasing it: count 0, capacity back to the growth step.
    void RemoveAll();

    // Emptying operations: each releases every non-null element, then forgets them all.
    // Polymorphic elements, destroyed through T's (virtual) destructor.
    template <class T>
    void DeleteAll() {
        for (u32 i = 0; i < count_; ++i) delete static_cast<T*>(Take(i));
        RemoveAll();
    }
    // Plain records whose first member is a pointer the record does not own: it is cleared first so
    // that nothing it points to is released with the record.
    template <class T>
    void FreeEach() {
        static_assert(std::is_standard_layout_v<T> && sizeof(T) >= sizeof(void*),
                      "FreeEach needs a record that starts with a pointer");
        for (u32 i = 0; i < count_; ++i) {
            if (void* p = Take(i)) {
                std::memset(p, 0, sizeof(void*));
                delete static_cast<T*>(p);
            }
        }
        RemoveAll();
    }
    // Plain records and texts (texts come from DuplicateString and go with delete[]).
    template <class T>
    void FreeAll() {
        for (u32 i = 0; i < count_; ++i) {
            if constexpr (std::is_same_v<T, char>)
                delete[] static_cast<char*>(Take(i));
            else
                delete static_cast<T*>(Take(i));
        }
        RemoveAll();
    }
    // Loaded record handles: each goes back through FreeDataBlock, which frees data and handle.
    template <class R>
    void FreeAllBuffers() {
        for (u32 i = 0; i < count_; ++i) {
            if (void* p = Take(i)) FreeDataBlock(static_cast<R*>(p));
        }
        RemoveAll();
    }

private:
    void* Take(u32 index) {
        void* p = slots_[index];
        slots_[index] = nullptr;
        return p;
    }
    void Resize(u32 slots);

    u16 step_ = kDefaultStep;
    u16 count_ = 0;
    u16 capacity_ = 0;
    void** slots_ = nullptr;
    u32 owns_ = 1;
    // Slots really allocated; the capacity drops back to the step after an emptying while the
    // storage stays, so the two can differ.
    u32 allocated_ = 0;
};

// For an array made on the heap (an effect list): empties it with FreeEach when it owns its
// elements, then frees it.
template <class T>
void DeletePointerArray(CPointerArray* array) {
    if (!array) return;
    if (array->OwnsElements()) array->FreeEach<T>();
    delete array;
}

// The first element whose name equals id byte for byte; null for a null id or when none matches.
// T is a record kind with a `GetName()` (its leading named part).
template <class T>
T* FindRecordById(const CPointerArray& array, const char* id) {
    if (!id) return nullptr;
    for (int i = 0; i < array.GetCount(); ++i) {
        T* element = array.At<T>(i);
        if (element && element->GetName() && CompareStrings(element->GetName(), id) == 0) return element;
    }
    return nullptr;
}

// Item types keep their id one word into the record; their GetName() answers with it, so the search
// is the same.
template <class T>
T* FindRecordByIdAtWord2(const CPointerArray& array, const char* id) {
    return FindRecordById<T>(array, id);
}

// Sort callback for arrays of string pointers: compares the texts, null texts last.
int CompareStringPointers(const void* a, const void* b);
