#pragma once
// The control panel: the left pane of the main window with every command of
// a study (files, processing, analysis, layers, report). A strip of four
// buttons on top, then a tab control with the pages "Files", "Data Study"
// and "Reports". Buttons change the document through the host (never while
// a worker holds it), show the document's flags, and the long operations
// run on the host's worker with the shared progress window.

#include <QHash>
#include <QWidget>

#include <memory>

class QTreeWidgetItem;

namespace tarvo {

class CApTreeCtrl;
class CBitCheckButton;
class CCDSliderCtrlDiamond;
class CDocumentHost;
class CImageTextButton;
class CRangeControl;
class CResolutionControl;
class CStudyRunner;
class CViewTabCtrl;
struct CPanelCommand;

class CControlView : public QWidget {
    Q_OBJECT

public:
    CControlView(CDocumentHost& host, QWidget* parent = nullptr);
    ~CControlView() override;

    int page() const { return page_; }
    // The button with a command id (a CBitCheckButton, CCheckImageButton or
    // CImageTextButton), nullptr for an unknown id.
    QWidget* button(int id) const { return buttons_.value(id); }
    CViewTabCtrl* tabs() const { return tab_; }
    CApTreeCtrl* fileList() const { return fileList_; }
    CApTreeCtrl* apTree() const { return apTree_; }
    CRangeControl* powerRange() const { return range_; }
    CCDSliderCtrlDiamond* opacity() const { return slider_; }
    CResolutionControl* resolution() const { return resolution_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createButton(const CPanelCommand& command);
    void placeControls();
    void showPage(int page);

    // Commands and notifications of the child controls.
    void onCommand(int id);
    void openProjection();
    void processFiles();
    void startLoading();
    void plotGraph();
    void generateReport();
    void onFileChecked(QTreeWidgetItem* item);
    void onApChecked(QTreeWidgetItem* item);
    void onApIcon(QTreeWidgetItem* item);
    void onApIconRight(QTreeWidgetItem* item);
    void onApLabel(QTreeWidgetItem* item);

    // Marks the study modified (unless the change is view state only),
    // brings the panel up to date and tells the other views what changed.
    void apply(unsigned changed, bool modifies = true);
    void onDocumentChanged(unsigned what);
    void onBusyChanged(bool busy);
    void refreshAfterNewStudy();
    void refreshResolution();
    void syncControls(); // every button, range and slider from the document
    void updateEnables();

    CDocumentHost& host_;
    std::unique_ptr<CStudyRunner> runner_;
    CViewTabCtrl* tab_ = nullptr;
    QHash<int, QWidget*> buttons_;
    CApTreeCtrl* fileList_ = nullptr;
    CApTreeCtrl* apTree_ = nullptr;
    CRangeControl* range_ = nullptr;
    CCDSliderCtrlDiamond* slider_ = nullptr;
    CResolutionControl* resolution_ = nullptr;

    int page_ = 0;
    int apRows_ = 2;
    bool busy_ = false;
    bool coveragePresent_ = false; // as last read, for the enable rules while busy
    bool gpsControls_ = true;      // "Show Data without Good GPS", "GPS or Lin Coordinates"
    bool notifying_ = false;       // our own notification is on its way round
    unsigned pendingChanges_ = 0;  // changes announced while a worker ran
};

} // namespace tarvo
