#pragma once
// Printing the map view's picture: one page with the picture fitted and
// framed. The printer keeps the choices of "Print Setup" for the run.

#include "model/UiServices.h"

#include <QImage>

#include <memory>

class QPrinter;
class QWidget;

namespace tarvo {

class CViewPrinter {
public:
    CViewPrinter();
    ~CViewPrinter();
    CViewPrinter(const CViewPrinter&) = delete;
    CViewPrinter& operator=(const CViewPrinter&) = delete;

    QPrinter& Printer() { return *printer_; }

    // "Print...": the print dialog, then the page. A page that cannot be
    // printed is reported through ui.
    void Print(QWidget* parent, const QImage& picture, IUiServices& ui);
    // "Print Preview": the page in the preview window, printable from there.
    void Preview(QWidget* parent, const QImage& picture, IUiServices& ui);
    // "Print Setup...": paper, orientation and margins.
    void Setup(QWidget* parent);

    // Prints the page on printer; false when nothing could be printed.
    static bool PrintPage(QPrinter& printer, const QImage& picture);

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace tarvo
