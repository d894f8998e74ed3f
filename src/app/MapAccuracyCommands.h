#pragma once
// The View menu's commands on the study's maps: the coverage model the
// study uses ("Coverage Model": Study Model or Survey Model, checked as the
// document has it), and "Evaluate Map Accuracy...", which cross-validates
// the maps on the worker with the progress window and then shows the
// figures in the "Map Accuracy" dialog. Both change or read the document
// only through the document host, and are disabled while a worker runs.

#include "app/DialogMapAccuracy.h"
#include "model/CoverageModelKind.h"

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace tarvo {

class CDocumentHost;

class CMapAccuracyCommands : public QObject {
    Q_OBJECT

public:
    CMapAccuracyCommands(CDocumentHost& host, QAction* studyModel, QAction* surveyModel,
                         QAction* evaluate, QWidget* window);

    // The figures last shown, while their dialog is open.
    CDialogMapAccuracy* Dialog() const { return dialog_; }

private:
    // A study with AP matrices gets the other model's on the worker (and its
    // coverage, when it has some); one without only records the choice.
    void ChooseModel(CoverageModelKind model);
    void Evaluate();
    void Refresh();

    CDocumentHost& host_;
    QAction* studyModel_;
    QAction* surveyModel_;
    QAction* evaluate_;
    QWidget* window_;
    QPointer<CDialogMapAccuracy> dialog_;
};

} // namespace tarvo
