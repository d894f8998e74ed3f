#pragma once
// The UI services and dialogs as the document host hands them out. Calls
// from a worker thread pass straight through. A dialog that a command opens
// on the GUI thread is counted while it is open (the host starts no worker
// meanwhile), and its answer counts only when the document was free both
// when it opened and when it closed; otherwise the command sees Cancel (No
// for a question without Cancel) and leaves the document alone.

#include "mapview/DialogService.h"
#include "model/UiServices.h"

#include <functional>

namespace tarvo {

// Whether a worker holds the document, whether the caller runs on the GUI
// thread, and a count of the commands' dialogs open (+1 as one opens, -1 as
// it closes).
struct CDocumentGate {
    std::function<bool()> held;
    std::function<bool()> onGuiThread;
    std::function<void(int)> countOpen;

    // Runs `ask` unless the gate is closed; true when its answer counts.
    bool Ask(const std::function<void()>& ask) const;
};

class CGatedUiServices : public IUiServices {
public:
    explicit CGatedUiServices(CDocumentGate gate) : gate_(std::move(gate)) {}
    void SetInner(IUiServices* inner) { inner_ = inner; }

    MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons = MsgButtons::Ok) override;
    std::optional<std::string> ChooseOpenFile(const std::string& filter, const std::string& title,
                                              const std::string& defaultName) override;
    std::optional<std::string> ChooseSaveFile(const std::string& filter, const std::string& title,
                                              const std::string& defaultName) override;
    void OpenWithAssociatedProgram(const std::string& path) override {
        inner_->OpenWithAssociatedProgram(path);
    }
    IProgress& Progress() override { return inner_->Progress(); }

private:
    CDocumentGate gate_;
    IUiServices* inner_ = nullptr;
};

class CGatedDialogs : public IDialogService {
public:
    explicit CGatedDialogs(CDocumentGate gate) : gate_(std::move(gate)) {}
    void SetInner(IDialogService* inner) { inner_ = inner; }

    bool EditApProperties(CApPropertiesText& fields) override;
    bool EditSourceProperties(CSourcePropertiesText& fields) override;
    bool ChooseApIcon(int& iconId) override;
    bool ChooseSourceIcon(int& iconId) override;
    bool ShowMeasuredDistance(const CRulerText& fields) override;
    bool EditKmlDescription(std::string& description) override;
    bool EditTableOptions(CTableOptions& options) override;
    std::optional<ColourRef> ChooseColour(ColourRef initial) override;
    int ChooseMenuItem(const std::vector<std::string>& items, QPoint globalPos) override;
    bool EditPlanLength(CPlanLengthText& fields) override;
    bool EditRecordWalk(CRecordWalkText& fields) override;

private:
    // An OK that counts: the dialog ran with the gate open and said OK.
    template <typename Fields, typename Show> bool Edit(Fields& fields, Show show);

    CDocumentGate gate_;
    IDialogService* inner_ = nullptr;
};

} // namespace tarvo
