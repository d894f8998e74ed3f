#include "app/Splash.h"

#include "app/AppResources.h"

namespace tarvo {

CSplash::CSplash(QWidget* frame)
    : QLabel(frame, Qt::SplashScreen | Qt::FramelessWindowHint), frame_(frame) {
    setObjectName(QStringLiteral("splash"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setPixmap(SplashPicture());
    adjustSize();
}

void CSplash::ShowCentred() {
    const QRect outer = frame_->frameGeometry();
    move(outer.left() + outer.width() / 2 - width() / 2,
         outer.top() + outer.height() / 2 - height() / 2);
    show();
    raise();
    repaint();
    shown_ = true;
}

void CSplash::Dismiss() {
    hide();
    shown_ = false;
}

} // namespace tarvo
