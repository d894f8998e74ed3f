#include "record/ThroughputFiles.h"

#include "formats/FileIo.h"
#include "record/ThroughputCsv.h"

#include <filesystem>
#include <system_error>

namespace tarvo {

namespace {

// A side file holds a row per point: a few dozen bytes each.
constexpr std::size_t kMostSideFileBytes = 64u << 20;

void ReadOne(const std::string& path, bool mustExist, CThroughputLoad& load) {
    std::error_code error;
    if (!mustExist && !std::filesystem::exists(path, error))
        return;
    const auto bytes = ReadFileHead(path, kMostSideFileBytes + 1);
    if (!bytes || bytes->size() > kMostSideFileBytes) {
        load.problems.push_back(path + ": " +
                                (bytes ? "too large for a throughput file" : "cannot be read"));
        return;
    }
    const CThroughputRead read = ReadThroughputCsv(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), path);
    if (!read.fatal.empty()) {
        load.problems.push_back(read.fatal);
        return;
    }
    load.read.push_back(path);
    load.problems.insert(load.problems.end(), read.refused.begin(), read.refused.end());
    load.points.insert(load.points.end(), read.points.begin(), read.points.end());
}

} // namespace

CThroughputLoad LoadThroughputFiles(const CTarvoAnalyzerDoc& doc,
                                    const std::vector<std::string>& named) {
    CThroughputLoad load;
    for (const CDataFile& file : doc.files)
        if (file.selected)
            ReadOne(ThroughputPathFor(file.path), false, load);
    for (const std::string& path : named)
        ReadOne(path, true, load);
    return load;
}

} // namespace tarvo
