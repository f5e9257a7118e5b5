#include "core/PointerArray.h"

#include <algorithm>

CPointerArray::CPointerArray() { Resize(kDefaultStep); }

CPointerArray::~CPointerArray() { delete[] slots_; }

void CPointerArray::Resize(u32 slots) {
    slots = std::min(slots, kMaxSlots);
    void** storage = new void*[slots]();
    if (slots_) std::copy(slots_, slots_ + std::min<u32>(capacity_, slots), storage);
    delete[] slots_;
    slots_ = storage;
    allocated_ = slots;
    capacity_ = static_cast<u16>(slots);
}

void* CPointerArray::GetAt(int index) const { return index >= 0 && index < count_ ? slots_[index] : nullptr; }

void CPointerArray::SetAt(int index, void* p) {
    if (index >= 0 && index < count_) slots_[index] = p;
}

bool CPointerArray::Grow() {
    if (capacity_ >= kMaxSlots) return false;
    Resize(static_cast<u32>(capacity_) + step_);
    return true;
}

bool CPointerArray::Add(void* p) {
    if (count_ == capacity_ && !Grow()) return false;
    slots_[count_++] = p;
    return true;
}

void CPointerArray::Reserve(u32 n) {
    if (static_cast<u64>(capacity_) < static_cast<u64>(count_) + n)
        Resize(static_cast<u32>(std::min<u64>(static_cast<u64>(step_) + count_ + n, kMaxSlots)));
}

bool CPointerArray::InsertAt(int index, void* p) {
    if (index < 0) index = 0;
    if (index >= count_) return Add(p);
    if (count_ == capacity_ && !Grow()) return false;
    std::move_backward(slots_ + index, slots_ + count_, slots_ + count_ + 1);
    slots_[index] = p;
    ++count_;
    return true;
}

void* CPointerArray::RemoveAt(int index) {
    if (index < 0 || index >= count_) return nullptr;
    void* p = slots_[index];
    // The whole storage moves down, so the null tail follows the elements.
    std::move(slots_ + index + 1, slots_ + capacity_, slots_ + index);
    slots_[capacity_ - 1] = nullptr;
    --count_;
    return p;
}

void CPointerArray::Remove(void* p) {
    for (int i = 0; i < count_; ++i) {
        if (slots_[i] == p) {
            RemoveAt(i);
            return;
        }
    }
}

int CPointerArray::FindString(const char* text) const {
    if (!text) return -1;
    for (int i = 0; i < count_; ++i) {
        auto* element = static_cast<const char*>(slots_[i]);
        if (element && CompareStrings(element, text) == 0) return i;
    }
    return -1;
}

void CPointerArray::RemoveAll() {
    count_ = 0;
    // The storage stays for reuse; it may be smaller than a growth step that was raised later.
    capacity_ = static_cast<u16>(std::min<u32>(step_, allocated_));
    std::fill(slots_, slots_ + allocated_, nullptr);
}

int CompareStringPointers(const void* a, const void* b) {
    return CompareStrings(*static_cast<const char* const*>(a), *static_cast<const char* const*>(b));
}
