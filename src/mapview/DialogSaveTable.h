#pragma once
// "Create A Table Report": the output file (chosen with "..."), the header
// and index switches and the delimiter of the table output.

#include "mapview/DialogService.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace tarvo {

class CDialogSaveTable : public QDialog {
    Q_OBJECT

public:
    // The file choice behind "..."; nullopt on Cancel.
    using FileChooser = std::function<std::optional<QString>(QWidget* parent)>;

    // The dialog filled from options; chooseFile defaults to the save dialog
    // for text files.
    CDialogSaveTable(QWidget* parent, const CTableOptions& options, FileChooser chooseFile = {});

    // The choices as they stand.
    CTableOptions Options() const;

    // Shows the dialog modally; true on "Create..." with the fields written back.
    static bool Run(QWidget* parent, CTableOptions& options);

private:
    void Browse();

    FileChooser chooseFile_;
    CTableOptions chosen_; // path and whether "..." chose it
    QLineEdit* path_;
    QCheckBox* header_;
    QCheckBox* index_;
    QRadioButton* delimiters_[4];
    QLineEdit* other_;
};

} // namespace tarvo
