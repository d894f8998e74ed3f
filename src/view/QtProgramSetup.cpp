#include "view/QtProgramSetup.h"

#include <QString>
#include <QtGlobal>

#include <clocale>
#include <cstdio>

namespace tarvo {

namespace {

QtMessageHandler previousHandler = nullptr;

void DropSessionNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg &&
        (message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
         message.startsWith(QStringLiteral("This plugin does not support"))))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

void QuietenSessionNotes() {
    if (!previousHandler)
        previousHandler = qInstallMessageHandler(DropSessionNotes);
}

void KeepDecimalPoint() {
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace tarvo
