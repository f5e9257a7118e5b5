#include "tools/content/PictureEncoder.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>
#include <unordered_map>

#include "tools/content/ByteWriter.h"

namespace {

void WriteHeader(ByteWriter& out, int encoding, int width, int height) {
    out.U8(encoding);
    out.U8(0);
    out.I16(width);
    out.I16(height);
    out.U16(0);
}

std::vector<uint8_t> EncodePalette(const std::vector<uint16_t>& px, int w, int h) {
    std::map<uint16_t, uint8_t> index;
    for (uint16_t c : px) index.emplace(c, 0);
    if (index.size() > 256) throw std::logic_error("too many colours for encoding 0");
    uint8_t next = 0;
    for (auto& [colour, i] : index) i = next++;
    ByteWriter out;
    WriteHeader(out, 0, w, h);
    for (uint16_t c : px) out.U8(index[c]);
    out.Align(2);
    for (auto& [colour, i] : index) out.U16(colour);
    return out.Take();
}

using Block = std::array<uint16_t, 4>;

std::vector<uint8_t> EncodeBlocks(const std::vector<uint16_t>& px, int w, int h, int encoding,
                                  std::vector<Block>& table) {
    table.assign(1, Block{kTransparent565, kTransparent565, kTransparent565, kTransparent565});
    std::map<Block, uint32_t> index;
    std::vector<uint32_t> blocks;
    for (int by = 0; by < h / 2; ++by)
        for (int bx = 0; bx < w / 2; ++bx) {
            auto at = [&](int dx, int dy) { return px[static_cast<size_t>(2 * by + dy) * w + 2 * bx + dx]; };
            Block b{at(0, 0), at(1, 0), at(0, 1), at(1, 1)};
            if (b == table[0]) {
                blocks.push_back(0);
                continue;
            }
            auto [it, added] = index.emplace(b, static_cast<uint32_t>(table.size()));
            if (added) table.push_back(b);
            blocks.push_back(it->second);
        }
    size_t limit = encoding == 1 ? 256 : 65536;
    if (table.size() > limit) return {};
    ByteWriter out;
    WriteHeader(out, encoding, w, h);
    for (uint32_t b : blocks) encoding == 1 ? out.U8(b) : out.U16(b);
    out.Align(2);
    for (const Block& b : table)
        for (uint16_t c : b) out.U16(c);
    return out.Take();
}

struct Box {
    std::vector<std::pair<uint16_t, size_t>> colours;  // colour, count
};

int Channel(uint16_t c, int ch) { return ch == 0 ? (c >> 11) * 2 : ch == 1 ? (c >> 5) & 63 : (c & 31) * 2; }

}  // namespace

uint16_t To565(Rgba c) {
    auto q = [](int v, int bits) { return (v * ((1 << bits) - 1) + 127) / 255; };
    uint16_t v = static_cast<uint16_t>((q(c.r, 5) << 11) | (q(c.g, 6) << 5) | q(c.b, 5));
    return v == kTransparent565 ? 0xFFDF : v;
}

std::vector<uint16_t> ToPixels565(const Canvas& canvas) {
    std::vector<uint16_t> px;
    px.reserve(static_cast<size_t>(canvas.Width()) * canvas.Height());
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            Rgba c = canvas.Get(x, y);
            px.push_back(c.a < 128 ? kTransparent565 : To565(c));
        }
    return px;
}

std::vector<uint16_t> ReduceColours(const std::vector<uint16_t>& pixels, size_t maxColours) {
    std::unordered_map<uint16_t, size_t> counts;
    bool hasTransparent = false;
    for (uint16_t c : pixels) {
        if (c == kTransparent565)
            hasTransparent = true;
        else
            ++counts[c];
    }
    size_t budget = maxColours - (hasTransparent ? 1 : 0);
    if (counts.size() <= budget) return pixels;
    std::vector<Box> boxes(1);
    // The hash map's order is the library's: sort, and split on a total order below, so that the
    // palette is the same whichever compiler and library built the builder.
    for (auto& kv : counts) boxes[0].colours.push_back(kv);
    std::sort(boxes[0].colours.begin(), boxes[0].colours.end());
    while (boxes.size() < budget) {
        // Split the box with the widest channel range (weighted by its pixel count).
        size_t best = boxes.size();
        int bestCh = 0;
        long bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].colours.size() < 2) continue;
            size_t total = 0;
            for (auto& cc : boxes[i].colours) total += cc.second;
            for (int ch = 0; ch < 3; ++ch) {
                int lo = 255, hi = 0;
                for (auto& cc : boxes[i].colours)
                    lo = std::min(lo, Channel(cc.first, ch)), hi = std::max(hi, Channel(cc.first, ch));
                long score = static_cast<long>(hi - lo) * static_cast<long>(1 + total / 64);
                if (score > bestScore) bestScore = score, best = i, bestCh = ch;
            }
        }
        if (best == boxes.size()) break;
        auto& cs = boxes[best].colours;
        std::sort(cs.begin(), cs.end(), [&](auto& a, auto& b) {
            const int ca = Channel(a.first, bestCh), cb = Channel(b.first, bestCh);
            return ca != cb ? ca < cb : a.first < b.first;
        });
        size_t total = 0, half = 0;
        for (auto& cc : cs) total += cc.second;
        size_t cut = 0;
        for (; cut < cs.size() - 1; ++cut) {
            half += cs[cut].second;
            if (half * 2 >= total) break;
        }
        Box second;
        second.colours.assign(cs.begin() + cut + 1, cs.end());
        cs.erase(cs.begin() + cut + 1, cs.end());
        boxes.push_back(std::move(second));
    }
    std::unordered_map<uint16_t, uint16_t> map;
    for (const Box& b : boxes) {
        // A split can leave a box without colours: it stands for nothing.
        if (b.colours.empty()) continue;
        double r = 0, g = 0, bl = 0, n = 0;
        for (auto& [c, k] : b.colours)
            r += (c >> 11) * double(k), g += ((c >> 5) & 63) * double(k), bl += (c & 31) * double(k), n += k;
        uint16_t mean =
            static_cast<uint16_t>((static_cast<int>(r / n + 0.5) << 11) |
                                  (static_cast<int>(g / n + 0.5) << 5) | static_cast<int>(bl / n + 0.5));
        if (mean == kTransparent565) mean = 0xFFDF;
        for (auto& [c, k] : b.colours) map[c] = mean;
    }
    std::vector<uint16_t> out(pixels);
    for (uint16_t& c : out)
        if (c != kTransparent565) c = map[c];
    return out;
}

std::vector<uint8_t> EncodePicture565(const std::vector<uint16_t>& px, int w, int h, Encoding encoding) {
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767 || px.size() != static_cast<size_t>(w) * h)
        throw std::invalid_argument("bad picture size");
    bool even = w % 2 == 0 && h % 2 == 0;
    std::vector<Block> table;
    switch (encoding) {
    case Encoding::Palette: return EncodePalette(ReduceColours(px, 256), w, h);
    case Encoding::Blocks8:
    case Encoding::Blocks16: {
        if (!even) throw std::invalid_argument("block encodings need even sizes");
        auto out = EncodeBlocks(px, w, h, static_cast<int>(encoding), table);
        if (out.empty()) throw std::logic_error("too many distinct blocks");
        return out;
    }
    case Encoding::Auto: break;
    }
    // Lossless candidates, smallest first: a palette when 256 colours suffice, the block encodings
    // when the sizes are even (they win on flat and repetitive pictures such as frame pieces).
    std::vector<uint16_t> distinct(px);
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    std::vector<uint8_t> best;
    if (distinct.size() <= 256) best = EncodePalette(px, w, h);
    if (even) {
        for (int enc : {1, 2}) {
            auto out = EncodeBlocks(px, w, h, enc, table);
            // A block table larger than the texels it replaces gains nothing over a palette.
            if (!out.empty() && out.size() < static_cast<size_t>(w) * h * 2 &&
                (best.empty() || out.size() < best.size()))
                best = std::move(out);
        }
    }
    if (!best.empty()) return best;
    return EncodePalette(ReduceColours(px, 256), w, h);
}

std::vector<uint8_t> EncodePicture(const Canvas& canvas, Encoding encoding) {
    return EncodePicture565(ToPixels565(canvas), canvas.Width(), canvas.Height(), encoding);
}
