#pragma once
// A push button drawn by the program: the platform's button frame, normal
// or pressed, the matching picture and a text. It acts once, on release.

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace tarvo {

class CImageTextButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CImageTextButton(QWidget* parent = nullptr);

    // A strip of two frames, normal then pressed; `name` says which (for
    // tests and accessibility).
    void setPictures(const QPixmap& pair, const QString& name);
    QString pictureName() const { return pictureName_; }
    void setTextColour(const QColor& colour);

    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap pair_;
    QString pictureName_;
    QColor textColour_{Qt::black};
};

} // namespace tarvo
