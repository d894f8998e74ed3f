// tarvo-analyzer: the desktop program.
//
//   tarvo-analyzer [STUDY.tws]
//   tarvo-analyzer --screenshot FILE.png [STUDY.tws]

#include "app/AppResources.h"
#include "app/HeadlessUi.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "mapview/DocumentHost.h"
#include "view/QtProgramSetup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    tarvo::QuietenSessionNotes();
    QApplication app(argc, argv);
    tarvo::KeepDecimalPoint();
    QApplication::setApplicationName(QStringLiteral("TarvoAnalyzer"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.7"));
    QApplication::setWindowIcon(tarvo::ApplicationIcon());
    QApplication::setDesktopFileName(QStringLiteral("tarvo-analyzer"));

    QString error;
    const auto options = tarvo::ParseCommandLine(QApplication::arguments(), error);
    if (!options) {
        std::fprintf(stderr, "tarvo-analyzer: %s\n%s\n", qPrintable(error), tarvo::kUsage);
        return 2;
    }
    tarvo::CDocumentHost host;
    tarvo::CHeadlessUi headless;
    if (!options->screenshot.isEmpty())
        host.setUiServices(&headless);
    int status = 0;
    {
        tarvo::CMainFrame frame(host);
        tarvo::CStartup startup(frame, *options);
        QObject::connect(&startup, &tarvo::CStartup::finished, &app,
                         [](int code) { QCoreApplication::exit(code); });
        startup.Begin();
        status = QApplication::exec();
    }
    host.setUiServices(nullptr);
    return status;
}
