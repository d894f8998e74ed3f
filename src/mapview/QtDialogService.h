#pragma once
// The real dialogs of IDialogService, shown modally over the main window.

#include "mapview/DialogService.h"

class QWidget;

namespace tarvo {

class CQtDialogService : public IDialogService {
public:
    void SetParent(QWidget* parent) { parent_ = parent; }

    bool EditApProperties(CApPropertiesText& fields) override;
    bool EditSourceProperties(CSourcePropertiesText& fields) override;
    bool ChooseApIcon(int& iconId) override;
    bool ChooseSourceIcon(int& iconId) override;
    bool ShowMeasuredDistance(const CRulerText& fields) override;
    bool EditKmlDescription(std::string& description) override;
    bool EditTableOptions(CTableOptions& options) override;
    std::optional<ColourRef> ChooseColour(ColourRef initial) override;
    int ChooseMenuItem(const std::vector<std::string>& items, QPoint globalPos) override;
    bool EditPlanLength(CPlanLengthText& fields) override;
    bool EditRecordWalk(CRecordWalkText& fields) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace tarvo
