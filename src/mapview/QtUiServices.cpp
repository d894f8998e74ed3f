#include "mapview/QtUiServices.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

namespace tarvo {

namespace {

QMessageBox::Icon QtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MsgAnswer FromQt(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    default:
        return MsgAnswer::Ok;
    }
}

std::optional<std::string> ChosenPath(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

} // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        if (description.isEmpty())
            continue;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns = patterns.trimmed();
        if (patterns.isEmpty() ||
            description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')')))
            entries << description;
        else
            entries << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    // A trailing description without its pattern ("Pictures (*.bmp)|").
    if (parts.size() % 2 == 1 && !parts.back().trimmed().isEmpty())
        entries << parts.back().trimmed();
    return entries.join(QStringLiteral(";;"));
}

QString FilterSuffix(const QString& entry) {
    const qsizetype open = entry.lastIndexOf(QLatin1Char('('));
    const qsizetype close = entry.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return {};
    const QString first =
        entry.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
    if (!first.startsWith(QLatin1String("*.")))
        return {};
    const QString suffix = first.mid(2);
    if (suffix.isEmpty() || suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?')))
        return {};
    return suffix;
}

CQtUiServices::CQtUiServices() : progress_(nullptr) {}

void CQtUiServices::SetParent(QWidget* parent) {
    parent_ = parent;
    progress_.SetDialogParent(parent);
}

void CQtUiServices::OnGuiThread(const std::function<void()>& f) {
    mailbox_.Run(f);
}

MsgAnswer CQtUiServices::MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                    MsgButtons buttons) {
    MsgAnswer answer = MsgAnswer::Ok;
    OnGuiThread([&] {
        QMessageBox box(QtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                        QtButtons(buttons), parent_);
        answer = FromQt(box.exec());
    });
    return answer;
}

std::optional<std::string> CQtUiServices::ChooseOpenFile(const std::string& filter,
                                                         const std::string& title,
                                                         const std::string& defaultName) {
    std::optional<std::string> path;
    OnGuiThread([&] {
        path = ChosenPath(QFileDialog::getOpenFileName(parent_, QString::fromStdString(title),
                                                       QString::fromStdString(defaultName),
                                                       QtFileFilter(filter)));
    });
    return path;
}

std::optional<std::string> CQtUiServices::ChooseSaveFile(const std::string& filter,
                                                         const std::string& title,
                                                         const std::string& defaultName) {
    std::optional<std::string> path;
    OnGuiThread([&] {
        QFileDialog dialog(parent_, QString::fromStdString(title),
                           QString::fromStdString(defaultName), QtFileFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // A name typed without an extension takes the chosen filter's, and
        // the dialog asks before replacing a file under that full name.
        dialog.setDefaultSuffix(FilterSuffix(dialog.selectedNameFilter()));
        connect(&dialog, &QFileDialog::filterSelected, &dialog,
                [&dialog](const QString& entry) { dialog.setDefaultSuffix(FilterSuffix(entry)); });
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = ChosenPath(dialog.selectedFiles().constFirst());
    });
    return path;
}

std::vector<std::string> CQtUiServices::ChooseOpenFiles(const std::string& filter,
                                                        const std::string& title,
                                                        const std::string& defaultName) {
    std::vector<std::string> paths;
    OnGuiThread([&] {
        for (const QString& path : QFileDialog::getOpenFileNames(
                 parent_, QString::fromStdString(title), QString::fromStdString(defaultName),
                 QtFileFilter(filter)))
            paths.push_back(path.toStdString());
    });
    return paths;
}

void CQtUiServices::OpenWithAssociatedProgram(const std::string& path) {
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
    mailbox_.Post([url] { QDesktopServices::openUrl(url); });
}

} // namespace tarvo
