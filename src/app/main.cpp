// tarvo-analyzer: the desktop program.

#include "app/MainWindow.h"
#include "mapview/DocumentHost.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvoAnalyzer"));
    tarvo::CDocumentHost host;
    tarvo::CMainFrame frame(host);
    frame.show();
    return app.exec();
}
