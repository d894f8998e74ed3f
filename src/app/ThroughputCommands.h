#pragma once
// View > Throughput: the throughput measured along recorded walks (their
// WALK.throughput.csv side files) drawn over the map as display type 10,
// with its legend. Checked while it is shown; enabled once the study is
// processed. The side files are read again whenever the file list or the
// study changes while the view is shown. GUI thread only.

#include <QObject>

class QAction;

namespace tarvo {

class CDocumentHost;

class CThroughputCommands : public QObject {
    Q_OBJECT

public:
    CThroughputCommands(CDocumentHost& host, QAction* view, QObject* parent = nullptr);

    // Shows the throughput view, or back to none when it is shown.
    void Toggle();

private:
    // Reads the side files of the selected survey files into the document;
    // the number of points with a download rate.
    int Load(bool tell);
    void Refresh();

    CDocumentHost& host_;
    QAction* view_;
};

} // namespace tarvo
