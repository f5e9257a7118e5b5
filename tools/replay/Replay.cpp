// vantrel_replay: plays a recorded input log (app/InputLog.h; `vantrel --record FILE` writes one) to
// the real game object on a headless window, with a manual clock and a fixed seed, and prints the
// state at the end and the frames' hashes. Two replays of one log print the same.
//
//   vantrel_replay [--data DIR] [--folder DIR] [--seed N] [--settle MS] [--hashes] [--png FILE] LOG
//
//   --data DIR    where the game's databases are (default: the build folder above this tool)
//   --folder DIR  run in this folder (the databases are copied in; saved games stay there); default: a
//                 new temporary folder, removed at the end
//   --seed N      the calendar time the clock reports, from which the game seeds its draws (default:
//                 the log's "# seed N" line, which a recording writes, else 1)
//   --settle MS   how long the game runs on after the last event (default 1000)
//   --hashes      print the frame hash after every event, not only their combined hash
//   --png FILE    write the last frame as a PNG picture
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/HeadlessSession.h"
#include "app/InputLog.h"

namespace fs = std::filesystem;

namespace {

const char* const kDatabases[] = {"VantrelData", "VantrelMusic", "VantrelSound", "VantrelRes", "VantrelBase"};

bool WritePng(const std::string& path, const std::vector<u16>& pixels, int width, int height) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const u16 p = pixels[static_cast<size_t>(y) * width + x];
            row[static_cast<size_t>(x) * 3] = static_cast<png_byte>(((p >> 11) & 31) * 255 / 31);
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(((p >> 5) & 63) * 255 / 63);
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>((p & 31) * 255 / 31);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: vantrel_replay [--data DIR] [--folder DIR] [--seed N] [--settle MS] [--hashes] "
                 "[--png FILE] LOG\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string data = (fs::absolute(fs::path(argv[0])).parent_path().parent_path()).string();
    std::string folder, png, log;
    u32 seed = 1, settle = 1000;
    bool allHashes = false, seedGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--data" && hasValue) data = argv[++i];
        else if (arg == "--folder" && hasValue) folder = argv[++i];
        else if (arg == "--seed" && hasValue) {
            seed = static_cast<u32>(std::strtoul(argv[++i], nullptr, 10));
            seedGiven = true;
        }
        else if (arg == "--settle" && hasValue) settle = static_cast<u32>(std::strtoul(argv[++i], nullptr, 10));
        else if (arg == "--png" && hasValue) png = argv[++i];
        else if (arg == "--hashes") allHashes = true;
        else if (!arg.empty() && arg[0] != '-' && log.empty()) log = arg;
        else return Usage();
    }
    if (log.empty()) return Usage();

    std::vector<CInputLogEvent> events;
    std::string error;
    if (!ReadInputLogFile(log, events, error)) {
        std::fprintf(stderr, "vantrel_replay: %s\n", error.c_str());
        return 1;
    }
    if (!seedGiven) {
        std::ifstream in(log, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        FindLoggedSeed(text, seed);
    }

    const bool temporary = folder.empty();
    if (temporary)
        folder = (fs::temp_directory_path() /
                  ("vantrel-replay-" + std::to_string(std::random_device{}()) + std::to_string(std::random_device{}())))
                     .string();
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (const char* name : kDatabases) {
        const fs::path from = fs::path(data) / (std::string(name) + ".pdb");
        const fs::path to = fs::path(folder) / (std::string(name) + ".pdb");
        if (fs::equivalent(from, to, ec)) continue;
        fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            std::fprintf(stderr, "vantrel_replay: cannot copy %s: %s\n", from.c_str(), ec.message().c_str());
            return 1;
        }
    }

    int status = 0;
    {
        CHeadlessSession session(folder, seed);
        const std::vector<CFrameHashAt> hashes = session.Play(events, settle);
        u64 all = 0xCBF29CE484222325ull;
        for (const CFrameHashAt& h : hashes) {
            if (allHashes) std::printf("frame run %u tick %u hash %016llx\n", h.run, h.tick,
                                       static_cast<unsigned long long>(h.hash));
            all = (all ^ h.hash) * 0x100000001B3ull;
        }
        if (!session.Error().empty()) {
            std::fprintf(stderr, "vantrel_replay: the game did not start: %s\n", session.Error().c_str());
            status = 1;
        }
        std::printf("events: %zu\nframes hashed: %zu\nall frames: %016llx\n%s", events.size(), hashes.size(),
                    static_cast<unsigned long long>(all), session.StateText().c_str());
        if (!png.empty()) {
            std::vector<u16> pixels;
            int width = 0, height = 0;
            if (!session.ReadFrame(pixels, width, height) || !WritePng(png, pixels, width, height)) {
                std::fprintf(stderr, "vantrel_replay: no frame written to %s\n", png.c_str());
                status = 1;
            }
        }
    }
    if (temporary) fs::remove_all(folder, ec);
    return status;
}
