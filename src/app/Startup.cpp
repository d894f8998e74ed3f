#include "app/Startup.h"

#include "app/MainWindow.h"
#include "app/Splash.h"
#include "mapview/MapView.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace tarvo {

namespace {

// How long --screenshot waits for the window to be shown, in 20 ms steps.
constexpr int kExposeAttempts = 250;

} // namespace

std::optional<CStartOptions> ParseCommandLine(const QStringList& arguments, QString& error) {
    CStartOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--screenshot")) {
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("--screenshot needs a file name");
                return std::nullopt;
            }
            options.screenshot = arguments[++i];
        } else if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            error = QStringLiteral("unknown option ") + argument;
            return std::nullopt;
        } else if (options.workspace.isEmpty()) {
            options.workspace = argument;
        } else {
            error = QStringLiteral("more than one workspace named");
            return std::nullopt;
        }
    }
    return options;
}

CStartup::CStartup(CMainFrame& frame, CStartOptions options, QObject* parent)
    : QObject(parent), frame_(frame), options_(std::move(options)) {}

void CStartup::Begin() {
    // The window will open in the middle of the screen; the splash is
    // centred on where it will be.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = frame_.frameGeometry();
        area.moveCenter(screen->availableGeometry().center());
        frame_.move(area.topLeft());
    }
    if (!options_.screenshot.isEmpty() || options_.splashMs <= 0) {
        QTimer::singleShot(0, this, &CStartup::AfterSplash);
        return;
    }
    frame_.Splash()->ShowCentred();
    QTimer::singleShot(options_.splashMs, this, &CStartup::AfterSplash);
}

void CStartup::AfterSplash() {
    frame_.Splash()->Dismiss();
    frame_.show();
    if (!options_.workspace.isEmpty() && !frame_.OpenWorkspace(options_.workspace)) {
        emit finished(1);
        return;
    }
    if (options_.screenshot.isEmpty()) {
        emit ready();
        return;
    }
    TakeScreenshot(kExposeAttempts);
}

void CStartup::TakeScreenshot(int attemptsLeft) {
    const QWindow* window = frame_.windowHandle();
    const bool shown = window && window->isExposed() && frame_.MapView()->FrameCount() > 0;
    if (!shown && attemptsLeft > 0) {
        QTimer::singleShot(20, this, [this, attemptsLeft] { TakeScreenshot(attemptsLeft - 1); });
        return;
    }
    if (!frame_.grab().save(options_.screenshot)) {
        std::fprintf(stderr, "tarvo-analyzer: cannot write %s\n", qPrintable(options_.screenshot));
        emit finished(1);
        return;
    }
    emit finished(0);
}

} // namespace tarvo
