// The pictures that leave the program (report pictures, `tarvo render` and
// KML pictures, snapshots and prints of the map view) keep their pixels
// whatever the screen the view is painted on. The fingerprints below were
// taken from the renders of the generated office study before the map view
// learnt to paint at device pixels; a deliberate change of the drawing
// renews them (the failure message prints the new one).
//
// The suite also runs under QT_SCALE_FACTOR=2 (see tests/CMakeLists.txt),
// where the view paints at twice the pixels and its snapshot must still be
// the one-pixel-per-pixel picture the program exported there before. The
// fingerprints hold for the fonts and Qt of the supported system (Debian 12).

#include "analysis/ApColours.h"
#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "analysis/CoverageContours.h"
#include "analysis/Reliability.h"
#include "mapview/DocumentHost.h"
#include "mapview/MapView.h"
#include "samples/SampleStudyOpen.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"
#include "view/RenderLayers.h"
#include "view/ViewBitmap.h"

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tarvo {
namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;

// SHA-1 of the picture's size and RGB bytes, first 16 hex digits.
std::string Fingerprint(const CViewBitmap& bitmap) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const std::string size = std::to_string(bitmap.width) + "x" + std::to_string(bitmap.height);
    hash.addData(QByteArrayView(size.data(), static_cast<qsizetype>(size.size())));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(bitmap.rgb.data()),
                                static_cast<qsizetype>(bitmap.rgb.size())));
    return hash.result().toHex().left(16).toStdString();
}

std::string Fingerprint(const QImage& image) {
    return Fingerprint(ToViewBitmap(image));
}

// Qt renders text without hinting once high-density scaling is on, so a
// process started with a scale factor above 1 has its own fingerprints.
struct CFingerprints {
    const char* plain;
    const char* scaled;
    std::string Here() const { return qApp->devicePixelRatio() > 1.0 ? scaled : plain; }
};

const CFingerprints kSamplesWindow{"6590977b51b80d54", "c1368d1d40419573"};
const CFingerprints kStrengthWindow{"51b54e92833daece", "b490058621550a86"};

class ExportPictures : public ::testing::Test {
protected:
    // The office study with every AP selected, its coverage, reliability
    // radii and per-AP contours computed, and every layer switched on.
    static void SetUpTestSuite() {
        study_ = new CTarvoAnalyzerDoc;
        test::CTempDir dir;
        test::CFakeUi ui;
        std::string error;
        ASSERT_TRUE(OpenSampleStudy(*study_, *GenerateSampleStudy("office", 1), dir.Path().string(),
                                    true, ui, error))
            << error;
        CTarvoAnalyzerDoc& doc = *study_;
        for (CAPInfo& ap : doc.aps)
            ap.selected = 1;
        ASSERT_EQ(ProcessCoverage(doc, ui), CoverageOutcome::Computed);
        ASSERT_GT(RunReliabilityAnalysis(doc, ui), 0);
        for (int i = 0; i < doc.aps.GetSize(); ++i)
            ComputeApContours(doc, i, ApContourColour(doc, i));
        doc.pathShown = doc.apIconsShown = doc.markedApIconsShown = true;
        doc.interferenceIconsShown = doc.scaleShown = doc.legendShown = true;
        doc.coverageDisplayType = kDisplayStrengthBands;
    }
    static void TearDownTestSuite() {
        delete study_;
        study_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(study_); }

    // The study as a window of kWindowWidth x kWindowHeight paints it.
    static QImage Window(int displayType) {
        CTarvoAnalyzerDoc doc = *study_;
        doc.coverageDisplayType = displayType;
        test::CFakeUi ui;
        ComputeViewExtent(doc, kWindowWidth, kWindowHeight);
        return RenderLayers(doc, kWindowWidth, kWindowHeight, ui);
    }

    static CTarvoAnalyzerDoc* study_;
};

CTarvoAnalyzerDoc* ExportPictures::study_ = nullptr;

TEST_F(ExportPictures, ReportAndToolPicturesKeepTheirPixels) {
    struct CCase {
        const char* name;
        int type;
        bool path, icons;
        CFingerprints fingerprints;
    };
    // The report's pictures (and the command-line KML picture's layers).
    const CCase reportCases[] = {
        {"walk path", kDisplayNone, true, false, {"caaf25c3e64312af", "d199ba1c61cae793"}},
        {"per-AP bands", kDisplayApBands, false, true, {"823942db4095c92f", "9f49574dc5e84846"}},
        {"reliability rings",
         kDisplayReliability,
         false,
         false,
         {"8f3a9494249f7312", "42afff641dda15ae"}},
        {"strength bands",
         kDisplayStrengthBands,
         false,
         false,
         {"f8fe8e33d4c31dd4", "2d409df29fea3fe7"}},
        {"AP-count bands",
         kDisplayApCountBands,
         false,
         false,
         {"e88b98724e71021c", "67202dc215e86db0"}},
    };
    for (const CCase& c : reportCases) {
        CTarvoAnalyzerDoc doc = *study_;
        test::CFakeUi ui;
        QImage picture;
        RenderOffscreen(picture, doc, c.type, c.path, c.icons, c.icons, c.icons, ui);
        EXPECT_EQ(picture.size(), QSize(kOffscreenWidth, kOffscreenHeight)) << c.name;
        EXPECT_EQ(Fingerprint(picture), c.fingerprints.Here()) << "report picture: " << c.name;
    }
    // `tarvo render` draws as the window does, legend and scale included.
    EXPECT_EQ(Fingerprint(Window(kDisplayApSamples)), kSamplesWindow.Here());
    EXPECT_EQ(Fingerprint(Window(kDisplayStrengthBands)), kStrengthWindow.Here());
}

TEST_F(ExportPictures, SnapshotOfTheViewIsTheOnePixelPerPixelPicture) {
    test::CFakeUi ui;
    CDocumentHost host;
    host.setUiServices(&ui);
    host.doc() = *study_;
    ComputeViewExtent(host.doc(), kWindowWidth, kWindowHeight);
    CTarvoAnalyzerView view(host);
    view.resize(kWindowWidth, kWindowHeight);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    ASSERT_EQ(view.ClientSize(), QSize(kWindowWidth, kWindowHeight));

    view.SyncLastViewBitmap();
    const CViewBitmap& shot = host.doc().lastViewBitmap;
    EXPECT_EQ(shot.width, kWindowWidth);
    EXPECT_EQ(shot.height, kWindowHeight);
    // The same picture as the tool renders, on any screen.
    EXPECT_EQ(Fingerprint(shot), Fingerprint(Window(kDisplayStrengthBands)));
    EXPECT_EQ(Fingerprint(shot), kStrengthWindow.Here());
}

} // namespace
} // namespace tarvo
