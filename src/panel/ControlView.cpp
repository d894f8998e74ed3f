#include "panel/ControlView.h"

#include "mapview/DocumentHost.h"

namespace tarvo {

CControlView::CControlView(CDocumentHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setMinimumWidth(220);
}

} // namespace tarvo
