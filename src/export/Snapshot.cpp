#include "export/Snapshot.h"

#include "export/KmlExport.h"
#include "model/Text.h"

namespace tarvo {

std::string SnapshotPath(const std::string& chosen) {
    const std::size_t slash = chosen.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string path = chosen;
    const std::size_t dot = chosen.find('.', nameStart + 1);
    if (dot != std::string::npos)
        path.erase(dot);
    return path + ".bmp";
}

SnapshotResult TakeSnapshot(const CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    const auto chosen = ui.ChooseSaveFile(kSnapshotFilter, kSnapshotTitle, "");
    if (!chosen || chosen->empty() || doc.lastViewBitmap.IsEmpty())
        return SnapshotResult::Cancelled;
    const std::string path = SnapshotPath(*chosen);
    CWriteFailure failure;
    if (!SaveViewBitmap(path, doc.lastViewBitmap, &failure)) {
        ui.MessageBox(WriteFailureText(path, failure), "File Open Error", MsgIcon::Error,
                      MsgButtons::Ok);
        return SnapshotResult::Failed;
    }
    return SnapshotResult::Saved;
}

} // namespace tarvo
