#include "record/WirelessInterfaces.h"

#include "import/CsvText.h"
#include "import/ImportFields.h"
#include "record/IwScanSource.h"
#include "record/ProcessRunner.h"
#include "record/ReplayScanSource.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tarvo {

namespace {

constexpr int kIwDevTimeoutMs = 5000;

void SortUnique(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), NaturalLess);
    names.erase(std::unique(names.begin(), names.end()), names.end());
}

} // namespace

std::vector<std::string> ParseIwDevInterfaces(std::string_view text) {
    std::vector<std::string> names;
    for (const CTextLine& line : SplitLines(text)) {
        const std::string_view body = TrimBlanks(line.text);
        constexpr std::string_view kKey = "Interface ";
        if (body.substr(0, kKey.size()) != kKey)
            continue;
        const std::string_view name = TrimBlanks(body.substr(kKey.size()));
        if (!name.empty() && name.find_first_of(" /") == std::string_view::npos)
            names.emplace_back(name);
    }
    SortUnique(names);
    return names;
}

std::vector<std::string> ListWirelessInterfaces(const std::string& sysRoot,
                                                const std::string& iwProgram,
                                                const std::vector<std::string>& iwFallbacks) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(sysRoot, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::error_code entryError;
        if (fs::exists(it->path() / "wireless", entryError) ||
            fs::exists(it->path() / "phy80211", entryError))
            names.push_back(it->path().filename().string());
    }
    if (!names.empty()) {
        SortUnique(names);
        return names;
    }
    const CProgramRun run = RunProgram({FindIw(iwProgram, iwFallbacks), "dev"}, kIwDevTimeoutMs);
    if (!run.Succeeded())
        return {};
    return ParseIwDevInterfaces(run.out);
}

} // namespace tarvo
