#include "app/DialogMapAccuracy.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvo {

CDialogMapAccuracy::CDialogMapAccuracy(QWidget* parent, const CMapAccuracyText& text)
    : QDialog(parent) {
    setObjectName(QStringLiteral("mapAccuracyDialog"));
    setWindowTitle(QStringLiteral("Map Accuracy"));
    auto* layout = new QVBoxLayout(this);

    setting_ = new QLabel(QString::fromStdString(text.setting), this);
    setting_->setObjectName(QStringLiteral("setting"));
    setting_->setWordWrap(true);
    layout->addWidget(setting_);

    const int columns = static_cast<int>(text.columns.size());
    table_ = new QTableWidget(static_cast<int>(text.rows.size()), columns, this);
    table_->setObjectName(QStringLiteral("figures"));
    QStringList titles;
    for (const std::string& title : text.columns)
        titles << QString::fromStdString(title);
    table_->setHorizontalHeaderLabels(titles);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < table_->rowCount(); ++r) {
        const std::vector<std::string>& row = text.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < columns && c < static_cast<int>(row.size()); ++c) {
            auto* item =
                new QTableWidgetItem(QString::fromStdString(row[static_cast<std::size_t>(c)]));
            // Text columns read from the left, figures from the right.
            item->setTextAlignment(c < 2 ? Qt::AlignLeft | Qt::AlignVCenter
                                         : Qt::AlignRight | Qt::AlignVCenter);
            if (r == 0) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    layout->addWidget(table_, 1);

    explanation_ = new QLabel(QString::fromStdString(text.explanation), this);
    explanation_->setObjectName(QStringLiteral("explanation"));
    explanation_->setWordWrap(true);
    layout->addWidget(explanation_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(900, 420);
}

} // namespace tarvo
