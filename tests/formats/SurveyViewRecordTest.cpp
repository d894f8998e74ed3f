#include "formats/WorkspaceReader.h"
#include "formats/WorkspaceWriter.h"
#include "model/CoverageViews.h"
#include "model/LittleEndian.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tarvo {
namespace {

using test::CFakeUi;

std::vector<std::uint8_t> Save(const CTarvoAnalyzerDoc& doc) {
    return WriteWorkspace(doc).value_or(std::vector<std::uint8_t>{});
}

// In a study without a map, APs, points or markers the second spare text
// starts at offset 195 (its 32-bit length, then the text and a NUL); the
// display-type field follows the 111 bytes of settings after it.
constexpr std::size_t kRecordAt = 195;
std::size_t DisplayTypeAt(const std::string& record) {
    return kRecordAt + 4 + record.size() + 1 + 106;
}

std::string RecordIn(const std::vector<std::uint8_t>& b) {
    const std::uint32_t length = GetU32(&b[kRecordAt]);
    return std::string(reinterpret_cast<const char*>(&b[kRecordAt + 4]), length - 1);
}

CTarvoAnalyzerDoc Read(const std::vector<std::uint8_t>& bytes) {
    CTarvoAnalyzerDoc doc;
    CFakeUi ui;
    EXPECT_EQ(ReadWorkspace(doc, bytes, ui), WorkspaceReadStatus::Ok);
    return doc;
}

TEST(SurveyViewRecord, FirstFiveTypesSaveAsBeforeAndAViewGoesIntoTheRecord) {
    CTarvoAnalyzerDoc doc;
    doc.spareText2 = "estimator=joint";
    for (int type = kDisplayNone; type <= kDisplayApCountBands; ++type) {
        doc.coverageDisplayType = type;
        const auto b = Save(doc);
        EXPECT_EQ(RecordIn(b), "estimator=joint") << type;
        EXPECT_EQ(GetI32(&b[DisplayTypeAt("estimator=joint")]), type);
    }
    // A view that is no longer shown leaves the record.
    doc.spareText2 = "view=snr;estimator=joint";
    doc.coverageDisplayType = kDisplayApBands;
    EXPECT_EQ(RecordIn(Save(doc)), "estimator=joint");
    // A view this version does not know (a later one's) stays.
    doc.spareText2 = "view=other";
    EXPECT_EQ(RecordIn(Save(doc)), "view=other");

    const char* names[] = {"snr", "secondary", "cochannel", "strongest", "throughput"};
    for (int type = kDisplaySnrMargin; type < kDisplayTypeCount; ++type) {
        doc.spareText2 = "estimator=joint";
        doc.coverageDisplayType = type;
        doc.throughput.resize(type == kDisplayThroughput ? 3 : 0);
        const auto b = Save(doc);
        const std::string record =
            std::string("estimator=joint;view=") + names[type - kDisplaySnrMargin];
        EXPECT_EQ(RecordIn(b), record);
        EXPECT_EQ(GetI32(&b[DisplayTypeAt(record)]), kDisplayNone); // a type every reader knows
        const CTarvoAnalyzerDoc reopened = Read(b);
        EXPECT_EQ(reopened.coverageDisplayType, type);
        EXPECT_TRUE(reopened.throughput.empty()) << "measurements live in the side files";
        EXPECT_EQ(reopened.estimator, EstimatorKind::Joint);
        EXPECT_EQ(Save(reopened), b);
    }
}

TEST(SurveyViewRecord, TheFieldWinsAndUnknownViewsAreIgnored) {
    CTarvoAnalyzerDoc doc;
    doc.coverageDisplayType = kDisplayStrongestAp;
    auto b = Save(doc);
    const std::size_t field = DisplayTypeAt("view=strongest");
    PutU32(&b[field], kDisplayReliability);
    EXPECT_EQ(Read(b).coverageDisplayType, kDisplayReliability);

    // An older reader's own record text, or a name it does not know: none.
    std::vector<std::uint8_t> c = Save(CTarvoAnalyzerDoc{});
    const std::string bogus = "view=bogus";
    c.erase(c.begin() + kRecordAt, c.begin() + kRecordAt + 5);
    std::vector<std::uint8_t> text(4 + bogus.size() + 1, 0);
    PutU32(text.data(), static_cast<std::uint32_t>(bogus.size() + 1));
    std::memcpy(text.data() + 4, bogus.data(), bogus.size());
    c.insert(c.begin() + kRecordAt, text.begin(), text.end());
    EXPECT_EQ(Read(c).coverageDisplayType, kDisplayNone);
    // A display type beyond every known one is damage made harmless.
    PutU32(&c[DisplayTypeAt(bogus)], 42);
    EXPECT_EQ(Read(c).coverageDisplayType, kDisplayNone);
}

TEST(SurveyViewRecord, FrequenciesUnknownToTheOldChannelPlanAreFilledIn) {
    CTarvoAnalyzerDoc doc;
    for (auto [channel, frequency] : {std::pair{100, -1}, {165, -1}, {200, -1}, {6, 1234}}) {
        CAPInfo ap;
        ap.channel = channel;
        ap.frequency = frequency;
        doc.aps.Add(ap);
    }
    const CTarvoAnalyzerDoc reopened = Read(Save(doc));
    ASSERT_EQ(reopened.aps.GetSize(), 4);
    EXPECT_EQ(reopened.aps[0].frequency, 5500); // 5000 + 5 x 100
    EXPECT_EQ(reopened.aps[1].frequency, 5825);
    EXPECT_EQ(reopened.aps[2].frequency, -1);   // no 802.11 channel
    EXPECT_EQ(reopened.aps[3].frequency, 1234); // a stored frequency is kept
}

} // namespace
} // namespace tarvo
