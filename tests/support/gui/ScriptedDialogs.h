#pragma once
// IDialogService answered from a script: each dialog pops the next queued
// answer (Cancel when none is queued) and records what it was shown. The
// ruler's window is always cancelled.

#include "mapview/DialogService.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tarvo::test {

class CScriptedDialogs : public IDialogService {
public:
    // std::nullopt stands for Cancel.
    std::deque<std::optional<CApPropertiesText>> apAnswers;
    std::deque<std::optional<CSourcePropertiesText>> sourceAnswers;
    std::deque<std::optional<int>> iconAnswers;
    std::deque<std::optional<std::string>> kmlAnswers;
    std::deque<std::optional<CTableOptions>> tableAnswers;
    std::deque<int> menuAnswers;
    std::deque<std::optional<CPlanLengthText>> planLengthAnswers;
    std::deque<std::optional<ColourRef>> colourAnswers;
    std::deque<std::optional<CRecordWalkText>> recordWalkAnswers;

    // What each dialog was opened with, in order.
    std::vector<CApPropertiesText> apShown;
    std::vector<CSourcePropertiesText> sourceShown;
    std::vector<int> iconShown;
    std::vector<CRulerText> rulerShown;
    std::vector<std::string> kmlShown;
    std::vector<std::vector<std::string>> menuShown;
    int tableShown = 0;
    std::vector<CPlanLengthText> planLengthShown;
    std::vector<CRecordWalkText> recordWalkShown;

    bool EditApProperties(CApPropertiesText& fields) override {
        apShown.push_back(fields);
        return Answer(apAnswers, fields);
    }
    bool EditSourceProperties(CSourcePropertiesText& fields) override {
        sourceShown.push_back(fields);
        return Answer(sourceAnswers, fields);
    }
    bool ChooseApIcon(int& iconId) override {
        iconShown.push_back(iconId);
        return Answer(iconAnswers, iconId);
    }
    bool ChooseSourceIcon(int& iconId) override {
        iconShown.push_back(iconId);
        return Answer(iconAnswers, iconId);
    }
    bool ShowMeasuredDistance(const CRulerText& fields) override {
        rulerShown.push_back(fields);
        return false;
    }
    bool EditKmlDescription(std::string& description) override {
        kmlShown.push_back(description);
        return Answer(kmlAnswers, description);
    }
    bool EditTableOptions(CTableOptions& options) override {
        ++tableShown;
        return Answer(tableAnswers, options);
    }
    std::optional<ColourRef> ChooseColour(ColourRef) override {
        if (colourAnswers.empty())
            return std::nullopt;
        const std::optional<ColourRef> answer = colourAnswers.front();
        colourAnswers.pop_front();
        return answer;
    }
    int ChooseMenuItem(const std::vector<std::string>& items, QPoint) override {
        menuShown.push_back(items);
        if (menuAnswers.empty())
            return -1;
        const int answer = menuAnswers.front();
        menuAnswers.pop_front();
        return answer;
    }

    bool EditPlanLength(CPlanLengthText& fields) override {
        planLengthShown.push_back(fields);
        return Answer(planLengthAnswers, fields);
    }
    bool EditRecordWalk(CRecordWalkText& fields) override {
        recordWalkShown.push_back(fields);
        return Answer(recordWalkAnswers, fields);
    }

private:
    template <typename T> static bool Answer(std::deque<std::optional<T>>& answers, T& fields) {
        if (answers.empty())
            return false;
        const std::optional<T> answer = answers.front();
        answers.pop_front();
        if (!answer)
            return false;
        fields = *answer;
        return true;
    }
};

} // namespace tarvo::test
