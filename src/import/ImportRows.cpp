#include "import/ImportRows.h"

namespace tarvo {

std::string CImportProblem::Text() const {
    if (line <= 0)
        return file + ": " + reason;
    return file + ":" + std::to_string(line) + ": " + reason;
}

} // namespace tarvo
