// The array sort on a draw list of the size the 3D view sorts every frame, and the formatter on the
// kind of message the game builds most.
#include "core/Sort.h"
#include "core/Str.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

struct DrawEntry {
    i32 depth;
    u32 polygon;
    u32 texture;
    u32 flags;
};

int CompareDepth(const void* a, const void* b) {
    i32 x = static_cast<const DrawEntry*>(a)->depth, y = static_cast<const DrawEntry*>(b)->depth;
    return x < y ? -1 : x > y ? 1 : 0;
}

void BM_SortDrawList(benchmark::State& state) {
    std::mt19937 gen(1);
    std::vector<DrawEntry> source(static_cast<size_t>(state.range(0)));
    for (auto& e : source)
        e = {static_cast<i32>(gen() % 100000), static_cast<u32>(gen()), static_cast<u32>(gen()), 0};
    std::vector<DrawEntry> work;
    for (auto _ : state) {
        work = source;
        SortArray(work.data(), static_cast<u32>(work.size()), sizeof(DrawEntry), CompareDepth);
        benchmark::DoNotOptimize(work.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortDrawList)->Arg(200)->Arg(2000);

void BM_FormatMessage(benchmark::State& state) {
    CStr text;
    u32 n = 0;
    for (auto _ : state) {
        text.Format("%s hits you for %d damage (%02u:%02u)", "The cave troll", -static_cast<i32>(n % 40),
                    n % 24, n % 60);
        benchmark::DoNotOptimize(text.GetText());
        ++n;
    }
}
BENCHMARK(BM_FormatMessage);

}  // namespace

BENCHMARK_MAIN();
