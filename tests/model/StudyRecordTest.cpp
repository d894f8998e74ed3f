#include "model/StudyRecord.h"
#include "model/CoverageModelKind.h"
#include "model/EstimatorKind.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(StudyRecordTest, PairsAreSetReplacedAndRemovedKeepingTheOthers) {
    std::string record = WithStudyRecordValue("", "estimator", "joint");
    EXPECT_EQ(record, "estimator=joint");
    record = WithStudyRecordValue(record, "coverage", "survey");
    EXPECT_EQ(record, "estimator=joint;coverage=survey");
    record = WithStudyRecordValue(record, "estimator", "other");
    EXPECT_EQ(record, "estimator=other;coverage=survey");
    EXPECT_EQ(StudyRecordValue(record, "coverage"), "survey");
    EXPECT_EQ(StudyRecordValue(record, "cover"), "") << "a key is matched whole";
    record = WithStudyRecordValue(record, "estimator", "");
    EXPECT_EQ(record, "coverage=survey");
    EXPECT_EQ(WithStudyRecordValue(record, "coverage", ""), "");
}

TEST(StudyRecordTest, OlderAndForeignTextsReadAsTheDefaults) {
    // The record of workspaces written before other choices existed.
    EXPECT_EQ(EstimatorFromRecord("estimator=joint"), EstimatorKind::Joint);
    EXPECT_EQ(EstimatorFromRecord(""), EstimatorKind::Study);
    EXPECT_EQ(EstimatorFromRecord("kml/out.kml"), EstimatorKind::Study);
    EXPECT_EQ(EstimatorFromRecord("estimator=unknown"), EstimatorKind::Study);
    EXPECT_EQ(WithEstimatorRecord("", EstimatorKind::Study), "");
    EXPECT_EQ(WithEstimatorRecord("x;estimator=joint", EstimatorKind::Study), "x");
}

TEST(StudyRecordTest, TheCoverageModelHasItsOwnKeyBesideTheEstimator) {
    std::string record = WithEstimatorRecord("", EstimatorKind::Joint);
    record = WithCoverageModelRecord(record, CoverageModelKind::Survey);
    EXPECT_EQ(record, "estimator=joint;coverage=survey");
    EXPECT_EQ(CoverageModelFromRecord(record), CoverageModelKind::Survey);
    EXPECT_EQ(EstimatorFromRecord(record), EstimatorKind::Joint);
    EXPECT_EQ(WithCoverageModelRecord(record, CoverageModelKind::Study), "estimator=joint")
        << "the default is not written";
    EXPECT_EQ(CoverageModelFromRecord("coverage=kriging"), CoverageModelKind::Study);
    EXPECT_EQ(CoverageModelFromRecord("estimator=survey"), CoverageModelKind::Study);
    EXPECT_EQ(CoverageModelFromName("survey"), CoverageModelKind::Survey);
    EXPECT_FALSE(CoverageModelFromName("Survey"));
    EXPECT_EQ(CoverageModelNames(), "study|survey");
}

} // namespace
} // namespace tarvo
