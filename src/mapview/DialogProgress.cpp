#include "mapview/DialogProgress.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvo {

CDialogProgress::CDialogProgress(QWidget* parent) : QDialog(parent) {
    setModal(false);
    setWindowTitle(QString());
    text_ = new QLabel(QStringLiteral("Static"), this);
    text_->setObjectName(QStringLiteral("progressText"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("progressCancel"));
    connect(cancel, &QPushButton::clicked, this, &CDialogProgress::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 0, Qt::AlignHCenter);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    setMinimumWidth(460);
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
    QMetaObject::invokeMethod(
        this, [this] { ApplyUpdate(); }, Qt::QueuedConnection);
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
