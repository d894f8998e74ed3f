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
// or after any failure, the temporary is removed
// and the target is left as it was. A target that exists and is not a
// regular file (a terminal, a pipe, /dev/null) is written directly; a
// symbolic link keeps pointing where it did, at the new file.
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
    // Writes what is buffered, closes and puts the file in place.
    bool Commit();

private:
    bool Flush();
    bool WriteAll(std::string_view bytes);
    void Fail(bool opened, int error);
    void Discard();

    std::string target_;
    std::string temporary_; // empty when writing the target directly
    int fd_ = -1;
    std::string buffer_;
    CWriteFailure failure_;
};

// The user's message for a failed output: "Error opening file PATH." when it
// could not be created, "Error writing file PATH." when writing or replacing
// it failed, each followed by the system's reason in parentheses.
std::string WriteFailureText(const std::string& path, const CWriteFailure& failure);

} // namespace tarvo
