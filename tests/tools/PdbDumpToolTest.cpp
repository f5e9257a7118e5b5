// Runs the database inspector on databases that the test writes.
#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "platform/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using testing_support::TempDir;

struct ToolRun {
    int status;
    std::string out;
};

ToolRun Inspect(const TempDir& dir, const std::string& args) {
    const std::string tool = std::string(VANTREL_BINARY_DIR) + "/tools/vantrel_pdbdump";
    EXPECT_TRUE(plat::FileExists(tool)) << "build the inspector first: " << tool;
    const std::string out = dir.File("out.txt");
    const int status = std::system((tool + " " + args + " >" + out + " 2>&1").c_str());
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    return {status, text.str()};
}

TEST(PdbDumpTool, ListsHeaderRecordsAndOneRecordInHex) {
    TempDir dir;
    CFileFinder finder;
    finder.SetFolder(dir.Path());
    CPdbFile db(nullptr, &finder);
    db.InitSavedGameHeader("VantrelSave1");
    const u8 ten[10] = {'H', 'e', 'l', 'l', 'o', 1, 2, 3, 4, 5};
    const u8 seven[7] = {};
    db.AddRecord(3000, ten, 10);
    db.AddRecord(3001, nullptr, 0);
    db.AddRecord(3002, seven, 7);
    ASSERT_EQ(db.Save("VantrelSave1"), 1);

    ToolRun list = Inspect(dir, dir.File("VantrelSave1.pdb"));
    EXPECT_EQ(list.status, 0) << list.out;
    EXPECT_NE(list.out.find("name: VantrelSave1"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("type: VnTS  creator: VnTS"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("records: 3"), std::string::npos) << list.out;
    for (const char* row : {"     0   3000        104         12", "     1   3001        116          4",
                            "     2   3002        120          9"})
        EXPECT_NE(list.out.find(row), std::string::npos) << row << "\n" << list.out;

    ToolRun hex = Inspect(dir, dir.File("VantrelSave1.pdb") + " --record 3000");
    EXPECT_EQ(hex.status, 0) << hex.out;
    EXPECT_NE(hex.out.find("record 3000: 12 bytes"), std::string::npos) << hex.out;
    EXPECT_NE(hex.out.find("00000000  48 65 6C 6C 6F 01 02 03 04 05 00 00"), std::string::npos) << hex.out;
    EXPECT_NE(hex.out.find("|Hello.......|"), std::string::npos) << hex.out;

    EXPECT_NE(Inspect(dir, dir.File("VantrelSave1.pdb") + " --record 3003").status, 0);

    std::ofstream(dir.File("junk.pdb")) << "short";
    ToolRun junk = Inspect(dir, dir.File("junk.pdb"));
    EXPECT_NE(junk.status, 0);
    EXPECT_NE(junk.out.find("not a well-formed database"), std::string::npos) << junk.out;
}

}  // namespace

namespace {

// The four world databases that the build writes: each lists its type and creator, its header
// record at version 122 and the 27 kinds from record 4000, ending with the section directory.
TEST(PdbDumpTool, ListsTheBuiltWorldDatabasesKindByKind) {
    TempDir dir;
    const struct {
        const char* file;
        const char* type;
        const char* shortName;
    } worlds[] = {{"VantrelMusic", "bmus", "bmus"},
                  {"VantrelSound", "bsnd", "bsnd"},
                  {"VantrelRes", "bres", "bres"},
                  {"VantrelBase", "base", "base"}};
    for (const auto& w : worlds) {
        SCOPED_TRACE(w.file);
        ToolRun run = Inspect(dir, std::string(VANTREL_BINARY_DIR) + "/" + w.file + ".pdb");
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find(std::string("type: ") + w.type + "  creator: VnTl"), std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find(std::string("world header (record 3999): version 122")), std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find(std::string("short name \"") + w.shortName + "\""), std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("kind  1  tag 0x3C  pictures             records 4000..4001"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("kind 26  tag 0x43  index tables         not read at this version"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("kind 27  tag 0x01  section directory"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("27 kinds"), std::string::npos) << run.out;
    }
}

}  // namespace
