#include "panel/ControlView.h"

#include "analysis/Coordinates.h"
#include "analysis/ProjectionOpen.h"
#include "mapview/DocumentHost.h"
#include "model/ApGroups.h"
#include "panel/ApTreeCommands.h"
#include "panel/ApTreeCtrl.h"
#include "panel/BitCheckButton.h"
#include "panel/CheckImageButton.h"
#include "panel/ImageTextButton.h"
#include "panel/PanelCommands.h"
#include "panel/PanelIcons.h"
#include "panel/PanelLayout.h"
#include "panel/PanelTrees.h"
#include "panel/RangeControl.h"
#include "panel/ResolutionControl.h"
#include "panel/SliderCtrlDiamond.h"
#include "panel/StudyRunner.h"
#include "panel/ViewTabCtrl.h"

#include <QPainter>

#include <algorithm>
#include <utility>

namespace tarvo {

namespace {

constexpr unsigned kDocumentBits = 0xFFFFu;

// A page's image on its tab: the picture of its main button.
QIcon TabImage(const QString& picture) {
    return QIcon(StripFrame(PanelStrip(picture), 2, 0));
}

QString PathWidthPicture(int width) {
    return QStringLiteral("path_width_%1").arg(width >= 1 && width <= 3 ? width : 1);
}

// Every group member must still be the AP it was built from: an AP deleted
// elsewhere shifts the indices behind it.
bool GroupsFollowAps(const CTarvoAnalyzerDoc& doc) {
    for (const CGroupInfo& group : doc.activeGroups.groups)
        for (const CGroupItem& item : group.items)
            if (item.apIndex < 0 || item.apIndex >= doc.aps.GetSize() ||
                doc.aps[item.apIndex].bssid != item.bssid)
                return false;
    return true;
}

} // namespace

CControlView::CControlView(CDocumentHost& host, QWidget* parent)
    : QWidget(parent), host_(host), runner_(std::make_unique<CStudyRunner>(host)) {
    setMinimumWidth(220);
    setAutoFillBackground(false);

    // Created in this order, later controls lie over the tab control.
    tab_ = new CViewTabCtrl(this);
    tab_->setObjectName(QStringLiteral("tab"));
    tab_->addTab(QStringLiteral("Files"), TabImage(QStringLiteral("open_ssd")));
    tab_->addTab(QStringLiteral("Data Study"), TabImage(QStringLiteral("plot_graph")));
    tab_->addTab(QStringLiteral("Reports"), TabImage(QStringLiteral("report")));
    connect(tab_, &CViewTabCtrl::selectionChanged, this, [this](int index) {
        if (index < 0 || index > kPageReports)
            return;
        showPage(index);
        // The page is view state: saved with the workspace, but looking at
        // another page does not make the study "modified".
        if (!busy_) {
            host_.doc().panel.page = index;
            apply(kChangeSettings, false);
        }
    });
    for (const CPanelCommand& command : PanelCommands())
        createButton(command);

    fileList_ = new CApTreeCtrl(this);
    fileList_->setObjectName(QStringLiteral("fileList"));
    connect(fileList_, &CApTreeCtrl::checkBoxPressed, this, &CControlView::onFileChecked);
    apTree_ = new CApTreeCtrl(this);
    apTree_->setObjectName(QStringLiteral("apTree"));
    connect(apTree_, &CApTreeCtrl::checkBoxPressed, this, &CControlView::onApChecked);
    connect(apTree_, &CApTreeCtrl::iconPressed, this, &CControlView::onApIcon);
    connect(apTree_, &CApTreeCtrl::iconRightPressed, this, &CControlView::onApIconRight);
    connect(apTree_, &CApTreeCtrl::labelDoubleClicked, this, &CControlView::onApLabel);

    range_ = new CRangeControl(this);
    range_->setObjectName(QStringLiteral("powerRange"));
    range_->setScale(-90, -30);
    connect(range_, &CRangeControl::released, this, [this](int thumb, int low, int high) {
        if (!busy_)
            apply(SetPowerRange(host_.doc(), thumb, low, high));
    });
    slider_ = new CCDSliderCtrlDiamond(this);
    slider_->setObjectName(QStringLiteral("opacity"));
    slider_->setRange(0, 255);
    connect(slider_, &CCDSliderCtrlDiamond::released, this, [this](int value) {
        if (!busy_)
            apply(SetCoverageOpacity(host_.doc(), value));
    });
    resolution_ = new CResolutionControl(this);
    resolution_->setObjectName(QStringLiteral("resolution"));
    resolution_->setWholeNumbers(false);
    connect(resolution_, &CResolutionControl::valueChosen, this, [this](double value) {
        if (!busy_)
            apply(SetResolution(host_.doc(), value));
    });

    connect(&host_, &CDocumentHost::documentChanged, this, &CControlView::onDocumentChanged);
    connect(&host_, &CDocumentHost::busyChanged, this, &CControlView::onBusyChanged);
    busy_ = host_.isBusy();
    if (busy_) {
        pendingChanges_ = kChangeStudy; // filled once the worker has ended
        updateEnables();
    } else {
        refreshAfterNewStudy();
    }
    placeControls();
}

CControlView::~CControlView() {
    // A running operation reports back to this panel when it ends.
    host_.waitForWorker();
}

void CControlView::createButton(const CPanelCommand& command) {
    QWidget* widget = nullptr;
    const QString picture = command.picture ? QString::fromLatin1(command.picture) : QString();
    if (command.kind == ButtonKind::Push) {
        auto* button = new CImageTextButton(this);
        button->setPictures(PanelStrip(picture), picture);
        // The wide buttons of the top strip carry a word; the others only a
        // picture (their names are in the tool tips).
        if (command.w > command.h) {
            button->setText(command.id == kIdIncreaseGrid ? QStringLiteral("Increase")
                                                          : QStringLiteral("Decrease"));
            QFont small = button->font();
            small.setPixelSize(9);
            button->setFont(small);
        }
        connect(button, &CImageTextButton::clicked, this,
                [this, id = command.id] { onCommand(id); });
        widget = button;
    } else {
        CBitCheckButton* button =
            command.kind == ButtonKind::ReportBox
                ? new CCheckImageButton(QString::fromLatin1(command.label), this)
                : new CBitCheckButton(this);
        button->setStrip(PanelStrip(
            command.kind == ButtonKind::ReportBox ? QStringLiteral("report_box") : picture));
        button->setAutoToggle(true);
        connect(button, &CBitCheckButton::pressed, this,
                [this, id = command.id] { onCommand(id); });
        widget = button;
    }
    widget->setObjectName(QStringLiteral("cmd_0x%1").arg(command.id, 0, 16));
    widget->setAccessibleName(QString::fromLatin1(command.label));
    if (command.toolTip)
        widget->setToolTip(QString::fromLatin1(command.toolTip));
    buttons_.insert(command.id, widget);
}

void CControlView::placeControls() {
    tab_->setGeometry(TabRect(width(), height()));
    const auto place = [](QWidget* widget, bool shown, const QRect& rect) {
        // Controls of the other pages are hidden and take no room.
        widget->setGeometry(shown ? rect : QRect());
        widget->setVisible(shown);
    };
    for (const CPanelCommand& command : PanelCommands())
        place(buttons_.value(command.id), command.page == kPageStrip || command.page == page_,
              CommandRect(command, apRows_));
    place(fileList_, page_ == kPageFiles, FileListRect(width()));
    const bool study = page_ == kPageDataStudy;
    place(apTree_, study, ApTreeRect(apRows_));
    place(range_, study, PowerRangeRect(apRows_));
    place(slider_, study, OpacityRect(apRows_));
    place(resolution_, study, ResolutionRect(apRows_));
}

void CControlView::showPage(int page) {
    page_ = page;
    tab_->setCurrentIndex(page);
    placeControls();
    update();
}

void CControlView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    host_.setTitle(QStringLiteral("KDR"));
}

void CControlView::resizeEvent(QResizeEvent*) {
    placeControls();
}

void CControlView::onCommand(int id) {
    if (busy_ || host_.isBusy())
        return;     // the buttons are disabled meanwhile; this is the second line of defence
    host_.settle(); // a resource lifted by a drag on the map goes back first
    CTarvoAnalyzerDoc& doc = host_.doc();
    IUiServices& ui = host_.ui();
    unsigned changed = 0;
    switch (id) {
    case kIdSelectMetric:
        changed = ToggleUnits(doc);
        refreshResolution();
        break;
    case kIdGridLines:
        changed = ToggleGridLines(doc);
        break;
    case kIdIncreaseGrid:
        changed = ChangeGridLineCount(doc, 1);
        break;
    case kIdDecreaseGrid:
        changed = ChangeGridLineCount(doc, -1);
        break;
    case kIdOpenGpf:
        openProjection();
        return;
    case kIdOpenSsd:
        changed = AddSurveyFile(doc, ui);
        break;
    case kIdDeleteFiles:
        changed = DeleteSelectedFiles(doc, ui);
        if (changed != 0 && doc.files.IsEmpty()) {
            apply(changed);
            fileList_->clear(); // no file left: not even the root stays
            return;
        }
        break;
    case kIdDataMerge:
        changed = ToggleDataMerge(doc);
        break;
    case kIdProcessFiles:
        processFiles();
        return;
    case kIdPathWidth:
        changed = CyclePathWidth(doc);
        break;
    case kIdSortAps:
    case kIdAllAps:
        changed = ToggleApGrouping(doc, id);
        break;
    case kIdDeleteAp:
        changed = DeleteSelectedAps(doc, ui);
        break;
    case kIdPlotGraph:
        plotGraph();
        return;
    case kIdGenerateReport:
        generateReport();
        return;
    default:
        if (const int type = DisplayTypeOfButton(id); type != 0)
            changed = PressAnalysisButton(doc, ui, type);
        else if (FindPanelCommand(id) && FindPanelCommand(id)->kind == ButtonKind::ReportBox)
            changed = ToggleReportOption(doc, id);
        else
            changed = ToggleLayerFlag(doc, id);
        break;
    }
    apply(changed);
}

void CControlView::openProjection() {
    switch (OpenProjectionCommand(host_.doc(), host_.ui())) {
    case ProjectionOpenOutcome::Opened:
        apply(kChangeView | kChangeSettings);
        break;
    case ProjectionOpenOutcome::ReloadCollection:
        apply(kChangeView | kChangeSettings);
        startLoading();
        break;
    default:
        break;
    }
}

void CControlView::processFiles() {
    unsigned changed = 0;
    const bool load = PrepareProcessing(host_.doc(), host_.ui(), changed);
    apply(changed);
    if (load)
        startLoading();
}

void CControlView::startLoading() {
    runner_->Load([this](LoadOutcome outcome) {
        if (outcome != LoadOutcome::Loaded)
            return;
        CTarvoAnalyzerDoc& doc = host_.doc();
        if (doc.linearPointsPresent && !doc.gpsPointsPresent) {
            doc.linearCoordinates = true;
            gpsControls_ = false;
        } else if (doc.gpsPointsPresent) {
            gpsControls_ = true;
        }
        refreshResolution();
    });
}

void CControlView::plotGraph() {
    if (CanPlotCoverage(host_.doc()))
        runner_->PlotCoverage({});
}

void CControlView::generateReport() {
    if (const auto path = ChooseReportPath(host_.doc(), host_.ui())) {
        apply(kChangePanelOnly);
        runner_->WriteReport(*path, {});
    }
    update();
}

void CControlView::onFileChecked(QTreeWidgetItem* item) {
    if (!busy_)
        apply(TickFile(host_.doc(), CApTreeCtrl::ItemData(item), !CApTreeCtrl::IsChecked(item)));
}

void CControlView::onApChecked(QTreeWidgetItem* item) {
    if (!busy_)
        apply(TickApItem(host_.doc(), host_.ui(), CApTreeCtrl::ItemData(item),
                         !CApTreeCtrl::IsChecked(item)));
}

void CControlView::onApIcon(QTreeWidgetItem* item) {
    if (!busy_)
        apply(ClickApIcon(host_.doc(), CApTreeCtrl::ItemData(item)));
}

void CControlView::onApIconRight(QTreeWidgetItem* item) {
    if (!busy_)
        apply(PickApColour(host_.doc(), host_.dialogs(), CApTreeCtrl::ItemData(item)));
}

void CControlView::onApLabel(QTreeWidgetItem* item) {
    const int data = CApTreeCtrl::ItemData(item);
    if (!busy_ && data >= 0)
        apply(EditApProperties(host_.doc(), host_.ui(), host_.dialogs(), data));
}

void CControlView::apply(unsigned changed, bool modifies) {
    if (changed == 0) {
        syncControls(); // a check button that flipped itself flips back
        return;
    }
    if (modifies)
        host_.setModified(true);
    CTarvoAnalyzerDoc& doc = host_.doc();
    if (changed & kChangeFiles)
        FillFileList(*fileList_, doc);
    if (changed & kChangeAps)
        RefreshApTree(*apTree_, doc);
    syncControls();
    if (const unsigned what = changed & kDocumentBits) {
        notifying_ = true;
        host_.notify(what);
        notifying_ = false;
    }
}

void CControlView::onDocumentChanged(unsigned what) {
    if (notifying_)
        return; // the panel is up to date with its own change
    if (busy_) {
        pendingChanges_ |= what;
        return;
    }
    if (what == kChangeStudy) {
        refreshAfterNewStudy();
        return;
    }
    CTarvoAnalyzerDoc& doc = host_.doc();
    if (what & kChangeFiles)
        FillFileList(*fileList_, doc);
    if (what & kChangeAps) {
        if (!GroupsFollowAps(doc))
            RebuildApGroups(doc);
        RefreshApTree(*apTree_, doc);
    }
    syncControls();
}

void CControlView::onBusyChanged(bool busy) {
    busy_ = busy;
    updateEnables();
    if (busy)
        return;
    host_.doc().panel.page = page_;
    if (const unsigned pending = std::exchange(pendingChanges_, 0u))
        onDocumentChanged(pending);
}

void CControlView::refreshAfterNewStudy() {
    CTarvoAnalyzerDoc& doc = host_.doc();
    RebuildApGroups(doc);
    FillFileList(*fileList_, doc);
    FillApTree(*apTree_, doc);
    if (doc.gpsPointsPresent)
        gpsControls_ = true;
    else if (doc.linearPointsPresent)
        gpsControls_ = false;
    showPage(std::clamp(doc.panel.page, 0, static_cast<int>(kPageReports)));
    refreshResolution();
    syncControls();
}

void CControlView::refreshResolution() {
    const CTarvoAnalyzerDoc& doc = host_.doc();
    const QString unit = QString::fromLatin1(LengthUnitLabel(doc.UseFeet));
    const CShownResolution shown = ShownResolution(doc);
    if (shown.usable)
        resolution_->setRange(shown.low, shown.high, shown.value, unit);
    else
        resolution_->setUnit(unit);
}

void CControlView::syncControls() {
    const CTarvoAnalyzerDoc& doc = host_.doc();
    for (const CPanelCommand& command : PanelCommands()) {
        if (command.kind == ButtonKind::Push)
            continue;
        auto* button = static_cast<CBitCheckButton*>(buttons_.value(command.id));
        button->setCheck(CommandChecked(doc, command.id) ? 1 : 0);
    }
    const QString widthPicture = PathWidthPicture(doc.pathWidth);
    auto* pathWidth = static_cast<CImageTextButton*>(buttons_.value(kIdPathWidth));
    if (pathWidth->pictureName() != widthPicture)
        pathWidth->setPictures(PanelStrip(widthPicture), widthPicture);
    range_->setValues(doc.PowerLow, doc.PowerHigh);
    slider_->setValue(doc.coverageOpacity);
    coveragePresent_ = doc.coveragePresent;
    const int rows = ApRowsForLayout(doc.aps.GetSize());
    if (rows != apRows_) {
        apRows_ = rows;
        placeControls();
    }
    updateEnables();
    update();
}

void CControlView::updateEnables() {
    // While a worker holds the document nothing that changes it can be
    // used; the tab and the trees' scrolling stay.
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it) {
        bool enabled = !busy_;
        switch (it.key()) {
        case kIdPlotCoverage:
        case kIdPlotOverlay:
        case kIdReportCoverage:
        case kIdReportOverlay:
            enabled = enabled && coveragePresent_;
            break;
        case kIdBadGps:
        case kIdCoordinates:
            enabled = enabled && gpsControls_;
            break;
        default:
            break;
        }
        it.value()->setEnabled(enabled);
    }
    for (QWidget* control : {static_cast<QWidget*>(range_), static_cast<QWidget*>(slider_),
                             static_cast<QWidget*>(resolution_)})
        control->setEnabled(!busy_);
}

} // namespace tarvo
