#pragma once
// The icon choosers: six icons in two rows of white squares; a click on a
// square selects it (framed), and the selection shows again below. Clicks
// between the squares keep the selection.

#include "view/Icons.h"

#include <QDialog>
#include <QPoint>
#include <QRect>

namespace tarvo {

// Top-left corners of the six 32 x 32 squares, in client pixels.
constexpr QPoint kIconSquares[6] = {{42, 40}, {82, 40}, {122, 40}, {42, 90}, {82, 90}, {122, 90}};
// Where the selected icon shows again.
constexpr QPoint kSelectedIconAt{82, 165};

// The layout of one icon dialog, in dialog units where not said otherwise.
struct CIconDialogLayout {
    const char* title;
    int width;
    int height;
    int okX;
    int okY;
    int cancelX;
    int cancelY;
    const char* selectTitle;
    QRect selectGroup;
    QRect selectedGroup;
    int firstIcon; // icon id of the first square
};

// "Select AP Icon" over the AP styles 174-179 and "Selct Interference
// Icon" over the source styles 180-185.
constexpr CIconDialogLayout kApIconDialog{.title = "Select AP Icon",
                                          .width = 137,
                                          .height = 164,
                                          .okX = 12,
                                          .okY = 143,
                                          .cancelX = 73,
                                          .cancelY = 143,
                                          .selectTitle = "Please Select",
                                          .selectGroup = {17, 15, 103, 75},
                                          .selectedGroup = {45, 96, 48, 40},
                                          .firstIcon = kFirstApIcon};
constexpr CIconDialogLayout kSourceIconDialog{.title = "Selct Interference Icon",
                                              .width = 133,
                                              .height = 159,
                                              .okX = 13,
                                              .okY = 138,
                                              .cancelX = 70,
                                              .cancelY = 138,
                                              .selectTitle = "Please Select ",
                                              .selectGroup = {15, 15, 106, 75},
                                              .selectedGroup = {45, 92, 48, 40},
                                              .firstIcon = kFirstSourceIcon};

class CIconDialog : public QDialog {
public:
    // iconId: the icon selected at first; an id outside the six selects the
    // first.
    CIconDialog(QWidget* parent, const CIconDialogLayout& layout, int iconId);

    int SelectedIndex() const { return selected_; }
    int SelectedIcon() const { return firstIcon_ + selected_; }

    // Index of the square holding client pixel p, or -1.
    static int SquareAt(QPoint p);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int firstIcon_;
    int selected_ = 0;
};

// Shows an icon dialog modally; true on OK with iconId set to the choice.
bool RunIconDialog(QWidget* parent, const CIconDialogLayout& layout, int& iconId);

} // namespace tarvo
