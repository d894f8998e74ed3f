#pragma once
// A folder of outputs that replaces the earlier folder of that name as a
// whole, together with the file that refers to its content (the report and
// its pictures): until the end, the earlier ones stay as they were.

#include "formats/OutputFile.h"

#include <functional>
#include <string>
#include <sys/stat.h>

namespace tarvo {

// The new content is written into a temporary folder beside the final one
// (WritePath). Commit swaps the two folders in one step where the system
// can (both stay whole throughout), then puts the companion file in place.
// The file and the folder are two names and no system call replaces two at
// once, so those two renames run in a short-lived child process that blocks
// the signals it can: a kill of this process (or a Ctrl-C) cannot fall
// between them; only a kill of the child itself, or a crash of the system,
// could. Without Commit, or after a failure, the temporary folder is
// removed and the earlier folder is left as it was; a run killed part-way
// leaves its temporary folder, which the next output written beside it
// removes.
//
// The new folder takes over the earlier folder's permission bits and group
// (as COutputFile does for files) and those of its entries that `takeOver`
// accepts by name: hard links where the file system has them, else copies.
// A folder path that is a symbolic link stays one; the folder it leads to is
// replaced.
class COutputFolder {
public:
    using NameFilter = std::function<bool(const std::string& name)>;

    COutputFolder(const std::string& path, const NameFilter& takeOver);
    ~COutputFolder();
    COutputFolder(const COutputFolder&) = delete;
    COutputFolder& operator=(const COutputFolder&) = delete;

    bool Ok() const { return failure_.reason.empty(); }
    const CWriteFailure& Failure() const { return failure_; }

    // Where the new content goes until Commit.
    const std::string& WritePath() const { return temporary_; }

    // Puts the new folder in place, then commits companion (written and
    // finished, COutputFile::Finish). When the companion cannot be put in
    // place, the earlier folder comes back and the companion's failure is
    // this folder's failure. The earlier folder is removed at the end.
    bool Commit(COutputFile& companion);

private:
    bool CreateLike(const struct stat* earlier);
    bool TakeOver(const NameFilter& takeOver);
    bool CommitInPlace(COutputFile& companion);
    bool Swap(const std::string& a, const std::string& b);
    void Fail(bool opened, int error);

    std::string target_;
    std::string temporary_;
    bool replacing_ = false; // a folder is at target_
    CWriteFailure failure_;
};

} // namespace tarvo
