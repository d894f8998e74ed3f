#include "mapview/QtDialogService.h"

#include "mapview/DialogApIcon.h"
#include "mapview/DialogApProperties.h"
#include "mapview/DialogIsIcon.h"
#include "mapview/DialogIsProperty.h"
#include "mapview/DialogKmlNotes.h"
#include "mapview/DialogPlanLength.h"
#include "mapview/DialogRecordWalk.h"
#include "mapview/DialogRuler.h"
#include "mapview/DialogSaveTable.h"

#include <QColorDialog>
#include <QMenu>

namespace tarvo {

bool CQtDialogService::EditApProperties(CApPropertiesText& fields) {
    return CDialogAPProperties::Run(parent_, fields);
}

bool CQtDialogService::EditSourceProperties(CSourcePropertiesText& fields) {
    return CDialogISProperty::Run(parent_, fields);
}

bool CQtDialogService::ChooseApIcon(int& iconId) {
    return CDialogAPicon::Run(parent_, iconId);
}

bool CQtDialogService::ChooseSourceIcon(int& iconId) {
    return CDialogISicon::Run(parent_, iconId);
}

bool CQtDialogService::ShowMeasuredDistance(const CRulerText& fields) {
    return CDialogRuler::Run(parent_, fields);
}

bool CQtDialogService::EditKmlDescription(std::string& description) {
    return CDialogKMLnotes::Run(parent_, description);
}

bool CQtDialogService::EditTableOptions(CTableOptions& options) {
    return CDialogSaveTable::Run(parent_, options);
}

std::optional<ColourRef> CQtDialogService::ChooseColour(ColourRef initial) {
    const QColor chosen =
        QColorDialog::getColor(QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), parent_);
    if (!chosen.isValid())
        return std::nullopt;
    return MakeRgb(chosen.red(), chosen.green(), chosen.blue());
}

int CQtDialogService::ChooseMenuItem(const std::vector<std::string>& items, QPoint globalPos) {
    QMenu menu(parent_);
    for (std::size_t i = 0; i < items.size(); ++i)
        menu.addAction(QString::fromStdString(items[i]))->setData(static_cast<int>(i));
    const QAction* chosen = menu.exec(globalPos);
    return chosen ? chosen->data().toInt() : -1;
}

bool CQtDialogService::EditPlanLength(CPlanLengthText& fields) {
    return CDialogPlanLength::Run(parent_, fields);
}

bool CQtDialogService::EditRecordWalk(CRecordWalkText& fields) {
    return CDialogRecordWalk::Run(parent_, fields);
}

} // namespace tarvo
