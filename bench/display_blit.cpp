// The 2D drawing kit against the ceilings that apply to it: opaque and transparent blits of a 256 x 256
// picture in each encoding into an 800 x 584 frame, and a full page of text, each reported in
// Mpixels/s. Beside them, in the same run, three yardsticks: memcpy of contiguous bytes, a row-by-row
// copy of 256 x 256 pixels into the 800-wide frame, and a unit-step table lookup (one byte per pixel
// through a 256-entry colour table) of the same size, which is the realistic ceiling of a blit. Every
// blit and the text page also report "share": their speed over the table-lookup ceiling of their own
// size, both timed back to back inside the same benchmark.
#include "display/DisplayHost.h"
#include "display/FontSet.h"
#include "display/GlyphTables.h"
#include "display/Picture.h"
#include "display/Renderer.h"
#include "display/ViewState.h"
#include "core/PdbFile.h"
#include "core/RecordHolder.h"
#include "ui/Draw.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 584;

struct Frame {
    Frame() : pixels(static_cast<size_t>(kFrameWidth) * kFrameHeight, 0) {
        view.frameBuffer = {pixels.data(), kFrameWidth, kFrameHeight, kFrameWidth, 0};
        renderer.Init();
        renderer.viewState = &view;
        renderer.SetupView();
    }
    std::vector<u16> pixels;
    CViewState view;
    CRenderer renderer;
};

void Put16(std::vector<u8>& r, u16 v) {
    r.push_back(static_cast<u8>(v));
    r.push_back(static_cast<u8>(v >> 8));
}

// A 256 x 256 picture of random texels, one in sixteen see-through.
std::vector<u8> MakePicture(u8 encoding) {
    std::mt19937 rng(7);
    std::vector<u8> r(8, 0);
    r[0] = encoding;
    r[3] = 1;  // width 256
    r[5] = 1;  // height 256
    const u32 entries = encoding == 0 ? 256 : encoding == 1 ? 256 : 4096;
    const u32 blocks = encoding == 0 ? 65536 : 16384;
    for (u32 i = 0; i < blocks; ++i) {
        u32 index = rng() % entries;
        if (encoding == 0) {
            r.push_back(static_cast<u8>(index));
        } else if (encoding == 1) {
            r.push_back(static_cast<u8>(index));
        } else {
            Put16(r, static_cast<u16>(index));
        }
    }
    const u32 colours = encoding == 0 ? 256 : entries * 4;
    for (u32 i = 0; i < colours; ++i) Put16(r, (i % 16 == 5) ? 0xFFFF : static_cast<u16>(rng()));
    return r;
}

void SetRate(benchmark::State& state, double pixelsPerIteration) {
    state.counters["Mpixels/s"] = benchmark::Counter(
        pixelsPerIteration * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void BM_Memcpy(benchmark::State& state) {
    const size_t pixels = static_cast<size_t>(state.range(0));
    std::vector<u16> src(pixels, 0x1234), dst(pixels);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), pixels * 2);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetRate(state, static_cast<double>(pixels));
}
BENCHMARK(BM_Memcpy)->Arg(256 * 256)->Arg(kFrameWidth* kFrameHeight);

// A 256-entry colour table and width x height bytes of random indices, for the table-lookup yardstick.
struct LookupSource {
    LookupSource(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h), table(256) {
        std::mt19937 rng(3);
        for (u8& b : bytes) b = static_cast<u8>(rng());
        for (u16& c : table) c = static_cast<u16>(rng());
    }
    int width, height;
    std::vector<u8> bytes;
    std::vector<u16> table;
};

// What a blit cannot beat: each line looked up texel by texel, unit step, no clipping, no encodings,
// four independent lookups a round.
void TableLookup(const LookupSource& s, u16* frame) {
    const u16* __restrict table = s.table.data();
    for (int y = 0; y < s.height; ++y) {
        const u8* __restrict src = s.bytes.data() + static_cast<size_t>(y) * s.width;
        u16* __restrict d = frame + static_cast<size_t>(y) * kFrameWidth;
        int x = 0;
        for (; x + 4 <= s.width; x += 4) {
            d[x] = table[src[x]];
            d[x + 1] = table[src[x + 1]];
            d[x + 2] = table[src[x + 2]];
            d[x + 3] = table[src[x + 3]];
        }
        for (; x < s.width; ++x) d[x] = table[src[x]];
    }
}

// Runs the timed loop and sets the rate; then sets "share", the body's speed over the table lookup of
// the same size: nine rounds that each time both back to back, the median of their ratios, so that
// both meet the same load on a shared machine.
template <class Body>
void RunAgainstCeiling(benchmark::State& state, int width, int height, Body body) {
    for (auto _ : state) body();
    SetRate(state, static_cast<double>(width) * height);

    LookupSource source(width, height);
    std::vector<u16> frame(static_cast<size_t>(kFrameWidth) * kFrameHeight);
    auto timed = [](int reps, auto&& f) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < reps; ++i) f();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    };
    std::vector<double> ratios;
    for (int round = 0; round < 9; ++round) {
        const double ceiling = timed(20, [&] {
            TableLookup(source, frame.data());
            benchmark::DoNotOptimize(frame.data());
            benchmark::ClobberMemory();
        });
        const double own = timed(20, body);
        if (own > 0) ratios.push_back(ceiling / own);
    }
    std::sort(ratios.begin(), ratios.end());
    if (!ratios.empty()) state.counters["share"] = ratios[ratios.size() / 2];
}

void BM_RowCopy(benchmark::State& state) {
    std::vector<u16> src(256 * 256, 0x1234), frame(static_cast<size_t>(kFrameWidth) * kFrameHeight);
    for (auto _ : state) {
        for (int y = 0; y < 256; ++y)
            std::memcpy(frame.data() + (100 + y) * kFrameWidth + 100, src.data() + y * 256, 256 * 2);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    SetRate(state, 256.0 * 256.0);
}
BENCHMARK(BM_RowCopy);

void BM_TableLookup(benchmark::State& state) {
    LookupSource source(256, 256);
    std::vector<u16> frame(static_cast<size_t>(kFrameWidth) * kFrameHeight);
    for (auto _ : state) {
        TableLookup(source, frame.data() + 100 * kFrameWidth + 100);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    SetRate(state, 256.0 * 256.0);
}
BENCHMARK(BM_TableLookup);

void BM_Blit(benchmark::State& state) {
    const u8 encoding = static_cast<u8>(state.range(0));
    const bool transparent = state.range(1) != 0;
    std::vector<u8> record = MakePicture(encoding);
    CPictureData picture;
    if (!ReadPicture(record.data(), record.size(), picture)) {
        state.SkipWithError("bad picture");
        return;
    }
    Frame frame;
    RunAgainstCeiling(state, 256, 256, [&] {
        if (transparent)
            frame.renderer.DrawPictureTransparent(100, 100, picture, 256, 0, 0, 256, 256);
        else
            frame.renderer.DrawPicture(100, 100, picture, 256, 0, 0, 256, 256);
        benchmark::ClobberMemory();
    });
    state.SetLabel(std::string("encoding ") + std::to_string(encoding) +
                   (transparent ? " transparent" : " opaque"));
}
BENCHMARK(BM_Blit)->ArgsProduct({{0, 1, 2}, {0, 1}});

// A picture drawn from its record holder, as the widgets and the video output draw every interface
// picture, against the same blit of a picture read once beforehand. "ratio" is the held draw's time
// over the pre-read draw's, both timed back to back (nine rounds, the median): 1 means that a draw
// pays nothing for finding its picture. Arguments: the drawn width and height (64 x 64 is a plain
// draw; 296 x 584 the side panel's stretch).
void BM_HeldPicture(benchmark::State& state) {
    const i32 w = static_cast<i32>(state.range(0)), h = static_cast<i32>(state.range(1));
    // A 64 x 64 interface picture of 40 colours: its table covers only what its texels use, as the
    // builder writes them.
    std::vector<u8> record(8, 0);
    record[2] = 64;
    record[4] = 64;
    std::mt19937 rng(11);
    for (int i = 0; i < 64 * 64; ++i) record.push_back(static_cast<u8>(rng() % 40));
    for (int i = 0; i < 40; ++i) Put16(record, static_cast<u16>(rng()));
    CRecordHolder holder;
    holder.record = new CRecordData;
    holder.record->size = static_cast<u32>(record.size());
    holder.record->data = new u8[record.size()];
    std::memcpy(holder.record->data, record.data(), record.size());
    holder.data = holder.record->data;
    CPictureData once;
    if (!ReadPicture(holder.data, holder.Size(), once)) {
        state.SkipWithError("bad picture");
        return;
    }
    Frame frame;
    auto draw = [&](const CPictureData& p) {
        if (w == p.width && h == p.height)
            frame.renderer.DrawPicture(0, 0, p, p.width, 0, 0, w, h);
        else
            frame.renderer.DrawPictureStretched(0, 0, p, p.width, p.width, p.height, w, h);
        benchmark::ClobberMemory();
    };
    auto held = [&] {
        CPictureData p;
        if (GetHolderPicture(&holder, p)) draw(p);
    };
    for (auto _ : state) held();
    SetRate(state, static_cast<double>(w) * h);
    auto timed = [](int reps, auto&& f) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < reps; ++i) f();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    };
    std::vector<double> ratios;
    for (int round = 0; round < 9; ++round) {
        const double base = timed(200, [&] { draw(once); });
        const double own = timed(200, held);
        if (base > 0) ratios.push_back(own / base);
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["ratio"] = ratios[ratios.size() / 2];
}
BENCHMARK(BM_HeldPicture)->Args({64, 64})->Args({296, 584});

class BenchHost final : public CDisplayHost {
public:
    u32 GetLayoutMode() const override { return 15; }
    plat::Window* GetWindow() override { return nullptr; }
    void GetClientSize(u32& w, u32& h) const override {
        w = kFrameWidth;
        h = kFrameHeight;
    }
    void ChangeScreenMode(u32) override {}
    CViewState* GetViewState() override { return nullptr; }
    void GetLayoutTable(const u8*& table, size_t& size) const override {
        table = nullptr;
        size = 0;
    }
    u32 GetViewSize(u32) const override { return 0; }
    // Strips drawn to match the glyph tables: each glyph a solid block of the three shades with an
    // outline of strip colours.
    bool ReadInterfaceRecord(u32 record, std::vector<u8>& bytes) override {
        const GlyphTable* table = FindGlyphTable(record);
        if (!table) return false;
        int width = 5;
        for (const GlyphRecord& g : table->glyphs) width = std::max<int>(width, g.end);
        const int height = table->stripHeight;
        bytes.assign(8, 0);
        bytes[2] = static_cast<u8>(width);
        bytes[3] = static_cast<u8>(width >> 8);
        bytes[4] = static_cast<u8>(height);
        std::vector<u8> texels(static_cast<size_t>(width) * height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) texels[y * width + x] = static_cast<u8>((x * 7 + y * 3) % 6);
        bytes.insert(bytes.end(), texels.begin(), texels.end());
        if (texels.size() & 1) bytes.push_back(0);
        for (int i = 0; i < 6; ++i) Put16(bytes, static_cast<u16>(0x1111 * i));
        return true;
    }
};

void BM_TextPage(benchmark::State& state) {
    BenchHost host;
    Frame frame;
    CFontSet fonts;
    if (!fonts.LoadFonts(host, &frame.renderer)) {
        state.SkipWithError("no fonts");
        return;
    }
    std::string page;
    const char* words[] = {"the ",  "quick ", "brown ", "fox ",     "jumps ",   "over ",
                           "lazy ", "dogs ",  "while ", "sixteen ", "wizards ", "watch "};
    for (int i = 0; page.size() < 4000; ++i) page += words[i % 12];
    fonts.Select(1, 0xFFFFFF, 0x000000);
    RunAgainstCeiling(state, kFrameWidth, kFrameHeight, [&] {
        frame.renderer.FillRect(0, 0, kFrameWidth, kFrameHeight, 0);
        benchmark::DoNotOptimize(fonts.DrawTextBox(0, 0, kFrameWidth, kFrameHeight, page.c_str(), 0));
        benchmark::ClobberMemory();
    });
}
BENCHMARK(BM_TextPage);

}  // namespace

BENCHMARK_MAIN();
