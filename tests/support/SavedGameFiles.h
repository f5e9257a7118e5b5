// Damaged copies of saved games for the load tests: a saved-game database copied record by record with
// one record replaced or left out.
#pragma once

#include <string>
#include <vector>

#include "core/PdbFile.h"
#include "core/Types.h"

class CFileFinder;

namespace testing_support {

// Copies the database at `from` (a path without ".pdb") to `to`, with record `id` replaced by `bytes`,
// or left out when `bytes` is null. False when either file could not be handled.
inline bool RewriteSavedGame(CFileFinder* finder, const std::string& from, const std::string& to, u16 id,
                             const std::vector<u8>* bytes) {
    CPdbFile in(nullptr, finder);
    if (in.Open(from.c_str(), "VnTS") != 1) return false;
    CPdbFile out(nullptr, finder);
    out.InitSavedGameHeader("VantrelSave");
    for (u32 i = 0; i < in.GetRecordCount(); ++i) {
        const u16 key = in.GetEntry(i).key;
        CRecordDataPtr record(in.ReadRecord(key));
        if (!record) return false;
        if (key != id)
            out.AddRecord(key, record->data, record->size);
        else if (bytes)
            out.AddRecord(key, bytes->data(), static_cast<u32>(bytes->size()));
    }
    in.Close();
    const bool saved = out.Save(to.c_str()) == 1;
    out.Release();
    return saved;
}

}  // namespace testing_support
