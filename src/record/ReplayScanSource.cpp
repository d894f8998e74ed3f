#include "record/ReplayScanSource.h"

#include "formats/FileIo.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace tarvo {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei]))
                ++ei;
            while (ej < b.size() && IsDigit(b[ej]))
                ++ej;
            // The value first: without leading zeros, a longer run is larger.
            std::size_t si = i, sj = j;
            while (si + 1 < ei && a[si] == '0')
                ++si;
            while (sj + 1 < ej && b[sj] == '0')
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj;
            const int order = a.compare(si, ei - si, b, sj, ej - sj);
            if (order != 0)
                return order < 0;
            if (ei - i != ej - j)
                return ei - i < ej - j; // fewer leading zeros first
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

CReplayScanSource::CReplayScanSource(std::string folder, Clock clock)
    : folder_(std::move(folder)), clock_(std::move(clock)) {
    if (!clock_)
        clock_ = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(folder_, error)) {
        error_ = "the replay folder " + folder_ + " does not exist or is not a folder";
        return;
    }
    std::vector<std::string> names;
    fs::directory_iterator it(folder_, error), end;
    for (; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.empty() || name[0] == '.' || !it->is_regular_file(typeError))
            continue;
        names.push_back(name);
    }
    if (error) {
        error_ = "the replay folder " + folder_ + " cannot be read: " + error.message();
        return;
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    for (const std::string& name : names)
        files_.push_back((fs::path(folder_) / name).string());
    if (files_.empty())
        error_ = "the replay folder " + folder_ + " holds no scan files";
}

CScanOutcome CReplayScanSource::Scan() {
    if (!error_.empty())
        return CScanOutcome::Failed(error_);
    if (next_ >= files_.size())
        return CScanOutcome::Failed("the replay folder " + folder_ + " has no more scans (" +
                                    std::to_string(files_.size()) + " used)");
    const std::string& path = files_[next_++];
    const auto bytes = ReadFileHead(path, kMostScanTextBytes + 1);
    if (!bytes)
        return CScanOutcome::Failed("cannot read the scan file " + path);
    if (bytes->size() > kMostScanTextBytes)
        return CScanOutcome::Failed("the scan file " + path + " is too large for a scan text");
    const CIwScan parsed =
        ParseIwScan(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    CScan scan;
    scan.heard = parsed.entries;
    scan.timeSeconds = clock_();
    for (const CIwScanProblem& problem : parsed.problems) {
        if (parsed.entries.empty() && parsed.problems.size() == 1 && problem.line == 1 &&
            problem.reason.rfind("no BSS line", 0) == 0)
            return CScanOutcome::Failed(path + ": " + problem.reason);
        scan.note += (scan.note.empty() ? "" : "; ") + path + ":" + std::to_string(problem.line) +
                     ": " + problem.reason;
    }
    CScanOutcome outcome;
    outcome.scan = std::move(scan);
    return outcome;
}

} // namespace tarvo
