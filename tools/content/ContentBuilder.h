// Assembles the records of the interface database "VantrelData" and writes the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/content/Canvas.h"

struct ContentRecord {
    uint16_t id;
    std::vector<uint8_t> data;
    std::string use;  // for the contact sheet and messages
    Canvas picture;   // pictures only: what was encoded
};

// The creator of the game's databases and the type of the interface database. The type differs from
// the world databases' "VnTW", so that the scan for additional worlds never takes it for a world.
inline constexpr char kDataCreator[] = "VnTl";
inline constexpr char kDataType[] = "data";
inline constexpr char kDataName[] = "VantrelData";

// Every record of the interface database: the layout table 3003, the font strips 3010-3014, the
// interface pictures, the pictures screens read by number, and the sounds 4031 and 4032.
// fontFolder holds the DejaVu TrueType files.
std::vector<ContentRecord> BuildInterfaceRecords(const std::string& fontFolder);

// Writes the records as the database file at path (through the game's database writer).
// Returns false when the file cannot be written.
bool WriteInterfaceDatabase(const std::vector<ContentRecord>& records, const std::string& path);

// A PNG of every picture record, labelled by record number, for looking at the artwork.
bool WriteContactSheet(const std::vector<ContentRecord>& records, const std::string& path);
// The layout groups' rectangles, drawn at half size for looking at.
bool WriteLayoutPreview(const std::string& path);
// A mock screen assembled from the pictures, to judge them side by side.
bool WriteMockScreen(const std::vector<ContentRecord>& records, const std::string& path);
// A PNG of sample texts drawn with each font strip.
bool WriteFontSample(const std::vector<ContentRecord>& records, const std::string& path);
