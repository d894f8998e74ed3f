#pragma once
// The control panel: the left pane of the main window with every command of
// a study (files, processing, analysis, layers, report).

#include <QWidget>

namespace tarvo {

class CDocumentHost;

class CControlView : public QWidget {
    Q_OBJECT

public:
    CControlView(CDocumentHost& host, QWidget* parent = nullptr);

private:
    CDocumentHost& host_;
};

} // namespace tarvo
