#pragma once
// Start-up of the desktop program: the command line, the splash shown for
// two seconds without blocking the event loop, the main window, the
// workspace named on the command line and the --screenshot option.

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace tarvo {

class CMainFrame;

struct CStartOptions {
    QString workspace;  // opened after the splash; empty for none
    QString screenshot; // --screenshot FILE.png: grab the window and exit
    int splashMs = 2000;
};

constexpr const char* kUsage = "usage: tarvo-analyzer [--screenshot FILE.png] [STUDY.tws]";

// Reads the program's arguments (the first is the program). nullopt with a
// reason in error for an unknown option or a missing value.
std::optional<CStartOptions> ParseCommandLine(const QStringList& arguments, QString& error);

class CStartup : public QObject {
    Q_OBJECT

public:
    CStartup(CMainFrame& frame, CStartOptions options, QObject* parent = nullptr);

    // Shows the splash (none with --screenshot) and carries on from the
    // event loop: call before QApplication::exec().
    void Begin();

signals:
    // The window is shown and the command line's workspace is open.
    void ready();
    // Start-up ends the program: 0 after a screenshot was written, non-zero
    // when the workspace could not be opened or the picture not written.
    void finished(int exitCode);

private:
    void AfterSplash();
    void TakeScreenshot(int attemptsLeft);

    CMainFrame& frame_;
    CStartOptions options_;
};

} // namespace tarvo
