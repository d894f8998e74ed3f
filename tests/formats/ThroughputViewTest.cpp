// A workspace keeps the throughput view (display type 10) in the study
// record: its display-type field holds only the first five types.

#include "formats/WorkspaceReader.h"
#include "formats/WorkspaceWriter.h"
#include "model/CoverageViews.h"
#include "model/StudyRecord.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(ThroughputView, AWorkspaceKeepsTheViewInTheStudyRecord) {
    test::CFakeUi ui;
    CTarvoAnalyzerDoc doc;
    doc.coverageDisplayType = kDisplayThroughput;
    doc.throughput.resize(3);
    doc.spareText2 = "estimator=joint";
    EXPECT_EQ(StoredDisplayType(doc), kDisplayNone);
    EXPECT_EQ(StudyRecordToSave(doc), "estimator=joint;view=throughput");
    const auto bytes = WriteWorkspace(doc);
    ASSERT_TRUE(bytes);
    CTarvoAnalyzerDoc read;
    ASSERT_EQ(ReadWorkspace(read, *bytes, ui), WorkspaceReadStatus::Ok);
    EXPECT_EQ(read.coverageDisplayType, kDisplayThroughput);
    EXPECT_EQ(StudyRecordValue(read.spareText2, "estimator"), "joint");
    EXPECT_TRUE(read.throughput.empty()) << "measurements live in the side files";

    // Another view shown: the record loses the throughput view, keeps the rest.
    read.coverageDisplayType = kDisplayApSamples;
    EXPECT_EQ(StudyRecordToSave(read), "estimator=joint");
    EXPECT_EQ(StoredDisplayType(read), kDisplayApSamples);
    read.spareText2 = "view=other";
    EXPECT_EQ(StudyRecordToSave(read), "view=other") << "a view it does not know stays";
}

} // namespace
} // namespace tarvo
