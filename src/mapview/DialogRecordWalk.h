#pragma once
// "Record Walk": the wireless interface to scan with (or a folder of saved
// scans to replay), the scans taken at each point, and the iperf3 server
// the throughput is measured against (optional).

#include "mapview/DialogService.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace tarvo {

class CDialogRecordWalk : public QDialog {
public:
    CDialogRecordWalk(QWidget* parent, const CRecordWalkText& fields);

    CRecordWalkText Fields() const;

    // Shows the dialog modally; on OK writes the fields back and returns true.
    static bool Run(QWidget* parent, CRecordWalkText& fields);

    // The source list's last entry, after the interfaces.
    static const char* ReplayChoice();

private:
    void SyncFolder();

    CRecordWalkText shown_;
    QComboBox* source_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QSpinBox* scans_ = nullptr;
    QLineEdit* server_ = nullptr;
};

} // namespace tarvo
