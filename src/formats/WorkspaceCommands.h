#pragma once
// The document's save and open commands for workspace files, with their
// dialogs and messages. They run on the user-interface thread and refuse
// (quietly) while a long operation owns the document: the GUI disables
// their menu items meanwhile.

#include "model/Document.h"
#include "model/UiServices.h"

#include <string>

namespace tarvo {

constexpr const char* kTwsOpenFilter =
    "Tarvo Work Spave Files (tws)|*.tws|TWS (*.tws)|*.tws|All Files (*.*)|*.*||";
constexpr const char* kTwsOpenTitle = "Open a TWS file";

// True for a path named *.tws (any case) or a file that starts with the
// workspace magic, whatever its name.
bool IsWorkspaceFile(const std::string& path);

// The workspace path for a chosen file name: the extension of the file name
// (from its last '.' on) is replaced by ".tws"; a name without one gets
// ".tws" appended. Dots in folder names do not count.
std::string WorkspacePathFor(const std::string& chosen);

// Writes the workspace to path; when the file cannot be created or written
// shows "Could not save file \"PATH\"" with the system's reason in
// parentheses, titled "File Save Error", and returns false, leaving any
// previous file at path unchanged.
bool SaveWorkspaceFile(const CTarvoAnalyzerDoc& doc, const std::string& path, IUiServices& ui);

// "Save Project": asks for a name the first time (or after a workspace was
// opened), then writes to the stored path. The workspace is named only once
// a save succeeded, so a failed first save asks again next time. Returns
// true when the file was written.
bool SaveWorkspaceCommand(CTarvoAnalyzerDoc& doc, IUiServices& ui);

// Opens the workspace at path into doc with the open command's messages:
// "Could not open file \"PATH\"" ("File Open Error") when it cannot be read,
// "File is not recognized as a TWS file." ("Invalid File") for a wrong magic
// or a damaged file. On success the workspace path is remembered (unnamed,
// so the next save asks) and the flag no survey loaded is cleared; on
// failure doc is unchanged. Used by the open command, start-up and the CLI.
bool OpenWorkspaceFile(CTarvoAnalyzerDoc& doc, const std::string& path, IUiServices& ui);

// "Open": asks for a workspace file and opens it. Returns true when a
// workspace was read (the caller then adds doc.workspacePath to the
// recently-used list and updates the views).
bool OpenWorkspaceCommand(CTarvoAnalyzerDoc& doc, IUiServices& ui);

} // namespace tarvo
