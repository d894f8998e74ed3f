#pragma once
// "Selct Interference Icon": the six interference-source icon styles
// 180-185.

class QWidget;

namespace tarvo {

class CDialogISicon {
public:
    // Shows the dialog modally with iconId selected; true on OK with the
    // chosen id written back.
    static bool Run(QWidget* parent, int& iconId);
};

} // namespace tarvo
