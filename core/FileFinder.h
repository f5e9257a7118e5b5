// Enumerates the "*.pdb" files of the program folder, and holds that folder for every file operation
// of the game. The game sets the folder; until it does, the platform's program folder is used.
#pragma once

#include <string>
#include <vector>

class CGame;
class CStr;

class CFileFinder {
public:
    explicit CFileFinder(CGame* game = nullptr);
    virtual ~CFileFinder() = default;

    // The folder with its trailing '/'.
    const std::string& GetFolder() const;
    void SetFolder(const std::string& folder);

    // Starts a new search; stores the first match (file name with extension, without folder) in
    // name and returns 1, or returns 0 with name empty.
    int FindFirst(CStr& name);
    // Stores the next match in name; an empty name ends the enumeration.
    void FindNext(CStr& name);

private:
    CGame* game_;
    std::string folder_;
    // The running search: the matches in the order the platform yields them, and the next to hand out.
    std::vector<std::string> matches_;
    size_t next_ = 0;
    bool searching_ = false;
};
