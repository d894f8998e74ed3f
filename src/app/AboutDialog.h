#pragma once
// "About TarvoAnalyzer": the icon, the version line and a notice.

#include <QDialog>

namespace tarvo {

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent);
};

} // namespace tarvo
