#pragma once
// "Select AP Icon": the six AP icon styles 174-179.

class QWidget;

namespace tarvo {

class CDialogAPicon {
public:
    // Shows the dialog modally with iconId selected; true on OK with the
    // chosen id written back.
    static bool Run(QWidget* parent, int& iconId);
};

} // namespace tarvo
