#pragma once
// The desktop program's pictures: toolbar buttons, application icon and
// splash picture, compiled into the program (see icons/make_app_icons.cpp).

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tarvo {

// The 16 x 15 button picture of a toolbar command by its action name, with
// its double-size variant for high-density screens; a null icon when the
// command has none.
QIcon ToolbarIcon(const QString& actionName);

// The program's icon in every size it is drawn in.
QIcon ApplicationIcon();

// The 300 x 300 splash picture.
QPixmap SplashPicture();

} // namespace tarvo
