#pragma once
// The program's messages when nobody watches (--screenshot): written to
// stderr as "TITLE: TEXT"; questions are answered Yes, file choices
// cancelled.

#include "model/UiServices.h"

namespace tarvo {

class CHeadlessUi : public CSilentUi {
public:
    MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override;
};

} // namespace tarvo
