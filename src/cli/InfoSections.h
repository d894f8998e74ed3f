#pragma once
// File kinds that `tarvo info` can summarise besides survey files. A reader
// of another kind registers a section; the first that accepts a path prints
// it. Files no section accepts are read as survey files.

#include "cli/Commands.h"
#include "formats/Json.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvo {

struct CInfoSection {
    std::function<bool(const std::string& path)> accepts;
    // Prints one file (as a JSON object into writer when json is set);
    // returns false when the file is refused.
    std::function<bool(const std::string& path, bool json, CJsonWriter* writer, CCommandIo& io)>
        print;
};

std::vector<CInfoSection>& InfoSections();

struct CRegisterInfoSection {
    explicit CRegisterInfoSection(CInfoSection section) {
        InfoSections().push_back(std::move(section));
    }
};

} // namespace tarvo
