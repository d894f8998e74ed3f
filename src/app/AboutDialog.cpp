#include "app/AboutDialog.h"

#include "app/AppResources.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace tarvo {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About TarvoAnalyzer"));
    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(48, 48));
    auto* version = new QLabel(QStringLiteral("Tarvo Analyzer Version 1.0.7"), this);
    version->setObjectName(QStringLiteral("version"));
    auto* notice = new QLabel(
        QStringLiteral("Wireless-LAN site-survey analysis. Free software, without warranty."),
        this);
    notice->setObjectName(QStringLiteral("notice"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(notice, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace tarvo
