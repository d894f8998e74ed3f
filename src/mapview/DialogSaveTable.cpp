#include "mapview/DialogSaveTable.h"

#include "mapview/QtUiServices.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvo {

namespace {

constexpr const char* kTextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

std::optional<QString> ChooseTextFile(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QtFileFilter(kTextFilter));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

CDialogSaveTable::CDialogSaveTable(QWidget* parent, const CTableOptions& options,
                                   FileChooser chooseFile)
    : QDialog(parent), chooseFile_(chooseFile ? std::move(chooseFile) : ChooseTextFile),
      chosen_(options) {
    setWindowTitle(QStringLiteral("Create A Table Report"));

    auto* fileBox = new QGroupBox(QStringLiteral("1. Select An Output File"), this);
    path_ = new QLineEdit(QString::fromStdString(options.path), fileBox);
    path_->setObjectName(QStringLiteral("path"));
    // Only a file chosen with "..." is written, so the path is not typed.
    path_->setReadOnly(true);
    path_->setMinimumWidth(260);
    auto* browse = new QPushButton(QStringLiteral("..."), fileBox);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setAutoDefault(false);
    auto* fileRow = new QHBoxLayout(fileBox);
    fileRow->addWidget(path_);
    fileRow->addWidget(browse);
    connect(browse, &QPushButton::clicked, this, &CDialogSaveTable::Browse);

    header_ = new QCheckBox(QStringLiteral("Include Table Header"), this);
    header_->setObjectName(QStringLiteral("includeHeader"));
    header_->setChecked(options.includeHeader);
    index_ = new QCheckBox(QStringLiteral("Include Table Index"), this);
    index_->setObjectName(QStringLiteral("includeIndex"));
    index_->setChecked(options.includeIndex);

    auto* delimiterBox = new QGroupBox(this);
    auto* delimiterGrid = new QGridLayout(delimiterBox);
    auto* group = new QButtonGroup(this);
    static constexpr const char* kNames[] = {"Tab", "Comma", "Space", "Other"};
    for (int i = 0; i < 4; ++i) {
        delimiters_[i] = new QRadioButton(QString::fromLatin1(kNames[i]), delimiterBox);
        delimiters_[i]->setObjectName(QStringLiteral("delimiter") + QString::fromLatin1(kNames[i]));
        group->addButton(delimiters_[i], i);
        delimiterGrid->addWidget(delimiters_[i], i / 2, (i % 2) * 2);
    }
    other_ = new QLineEdit(QString::fromStdString(options.otherText), delimiterBox);
    other_->setObjectName(QStringLiteral("otherText"));
    other_->setMaxLength(1);
    other_->setMaximumWidth(40);
    delimiterGrid->addWidget(other_, 1, 3);
    const int choice = options.delimiter >= 0 && options.delimiter < 4 ? options.delimiter : 0;
    delimiters_[choice]->setChecked(true);
    other_->setEnabled(choice == kDelimiterOther);
    connect(delimiters_[kDelimiterOther], &QRadioButton::toggled, other_, &QLineEdit::setEnabled);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* create =
        buttons->addButton(QStringLiteral("Create..."), QDialogButtonBox::AcceptRole);
    create->setObjectName(QStringLiteral("create"));
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileBox);
    layout->addWidget(header_);
    layout->addWidget(index_);
    layout->addWidget(delimiterBox);
    layout->addWidget(buttons);
}

void CDialogSaveTable::Browse() {
    const std::optional<QString> file = chooseFile_(this);
    if (!file || file->isEmpty())
        return;
    chosen_.path = file->toStdString();
    chosen_.fileChosen = true;
    path_->setText(*file);
}

CTableOptions CDialogSaveTable::Options() const {
    CTableOptions options = chosen_;
    options.includeHeader = header_->isChecked();
    options.includeIndex = index_->isChecked();
    for (int i = 0; i < 4; ++i)
        if (delimiters_[i]->isChecked())
            options.delimiter = i;
    options.otherText = other_->text().toStdString();
    return options;
}

bool CDialogSaveTable::Run(QWidget* parent, CTableOptions& options) {
    CDialogSaveTable dialog(parent, options);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    options = dialog.Options();
    return true;
}

} // namespace tarvo
