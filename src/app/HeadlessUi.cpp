#include "app/HeadlessUi.h"

#include <cstdio>

namespace tarvo {

MsgAnswer CHeadlessUi::MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                  MsgButtons buttons) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return CSilentUi::MessageBox(text, title, icon, buttons);
}

} // namespace tarvo
