#include "ui/InterfacePictures.h"
// The tables below are laid out by hand in rows and columns; the formatter leaves them so.
// clang-format off

namespace {

// Runs of consecutive base numbers. Within a run the three columns advance together. Where a run has
// an exception, the named modes take the exception's numbers instead of their group's.
struct PictureRun {
    u16 base;
    u16 small;
    u16 large;
    u16 count;
    u8 exModeA = 0;
    u8 exModeB = 0;
    u16 exFirst = 0;
};

constexpr PictureRun kRuns[] = {
    {3007, 3007, 3007, 2},
    {3015, 3670, 3015, 9},
    {3024, 3679, 4069, 6},
    {3030, 3882, 3030, 9},
    {3039, 3873, 3039, 9},
    {3090, 3090, 3090, 8},
    {3100, 3100, 3100, 8},
    {3110, 3658, 4075, 6},
    {3120, 3120, 3120, 8},
    {3130, 4141, 4143, 2},
    {3140, 3140, 3140, 9},
    {3150, 3150, 3150, 8},
    {3160, 3160, 3160, 4},
    {3170, 3170, 3170, 4},
    {3180, 3180, 3180, 8},
    {3190, 3190, 3190, 8},
    {3200, 3200, 3200, 1},
    {3210, 3210, 3210, 8},
    {3220, 4229, 3220, 4},
    {3224, 3685, 3224, 6},
    {3230, 4063, 4145, 6},
    {3236, 3695, 3236, 14},
    {3250, 3891, 3250, 18},
    {3270, 3709, 3270, 19},
    {3289, 3728, 4112, 2},
    {3291, 3909, 3291, 9},
    {3300, 3300, 3300, 5},
    {3306, 3730, 4114, 2},
    {3310, 3855, 3310, 14},
    {3324, 3691, 3324, 4},
    {3330, 4233, 3330, 8},
    {3340, 3841, 4082, 6},
    {3346, 3346, 3346, 3},
    {3349, 4029, 3349, 1},
    {3350, 3732, 3350, 2},
    {3352, 4030, 3352, 1},
    {3358, 3803, 4092, 20, 2, 2, 3358},
    {3378, 3378, 3378, 6},
    {3385, 3919, 4151, 3},
    {3390, 3869, 3390, 4},
    {3400, 3734, 4160, 69},
    {3470, 3833, 3470, 6},
    {3478, 3839, 3478, 2},
    {3480, 3829, 3480, 4},
    {3484, 3484, 3484, 2},
    {3486, 3940, 3486, 2},
    {3488, 3918, 4088, 1, 5, 8, 4055},
    {3489, 3938, 3489, 2},
    {3491, 3934, 3491, 4},
    {3495, 3495, 3495, 2},
    {3497, 3497, 3497, 2, 5, 8, 4053},
    {3500, 3500, 3500, 8},
    {3510, 3510, 3510, 8},
    {3530, 3530, 3530, 1},
    {3532, 3931, 4089, 3, 5, 8, 4056},
    {3550, 3550, 3550, 8},
    {3823, 3823, 3823, 6},
    {3923, 3923, 3923, 8},
    {4027, 4027, 4027, 2},
    {4037, 4037, 4037, 10, 3, 4, 3699},
    {4047, 4047, 4047, 2, 3, 4, 3685},
    {4049, 4049, 4049, 4, 3, 4, 3721},
    {4059, 4059, 4059, 4},
    {4116, 4122, 4128, 6},
    {4134, 4134, 4134, 4},
    {4138, 4139, 4140, 1},
    {4154, 4154, 4154, 4},
};

constexpr int CountPictures() {
    int n = 0;
    for (const PictureRun& r : kRuns) n += r.count;
    return n;
}
static_assert(CountPictures() == kInterfacePictureCount);

bool IsSmall(u32 mode) {
    switch (mode) {
    case 2: case 5: case 6: case 7: case 8: case 12: case 13: case 16: return true;
    default: return false;
    }
}

bool IsLarge(u32 mode) {
    switch (mode) {
    case 9: case 10: case 11: case 14: case 15: return true;
    default: return false;
    }
}

// The run holding a base number, with the holder index of the run's first picture.
const PictureRun* FindRun(u16 base, int& firstIndex) {
    int index = 0;
    for (const PictureRun& r : kRuns) {
        if (base >= r.base && base < r.base + r.count) {
            firstIndex = index;
            return &r;
        }
        index += r.count;
    }
    return nullptr;
}

}  // namespace

int InterfacePictureIndex(u16 base) {
    int first = 0;
    const PictureRun* run = FindRun(base, first);
    return run ? first + (base - run->base) : -1;
}

u16 InterfacePictureBase(int index) {
    if (index < 0) return 0;
    for (const PictureRun& r : kRuns) {
        if (index < r.count) return static_cast<u16>(r.base + index);
        index -= r.count;
    }
    return 0;
}

u16 InterfacePictureRecord(u16 base, u32 mode) {
    int first = 0;
    const PictureRun* run = FindRun(base, first);
    if (run == nullptr) return 0;
    u16 offset = static_cast<u16>(base - run->base);
    if (run->exFirst != 0 && (mode == run->exModeA || mode == run->exModeB))
        return static_cast<u16>(run->exFirst + offset);
    if (IsLarge(mode)) return static_cast<u16>(run->large + offset);
    if (IsSmall(mode)) return static_cast<u16>(run->small + offset);
    return base;
}
// clang-format on
