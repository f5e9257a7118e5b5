// The built world databases are the same bytes whoever compiled the builder and whenever it ran: none
// of its random draws may hang on the order in which a compiler evaluates a call's arguments, no
// picture's palette on the order of a hash map, and the headers carry a fixed date. The plain build (gcc) and the sanitized one (clang) both run this, so the
// pinned hashes hold for both. A deliberate change of the built content shows here; whoever makes it
// writes the new hash, which the failure prints.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/data/WorldFixtures.h"
#include "tests/support/TempDir.h"

namespace {

std::string Fnv1a(const std::vector<uint8_t>& bytes) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (uint8_t b : bytes) h = (h ^ b) * 0x100000001B3ull;
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const world::Picture* FindPicture(const world::Content& c, const std::string& name) {
    for (const world::Picture& p : c.pictures)
        if (p.name == name) return &p;
    return nullptr;
}

// The skies drew their stars and clouds with several draws in one call's arguments, and came out
// different from a gcc and a clang build.
TEST(BuiltDatabaseHash, TheSkiesAreTheSameBytesWhoeverBuiltTheBuilder) {
    const struct {
        const char* name;
        const char* hash;
    } skies[] = {
        {"bres_skyday", "fde3eed89b843efb"},      {"bres_skyrain", "4926f185948d74ae"},
        {"bres_skydusk", "0d51da42e0cbe376"},     {"bres_skynight", "b656cd20b20da163"},
        {"bres_sky-thunder", "cf99ebab6a6c9209"},
    };
    const world::Content first = fixtures::ResourceWorld(), second = fixtures::ResourceWorld();
    for (const auto& sky : skies) {
        const world::Picture* p = FindPicture(first, sky.name);
        ASSERT_NE(p, nullptr) << sky.name;
        EXPECT_EQ(Fnv1a(p->data), sky.hash) << sky.name;
        EXPECT_EQ(p->data, FindPicture(second, sky.name)->data) << sky.name << " differs between two builds";
    }
}

TEST(BuiltDatabaseHash, EachWorldDatabaseIsPinned) {
    testing_support::TempDir dir;
    const struct {
        world::Content content;
        const char* hash;
    } worlds[] = {
        {fixtures::MusicWorld(), "d79871b41be827b6"},
        {fixtures::SoundWorld(), "3611c0d077a748f4"},
        {fixtures::ResourceWorld(), "1eaee6f4b38bd61f"},
        {fixtures::BaseWorld(), "8c3de83f12dafb23"},
        {fixtures::AdditionalWorld(), "a464a583d0dcfd57"},
    };
    for (const auto& w : worlds) {
        fixtures::Write(dir.Path(), w.content);
        const std::vector<uint8_t> bytes = ReadFile(dir.File(w.content.dbName + ".pdb"));
        ASSERT_FALSE(bytes.empty()) << w.content.dbName;
        EXPECT_EQ(Fnv1a(bytes), w.hash) << w.content.dbName;
    }
}

}  // namespace
