#pragma once
// The engine's UI services on Qt: message boxes, file dialogs, opening a
// file with its program, and the shared progress window. Every call may come
// from a worker thread; it then runs on the GUI thread and the worker waits
// for the answer (the GUI thread never waits for a worker here).

#include "mapview/DialogProgress.h"
#include "mapview/GuiMailbox.h"
#include "model/UiServices.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace tarvo {

class CQtUiServices : public QObject, public IUiServices {
    Q_OBJECT

public:
    CQtUiServices();

    // The window that message boxes, dialogs and the progress window belong to.
    void SetParent(QWidget* parent);

    MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons = MsgButtons::Ok) override;
    std::optional<std::string> ChooseOpenFile(const std::string& filter, const std::string& title,
                                              const std::string& defaultName) override;
    std::optional<std::string> ChooseSaveFile(const std::string& filter, const std::string& title,
                                              const std::string& defaultName) override;
    std::vector<std::string> ChooseOpenFiles(const std::string& filter, const std::string& title,
                                             const std::string& defaultName) override;
    void OpenWithAssociatedProgram(const std::string& path) override;
    IProgress& Progress() override { return progress_; }

private:
    // Runs f on the GUI thread, waiting for it when called from another.
    void OnGuiThread(const std::function<void()>& f);

    QWidget* parent_ = nullptr;
    CQtProgress progress_;
    CGuiMailbox mailbox_;
};

// "Text (*.a)|*.a|Other|*.b||" as Qt's "Text (*.a);;Other (*.b)". A
// description that already ends with its patterns in brackets is kept.
QString QtFileFilter(const std::string& filter);

// The extension that a Qt filter entry names first ("html" for
// "HTML File (*.html)"), or nothing for one that names none ("*.*").
QString FilterSuffix(const QString& entry);

} // namespace tarvo
