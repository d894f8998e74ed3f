#include "formats/WorkspaceCommands.h"

#include "formats/FileIo.h"
#include "formats/WorkspaceReader.h"
#include "formats/WorkspaceWriter.h"
#include "model/Text.h"

#include <algorithm>
#include <cctype>

namespace tarvo {

namespace {

constexpr const char* kNotWorkspaceText = "File is not recognized as a TWS file.";

} // namespace

bool IsWorkspaceFile(const std::string& path) {
    if (path.size() >= 4) {
        std::string ext = path.substr(path.size() - 4);
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ext == ".tws")
            return true;
    }
    const auto head = ReadFileHead(path, 4);
    return head && HasWorkspaceMagic(*head);
}

std::string WorkspacePathFor(const std::string& chosen) {
    const std::size_t nameStart = chosen.size() - FileNameOf(chosen).size();
    const std::size_t dot = chosen.rfind('.');
    std::string base =
        dot != std::string::npos && dot >= nameStart ? chosen.substr(0, dot) : chosen;
    return base + ".tws";
}

bool SaveWorkspaceFile(const CTarvoAnalyzerDoc& doc, const std::string& path, IUiServices& ui) {
    CWriteFailure failure;
    if (WriteWorkspaceFile(doc, path, &failure))
        return true;
    std::string text = Format("Could not save file \"%s\"", path.c_str());
    if (!failure.reason.empty())
        text += " (" + failure.reason + ")";
    ui.MessageBox(text, "File Save Error", MsgIcon::Error);
    return false;
}

bool SaveWorkspaceCommand(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    if (doc.busy.IsSet())
        return false;
    std::string path = doc.workspacePath;
    if (!doc.workspaceNamed) {
        auto chosen = ui.ChooseSaveFile(kTwsSaveFilter, kTwsSaveTitle, doc.workspacePath);
        if (!chosen)
            return false;
        path = WorkspacePathFor(*chosen);
    }
    if (!SaveWorkspaceFile(doc, path, ui))
        return false;
    doc.workspacePath = path;
    doc.workspaceNamed = true;
    return true;
}

bool OpenWorkspaceFile(CTarvoAnalyzerDoc& doc, const std::string& path, IUiServices& ui) {
    if (doc.busy.IsSet())
        return false;
    const auto status = ReadWorkspaceFile(doc, path, ui);
    if (!status) {
        ui.MessageBox(Format("Could not open file \"%s\"", path.c_str()), "File Open Error",
                      MsgIcon::Error);
        return false;
    }
    if (*status != WorkspaceReadStatus::Ok) {
        ui.MessageBox(kNotWorkspaceText, "Invalid File", MsgIcon::Error);
        return false;
    }
    doc.workspacePath = path;
    doc.workspaceNamed = false;
    doc.noSurveyLoaded = false;
    return true;
}

bool OpenWorkspaceCommand(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    if (doc.busy.IsSet())
        return false;
    auto chosen = ui.ChooseOpenFile(kTwsOpenFilter, kTwsOpenTitle, "");
    if (!chosen)
        return false;
    return OpenWorkspaceFile(doc, *chosen, ui);
}

} // namespace tarvo
