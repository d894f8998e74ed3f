#pragma once
// The information window: a balloon beside the resting pointer that lists
// what lies under it. A child of the map canvas that lets the mouse through;
// its shadow darkens the picture beneath it.

#include "view/InfoText.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace tarvo {

class CInfoWnd : public QWidget {
public:
    explicit CInfoWnd(QWidget* canvas);

    // Shows text beside `pointer` inside the canvas's client area;
    // `background` is the canvas picture the shadow darkens.
    void ShowText(const QString& text, QPoint pointer, QSize client, const QImage& background);

    QString Text() const { return text_; }
    QPoint ShownAt() const { return shownAt_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QStringList lines_;
    QPoint shownAt_;
    CBalloonGeometry geometry_;
    QImage shadowed_; // the picture under the window, channels halved
};

} // namespace tarvo
