#include "mapview/GatedServices.h"

namespace tarvo {

bool CDocumentGate::Ask(const std::function<void()>& ask) const {
    if (!onGuiThread()) {
        ask(); // the worker's own question
        return true;
    }
    if (held())
        return false;
    struct COpen {
        const CDocumentGate& gate;
        explicit COpen(const CDocumentGate& g) : gate(g) { gate.countOpen(1); }
        ~COpen() { gate.countOpen(-1); }
        COpen(const COpen&) = delete;
        COpen& operator=(const COpen&) = delete;
    } open(*this);
    ask();
    return !held();
}

MsgAnswer CGatedUiServices::MessageBox(const std::string& text, const std::string& title,
                                       MsgIcon icon, MsgButtons buttons) {
    MsgAnswer answer = MsgAnswer::Ok;
    if (gate_.Ask([&] { answer = inner_->MessageBox(text, title, icon, buttons); }))
        return answer;
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return MsgAnswer::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
        break;
    }
    return MsgAnswer::Cancel;
}

std::optional<std::string> CGatedUiServices::ChooseOpenFile(const std::string& filter,
                                                            const std::string& title,
                                                            const std::string& defaultName) {
    std::optional<std::string> path;
    if (gate_.Ask([&] { path = inner_->ChooseOpenFile(filter, title, defaultName); }))
        return path;
    return std::nullopt;
}

std::optional<std::string> CGatedUiServices::ChooseSaveFile(const std::string& filter,
                                                            const std::string& title,
                                                            const std::string& defaultName) {
    std::optional<std::string> path;
    if (gate_.Ask([&] { path = inner_->ChooseSaveFile(filter, title, defaultName); }))
        return path;
    return std::nullopt;
}

template <typename Fields, typename Show> bool CGatedDialogs::Edit(Fields& fields, Show show) {
    Fields edited = fields;
    bool ok = false;
    if (!gate_.Ask([&] { ok = show(edited); }) || !ok)
        return false;
    fields = edited;
    return true;
}

bool CGatedDialogs::EditApProperties(CApPropertiesText& fields) {
    return Edit(fields, [this](CApPropertiesText& f) { return inner_->EditApProperties(f); });
}

bool CGatedDialogs::EditSourceProperties(CSourcePropertiesText& fields) {
    return Edit(fields,
                [this](CSourcePropertiesText& f) { return inner_->EditSourceProperties(f); });
}

bool CGatedDialogs::ChooseApIcon(int& iconId) {
    return Edit(iconId, [this](int& id) { return inner_->ChooseApIcon(id); });
}

bool CGatedDialogs::ChooseSourceIcon(int& iconId) {
    return Edit(iconId, [this](int& id) { return inner_->ChooseSourceIcon(id); });
}

bool CGatedDialogs::ShowMeasuredDistance(const CRulerText& fields) {
    bool ok = false;
    return gate_.Ask([&] { ok = inner_->ShowMeasuredDistance(fields); }) && ok;
}

bool CGatedDialogs::EditKmlDescription(std::string& description) {
    return Edit(description, [this](std::string& d) { return inner_->EditKmlDescription(d); });
}

bool CGatedDialogs::EditTableOptions(CTableOptions& options) {
    return Edit(options, [this](CTableOptions& o) { return inner_->EditTableOptions(o); });
}

std::optional<ColourRef> CGatedDialogs::ChooseColour(ColourRef initial) {
    std::optional<ColourRef> colour;
    if (gate_.Ask([&] { colour = inner_->ChooseColour(initial); }))
        return colour;
    return std::nullopt;
}

int CGatedDialogs::ChooseMenuItem(const std::vector<std::string>& items, QPoint globalPos) {
    int item = -1;
    if (gate_.Ask([&] { item = inner_->ChooseMenuItem(items, globalPos); }))
        return item;
    return -1;
}

bool CGatedDialogs::EditPlanLength(CPlanLengthText& fields) {
    return Edit(fields, [this](CPlanLengthText& f) { return inner_->EditPlanLength(f); });
}

bool CGatedDialogs::EditRecordWalk(CRecordWalkText& fields) {
    return Edit(fields, [this](CRecordWalkText& f) { return inner_->EditRecordWalk(f); });
}

} // namespace tarvo
