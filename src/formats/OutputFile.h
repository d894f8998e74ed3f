#pragma once
// Output files that are either written completely or not at all: what was
// at the path before stays until the new file is whole.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tarvo {

// Why an output could not be written.
struct CWriteFailure {
    bool opened = false; // the file was created; writing or replacing it failed
    std::string reason;  // the system's reason, e.g. "No space left on device"
};

// An output file written through a temporary file in the same folder, which
// Commit renames over the target once everything is written and the file is
// closed without error (a full disk shows by then; the file is not synced,
// which would cost milliseconds per picture of a report). Without Commit,
// or after any failure, the temporary is removed and the target is left as
// it was. Where the system has unnamed temporary files, the temporary gets
// its name only once it is complete, so a run killed while writing leaves
// nothing behind; otherwise the temporaries of runs that were killed are
// removed when the next output is written in their folder.
//
// A replaced file keeps its permission bits, and its owner and group as far
// as the user may give them (a group that cannot be kept gets no more access
// than others had); the temporary is never more accessible than the file it
// replaces. The target is a new file, so a hard link to the earlier one keeps
// the earlier content. A target that exists and is not a regular file (a
// terminal, a pipe, /dev/null) is written directly; a symbolic link keeps
// pointing where it did, at the new file.
class COutputFile {
public:
    explicit COutputFile(const std::string& path);
    ~COutputFile();
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    bool Ok() const { return failure_.reason.empty(); }
    const CWriteFailure& Failure() const { return failure_; }

    bool Write(std::string_view bytes);
    bool Write(std::span<const std::uint8_t> bytes);
    // Writes what is buffered and closes the file under its temporary name;
    // the target is not touched yet. For outputs that are put in place
    // together with others (COutputFolder::Commit).
    bool Finish();
    // Finishes (when not done yet) and puts the file in place.
    bool Commit();

    // After Finish: the finished file under its temporary name (empty when
    // the target is written directly) and its target, for a caller that
    // renames it into place itself and then calls Placed().
    const std::string& FinishedPath() const { return temporary_; }
    const std::string& TargetPath() const { return target_; }
    void Placed() { temporary_.clear(); }
    // Gives up a finished file that could not be put in place: it is
    // removed, and error is its failure.
    void Abandon(int error) { Fail(true, error); }

private:
    bool Flush();
    bool WriteAll(std::string_view bytes);
    bool NameUnnamedTemporary();
    void Fail(bool opened, int error);
    void Discard();

    std::string target_;
    std::string temporary_; // the named temporary; empty while unnamed or writing directly
    int fd_ = -1;
    bool unnamed_ = false;  // fd_ is an unnamed temporary file (O_TMPFILE)
    bool finished_ = false; // written and closed
    std::string buffer_;
    CWriteFailure failure_;
};

// The user's message for a failed output: "Error opening file PATH." when it
// could not be created, "Error writing file PATH." when writing or replacing
// it failed, each followed by the system's reason in parentheses.
std::string WriteFailureText(const std::string& path, const CWriteFailure& failure);

} // namespace tarvo
