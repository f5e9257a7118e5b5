// Reading records by key from an open database (one search of the record list, one positioned read),
// and walking a record's fields through the stream.
#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "core/Stream.h"

#include "bench/BenchFolder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <vector>

namespace {

using bench_support::BenchFolder;

void BM_ReadRecordByKey(benchmark::State& state) {
    BenchFolder folder;
    CFileFinder finder;
    finder.SetFolder(folder.Path());
    const u32 count = static_cast<u32>(state.range(0));
    {
        CPdbFile writer(nullptr, &finder);
        writer.InitSavedGameHeader("bench");
        std::vector<u8> record(200, 0x5A);
        for (u32 i = 0; i < count; ++i)
            writer.AddRecord(static_cast<u16>(4000 + i), record.data(), static_cast<u32>(record.size()));
        if (!writer.Save("bench")) {
            state.SkipWithError("cannot write the database");
            return;
        }
    }
    CPdbFile db(nullptr, &finder);
    if (!db.Open("bench", "VnTS")) {
        state.SkipWithError("cannot open the database");
        return;
    }
    std::mt19937 random(1);
    for (auto _ : state) {
        CRecordData* rec = db.ReadRecord(4000 + random() % count);
        benchmark::DoNotOptimize(rec->data);
        FreeDataBlock(rec);
    }
}
BENCHMARK(BM_ReadRecordByKey)->Arg(16)->Arg(1000);

void BM_StreamReadFields(benchmark::State& state) {
    CStream w;
    w.InitForWriting();
    for (u16 i = 0; i < 500; ++i) {
        u8 b = static_cast<u8>(i);
        u16 h = i;
        u32 x = i * 7u;
        const char* text = "base_water";
        w.SerializeU8(b);
        w.SerializeU16(h);
        w.SerializeU32(x);
        w.SerializeStringRef(text);
    }
    std::vector<u8> record(w.GetBuffer(), w.GetBuffer() + w.GetOffset());
    for (auto _ : state) {
        CStream r;
        r.InitForReading(record.data(), static_cast<u32>(record.size()));
        u32 sum = 0;
        for (int i = 0; i < 500; ++i) {
            u8 b;
            u16 h;
            u32 x;
            const char* text;
            r.SerializeU8(b);
            r.SerializeU16(h);
            r.SerializeU32(x);
            r.SerializeStringRef(text);
            sum += b + h + x;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_StreamReadFields);

}  // namespace

BENCHMARK_MAIN();
