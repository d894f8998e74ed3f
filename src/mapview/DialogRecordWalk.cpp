#include "mapview/DialogRecordWalk.h"

#include "mapview/DialogLayout.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace tarvo {

namespace {

constexpr int kMostScansPerPoint = 100;

} // namespace

const char* CDialogRecordWalk::ReplayChoice() {
    return "Saved scans (replay folder)";
}

CDialogRecordWalk::CDialogRecordWalk(QWidget* parent, const CRecordWalkText& fields)
    : QDialog(parent), shown_(fields) {
    CDialogLayout layout(*this, "Record Walk", 262, 128);
    const CDialogUnits& units = layout.Units();
    layout.Label(QStringLiteral("Scan with:"), {10, 10, 70, 8});
    source_ = new QComboBox(this);
    source_->setObjectName(QStringLiteral("source"));
    for (const std::string& name : fields.interfaces)
        source_->addItem(QString::fromStdString(name));
    source_->addItem(QString::fromLatin1(ReplayChoice()));
    int chosen = source_->count() - 1;
    for (int i = 0; i < static_cast<int>(fields.interfaces.size()); ++i)
        if (fields.interfaces[static_cast<std::size_t>(i)] == fields.source)
            chosen = i;
    source_->setCurrentIndex(chosen);
    source_->setGeometry(units.Rect(84, 8, 168, 14));
    layout.Label(fields.interfaces.empty() ? QStringLiteral("No wireless adapter was found.")
                                           : QStringLiteral("Fresh scans need CAP_NET_ADMIN."),
                 {84, 24, 168, 8}, Qt::AlignLeft, "sourceNote");
    layout.Label(QStringLiteral("Replay folder:"), {10, 38, 70, 8});
    folder_ = layout.Edit("replayFolder", {84, 36, 168, 14}, fields.replayFolder);
    layout.Label(QStringLiteral("Scans per point:"), {10, 58, 70, 8});
    scans_ = new QSpinBox(this);
    scans_->setObjectName(QStringLiteral("scansPerPoint"));
    scans_->setRange(1, kMostScansPerPoint);
    scans_->setValue(fields.scansPerPoint);
    scans_->setGeometry(units.Rect(84, 56, 40, 14));
    layout.Label(QStringLiteral("Throughput server:"), {10, 78, 70, 8});
    server_ = layout.Edit("iperfServer", {84, 76, 168, 14}, fields.iperfServer);
    layout.Label(QStringLiteral("Optional: a host running iperf3 -s"), {84, 92, 168, 8});
    layout.Buttons(76, 106, 138, 106);
    connect(source_, &QComboBox::currentIndexChanged, this, [this] { SyncFolder(); });
    SyncFolder();
    source_->setFocus();
}

void CDialogRecordWalk::SyncFolder() {
    folder_->setEnabled(source_->currentIndex() == source_->count() - 1);
}

CRecordWalkText CDialogRecordWalk::Fields() const {
    CRecordWalkText fields = shown_;
    const bool replay = source_->currentIndex() == source_->count() - 1;
    fields.source = replay ? std::string() : source_->currentText().toStdString();
    fields.replayFolder = TextOf(folder_);
    fields.scansPerPoint = scans_->value();
    fields.iperfServer = TextOf(server_);
    return fields;
}

bool CDialogRecordWalk::Run(QWidget* parent, CRecordWalkText& fields) {
    CDialogRecordWalk dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    fields = dialog.Fields();
    return true;
}

} // namespace tarvo
