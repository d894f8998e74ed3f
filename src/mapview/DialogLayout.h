#pragma once
// Small dialogs built in code from layouts given in dialog units of the
// dialog font ("MS Shell Dlg", 8 points): an x unit is a quarter of the
// font's average character width, a y unit an eighth of its height, so the
// layouts keep their proportions with the free face that stands in for it.

#include <QFont>
#include <QRect>
#include <QString>

#include <string>

class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace tarvo {

QFont DialogFont();

class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int w, int h) const { return {X(x), Y(y), X(w), Y(h)}; }
    QSize Size(int w, int h) const { return {X(w), Y(h)}; }

private:
    int baseX_ = 6;  // average character width, pixels
    int baseY_ = 13; // character height, pixels
};

// The width a window needs to show `title` whole in its title bar: the
// text in the title-bar font (in bold, as many window managers draw it),
// with room for the window icon and three buttons, each about as wide as
// the bar is tall (two text lines), and a text line's padding each side.
int TitleBarWidth(const QString& title);

// Widens a dialog of fixed size to the TitleBarWidth of its title where the
// template is narrower; the controls keep their places and the added room
// lies on the right.
void FitWidthToTitle(QDialog& dialog);

// Puts the controls of one dialog at their places, in the order they are
// added (which is also the keyboard order).
class CDialogLayout {
public:
    // Sets the font, the title and the fixed client size (widened where the
    // title needs it, see FitWidthToTitle).
    CDialogLayout(QDialog& dialog, const char* title, int width, int height);

    const CDialogUnits& Units() const { return units_; }

    QLineEdit* Edit(const char* name, QRect units, const std::string& text, bool readOnly = false);
    // Multi-line text; line breaks are "\r\n" in `text`.
    QPlainTextEdit* Notes(const char* name, QRect units, const std::string& text);
    QLabel* Label(const QString& text, QRect units, Qt::Alignment align = Qt::AlignLeft,
                  const char* name = nullptr);
    QGroupBox* Group(const QString& title, QRect units);
    // OK (the default button) and Cancel, 50 x 14 units each.
    void Buttons(int okX, int okY, int cancelX, int cancelY);

private:
    QDialog& dialog_;
    CDialogUnits units_;
};

std::string TextOf(const QLineEdit* edit);
// The multi-line text with "\r\n" line breaks.
std::string TextOf(const QPlainTextEdit* edit);

} // namespace tarvo
