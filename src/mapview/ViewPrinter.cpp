#include "mapview/ViewPrinter.h"

#include "view/PrintLayout.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace tarvo {

namespace {

void ReportFailure(IUiServices& ui) {
    ui.MessageBox("The view could not be printed.", "Print", MsgIcon::Error);
}

} // namespace

CViewPrinter::CViewPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

CViewPrinter::~CViewPrinter() = default;

bool CViewPrinter::PrintPage(QPrinter& printer, const QImage& picture) {
    if (picture.isNull())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the printable area's corner; the page's
    // units are the printer's pixels.
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const bool placed = PaintPrintPage(painter, page.width(), page.height(), picture);
    return painter.end() && placed;
}

void CViewPrinter::Print(QWidget* parent, const QImage& picture, IUiServices& ui) {
    QPrintDialog dialog(printer_.get(), parent);
    dialog.setMinMax(1, 1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!PrintPage(*printer_, picture))
        ReportFailure(ui);
}

void CViewPrinter::Preview(QWidget* parent, const QImage& picture, IUiServices& ui) {
    QPrintPreviewDialog preview(printer_.get(), parent);
    bool failed = false;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* printer) { failed = !PrintPage(*printer, picture) || failed; });
    preview.exec();
    if (failed)
        ReportFailure(ui);
}

void CViewPrinter::Setup(QWidget* parent) {
    QPageSetupDialog dialog(printer_.get(), parent);
    dialog.exec();
}

} // namespace tarvo
