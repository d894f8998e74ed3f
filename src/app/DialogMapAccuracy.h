#pragma once
// "Map Accuracy": the cross-validation figures of the study's maps, one row
// for the whole study and one per AP, with what was compared and how to
// read them. Read-only; shown without blocking the window.

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QTableWidget;

namespace tarvo {

struct CMapAccuracyText {
    std::string setting;                        // what was compared
    std::vector<std::string> columns;           // column titles
    std::vector<std::vector<std::string>> rows; // the study first, then the APs
    std::string explanation;                    // how to read the figures
};

class CDialogMapAccuracy : public QDialog {
public:
    CDialogMapAccuracy(QWidget* parent, const CMapAccuracyText& text);

private:
    QLabel* setting_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* explanation_ = nullptr;
};

} // namespace tarvo
