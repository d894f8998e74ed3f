// libFuzzer harness for the workspace reader: any input must be read or
// refused without a fault, and whatever is read must write out and read
// back to the same bytes.

#include "formats/WorkspaceReader.h"
#include "formats/WorkspaceWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    CSilentUi ui;
    CTarvoAnalyzerDoc doc;
    if (ReadWorkspace(doc, {data, size}, ui) != WorkspaceReadStatus::Ok)
        return 0;
    // A first write normalises what the file may hold loosely (flag bytes
    // other than 0 and 1, texts cut at an inner NUL); from then on a read
    // and a write must reproduce the bytes exactly.
    const auto first = WriteWorkspace(doc);
    if (!first)
        std::abort();
    CTarvoAnalyzerDoc again;
    if (ReadWorkspace(again, *first, ui) != WorkspaceReadStatus::Ok)
        std::abort();
    if (WriteWorkspace(again) != first)
        std::abort();
    return 0;
}
