#pragma once
// The shared modeless progress window of long operations, and the
// thread-safe progress object that workers drive it through.

#include "mapview/GuiMailbox.h"
#include "model/UiServices.h"

#include <QDialog>

#include <atomic>
#include <mutex>
#include <string>

class QLabel;
class QProgressBar;

namespace tarvo {

// A text line, a bar 0..100 and Cancel. Cancel hides the window at once and
// reports through cancelPressed(); the operation stops at its next check.
class CDialogProgress : public QDialog {
    Q_OBJECT

public:
    explicit CDialogProgress(QWidget* parent);

    void SetText(const QString& text);
    void SetPosition(int percent);
    // Shows the window centred over its parent.
    void ShowCentred();

signals:
    void cancelPressed();

protected:
    void reject() override; // Escape and the window's close button cancel too

private:
    QLabel* text_;
    QProgressBar* bar_;
};

// IProgress for workers: every call may come from any thread; the window is
// updated on the GUI thread. Text and position updates are coalesced, so a
// worker reporting thousands of steps never floods the event queue.
class CQtProgress : public QObject, public IProgress {
    Q_OBJECT

public:
    explicit CQtProgress(QWidget* dialogParent);
    ~CQtProgress() override;

    void Show() override;
    void Hide() override;
    void SetText(const std::string& text) override;
    void SetPosition(int percent) override;
    bool IsCancelled() const override { return cancelled_.load(); }
    void ClearCancelled() override { cancelled_.store(false); }

    // The window, created on first use (GUI thread). For tests.
    CDialogProgress* Dialog();
    void SetDialogParent(QWidget* parent);

private:
    void ScheduleUpdate();
    void ApplyUpdate(); // GUI thread

    QWidget* parent_;
    CDialogProgress* dialog_ = nullptr;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::string text_;
    int position_ = 0;
    bool visible_ = false;
    bool updatePending_ = false;
    CGuiMailbox mailbox_;
};

} // namespace tarvo
