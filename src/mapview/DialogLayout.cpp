#include "mapview/DialogLayout.h"

#include "view/Fonts.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tarvo {

QFont DialogFont() {
    return ProgramFont(QStringLiteral("MS Shell Dlg"), 80);
}

CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width over the 52 letters, rounded as the platform does.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    if (letters > 0)
        baseX_ = (letters / 26 + 1) / 2;
    if (metrics.height() > 0)
        baseY_ = metrics.height();
}

int CDialogUnits::X(int units) const {
    return (units * baseX_ + 2) / 4;
}

int CDialogUnits::Y(int units) const {
    return (units * baseY_ + 4) / 8;
}

int TitleBarWidth(const QString& title) {
    // The platform's title-bar font where it names one, else the
    // application's.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    constexpr int kDecorationLines = 10; // 4 squares of 2 lines, 1 line of padding each side
    return metrics.horizontalAdvance(title) + kDecorationLines * metrics.lineSpacing();
}

void FitWidthToTitle(QDialog& dialog) {
    const int needed = TitleBarWidth(dialog.windowTitle());
    if (dialog.width() < needed)
        dialog.setFixedSize(needed, dialog.height());
}

CDialogLayout::CDialogLayout(QDialog& dialog, const char* title, int width, int height)
    : dialog_(dialog), units_(DialogFont()) {
    dialog.setFont(DialogFont());
    dialog.setWindowTitle(QString::fromUtf8(title));
    dialog.setFixedSize(units_.Size(width, height));
    FitWidthToTitle(dialog);
}

QLineEdit* CDialogLayout::Edit(const char* name, QRect units, const std::string& text,
                               bool readOnly) {
    auto* edit = new QLineEdit(QString::fromStdString(text), &dialog_);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(units_.Rect(units.x(), units.y(), units.width(), units.height()));
    edit->setReadOnly(readOnly);
    if (readOnly) {
        // Read-only fields look like the dialog, not like something to type in.
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        edit->setPalette(palette);
        edit->setFocusPolicy(Qt::NoFocus);
    }
    return edit;
}

QPlainTextEdit* CDialogLayout::Notes(const char* name, QRect units, const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto* edit = new QPlainTextEdit(shown, &dialog_);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(units_.Rect(units.x(), units.y(), units.width(), units.height()));
    edit->setTabChangesFocus(true);
    return edit;
}

QLabel* CDialogLayout::Label(const QString& text, QRect units, Qt::Alignment align,
                             const char* name) {
    auto* label = new QLabel(text, &dialog_);
    if (name)
        label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(units_.Rect(units.x(), units.y(), units.width(), units.height()));
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

QGroupBox* CDialogLayout::Group(const QString& title, QRect units) {
    auto* group = new QGroupBox(title, &dialog_);
    group->setGeometry(units_.Rect(units.x(), units.y(), units.width(), units.height()));
    return group;
}

void CDialogLayout::Buttons(int okX, int okY, int cancelX, int cancelY) {
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog_);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(units_.Rect(okX, okY, 50, 14));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog_, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog_);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(units_.Rect(cancelX, cancelY, 50, 14));
    QObject::connect(cancel, &QPushButton::clicked, &dialog_, &QDialog::reject);
}

std::string TextOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

std::string TextOf(const QPlainTextEdit* edit) {
    QString text = edit->toPlainText();
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.toStdString();
}

} // namespace tarvo
