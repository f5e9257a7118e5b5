#include "core/FileFinder.h"

#include "core/Str.h"
#include "platform/Files.h"

CFileFinder::CFileFinder(CGame* game) : game_(game) {}

const std::string& CFileFinder::GetFolder() const {
    return folder_.empty() ? plat::ProgramFolder() : folder_;
}

void CFileFinder::SetFolder(const std::string& folder) {
    folder_ = folder.empty() || folder.back() == '/' ? folder : folder + '/';
}

int CFileFinder::FindFirst(CStr& name) {
    name.Assign("");
    matches_ = plat::FindFiles(GetFolder(), ".pdb");
    next_ = 0;
    searching_ = true;
    if (matches_.empty()) {
        searching_ = false;
        return 0;
    }
    name.Assign(matches_[next_++].c_str());
    return 1;
}

void CFileFinder::FindNext(CStr& name) {
    name.Assign("");
    if (!searching_ || next_ >= matches_.size()) {
        searching_ = false;
        return;
    }
    name.Assign(matches_[next_++].c_str());
}
