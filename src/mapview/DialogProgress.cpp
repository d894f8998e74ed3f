#include "mapview/DialogProgress.h"

#include "mapview/DialogLayout.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <algorithm>

namespace tarvo {

CDialogProgress::CDialogProgress(QWidget* parent) : QDialog(parent) {
    setModal(false);
    setWindowTitle(QString());
    // The window's template, in dialog units: 307 x 75.
    const CDialogUnits units(DialogFont());
    setFont(DialogFont());
    setFixedSize(units.Size(307, 75));
    text_ = new QLabel(QStringLiteral("Static"), this);
    text_->setObjectName(QStringLiteral("progressText"));
    text_->setGeometry(units.Rect(73, 18, 157, 11));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    bar_->setGeometry(units.Rect(16, 38, 274, 11));
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("progressCancel"));
    cancel->setGeometry(units.Rect(135, 54, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CDialogProgress::reject);
}

void CDialogProgress::SetText(const QString& text) {
    text_->setText(text);
}

void CDialogProgress::SetPosition(int percent) {
    bar_->setValue(std::clamp(percent, 0, 100));
}

void CDialogProgress::ShowCentred() {
    adjustSize();
    if (const QWidget* owner = parentWidget()) {
        const QRect area = owner->frameGeometry();
        move(area.center() - rect().center());
    }
    show();
    raise();
}

void CDialogProgress::reject() {
    hide();
    emit cancelPressed();
}

CQtProgress::CQtProgress(QWidget* dialogParent) : parent_(dialogParent) {}

CQtProgress::~CQtProgress() {
    delete dialog_;
}

CDialogProgress* CQtProgress::Dialog() {
    if (!dialog_) {
        dialog_ = new CDialogProgress(parent_);
        connect(dialog_, &CDialogProgress::cancelPressed, this, [this] {
            cancelled_.store(true);
            const std::lock_guard lock(mutex_);
            visible_ = false;
        });
    }
    return dialog_;
}

void CQtProgress::SetDialogParent(QWidget* parent) {
    parent_ = parent;
    if (dialog_)
        dialog_->setParent(parent, dialog_->windowFlags());
}

void CQtProgress::Show() {
    {
        const std::lock_guard lock(mutex_);
        visible_ = true;
    }
    ScheduleUpdate();
}

void CQtProgress::Hide() {
    {
        const std::lock_guard lock(mutex_);
        visible_ = false;
    }
    ScheduleUpdate();
}

void CQtProgress::SetText(const std::string& text) {
    {
        const std::lock_guard lock(mutex_);
        text_ = text;
    }
    ScheduleUpdate();
}

void CQtProgress::SetPosition(int percent) {
    {
        const std::lock_guard lock(mutex_);
        position_ = percent;
    }
    ScheduleUpdate();
}

void CQtProgress::ScheduleUpdate() {
    if (QThread::currentThread() == thread()) {
        ApplyUpdate();
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        if (updatePending_)
            return;
        updatePending_ = true;
    }
    mailbox_.Post([this] { ApplyUpdate(); });
}

void CQtProgress::ApplyUpdate() {
    std::string text;
    int position = 0;
    bool visible = false;
    {
        const std::lock_guard lock(mutex_);
        updatePending_ = false;
        text = text_;
        position = position_;
        visible = visible_;
    }
    CDialogProgress* dialog = Dialog();
    dialog->SetText(QString::fromStdString(text));
    dialog->SetPosition(position);
    if (visible && !dialog->isVisible())
        dialog->ShowCentred();
    else if (!visible && dialog->isVisible())
        dialog->hide();
}

} // namespace tarvo
