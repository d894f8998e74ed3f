#pragma once
// A labelled check box of the "Reports" page: the three-frame picture of a
// CBitCheckButton with its text beside it, at (25, 1), in Arial 9 points,
// dark blue.

#include "panel/BitCheckButton.h"

#include <QString>

namespace tarvo {

class CCheckImageButton : public CBitCheckButton {
    Q_OBJECT

public:
    CCheckImageButton(const QString& text, QWidget* parent = nullptr);

    QString text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

} // namespace tarvo
