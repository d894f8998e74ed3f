#pragma once
// The File menu's two commands that bring a user's own material in: "New
// Floor Plan from Image..." (the picture shown in the map view, a
// calibration line dragged over it, its length typed, the plan saved and
// opened as the study's projection) and "Import Survey Data..." (CSV, iw
// manifests, phone logs or our own tables saved as a survey walk and added
// to the file list). GUI thread only; both are refused while a worker
// holds the document.

#include "view/PlanPicture.h"

#include <QObject>
#include <QPointF>

#include <memory>
#include <string>

class QAction;

namespace tarvo {

class CDocumentHost;
class CStudyRunner;
class CTarvoAnalyzerView;

class CImportCommands : public QObject {
    Q_OBJECT

public:
    // Connects the two actions (disabled while a worker runs).
    CImportCommands(CDocumentHost& host, CTarvoAnalyzerView& mapView, QAction* newPlan,
                    QAction* importSurvey, QObject* parent = nullptr);
    ~CImportCommands() override;

    void NewPlanFromImage();
    void ImportSurveyData();

private:
    // A line was drawn over the picture: ask its length, save and open the plan.
    void OnLineDrawn(QPointF first, QPointF second);
    // Opens the saved plan as the study's projection, reloading the
    // collection when the study holds APs.
    void OpenPlan(const std::string& path);

    CDocumentHost& host_;
    CTarvoAnalyzerView& mapView_;
    std::unique_ptr<CStudyRunner> runner_;
    QAction* newPlan_;
    QAction* importSurvey_;
    CPlanPicture picture_; // the picture being calibrated
    std::string picturePath_;
};

} // namespace tarvo
