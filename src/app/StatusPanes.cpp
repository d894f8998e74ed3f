#include "app/StatusPanes.h"

#include <QLabel>

namespace tarvo {

namespace {

const QString kIdle = QStringLiteral("Ready");

} // namespace

CFrameStatusBar::CFrameStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(true);
    for (int i = 0; i < kPanes; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("pane%1").arg(i));
        label->setContentsMargins(0, 0, 0, 0);
        label->setIndent(0);
        label->setMargin(0);
        panes_[i] = label;
        if (i == 0) {
            addWidget(label, 1);
        } else {
            addPermanentWidget(label);
            label->hide();
        }
    }
    SetMessage({});
}

void CFrameStatusBar::SetMessage(const QString& text) {
    panes_[0]->setText(text.isEmpty() ? kIdle : text);
}

void CFrameStatusBar::SetPaneText(int pane, const QString& text) {
    if (pane < 1 || pane >= kPanes)
        return;
    QLabel* label = panes_[pane];
    if (label->text() == text && label->isHidden() == text.isEmpty())
        return;
    label->setText(text);
    label->setFixedWidth(label->fontMetrics().horizontalAdvance(text));
    label->setVisible(!text.isEmpty());
}

} // namespace tarvo
