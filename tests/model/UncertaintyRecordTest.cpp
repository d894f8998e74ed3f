#include "model/UncertaintyRecord.h"

#include <gtest/gtest.h>

#include <clocale>

namespace tarvo {
namespace {

CArray<CAPInfo> ApsWithRadii(std::initializer_list<double> radii) {
    CArray<CAPInfo> aps;
    for (double r : radii) {
        CAPInfo ap;
        ap.uncertaintyM = r;
        aps.Add(ap);
    }
    return aps;
}

TEST(UncertaintyRecordTest, RadiiAreWrittenPerApAndReadBack) {
    const CArray<CAPInfo> written = ApsWithRadii({1.25, 0.0, 12.5});
    const std::string record = WithUncertaintyRecord("estimator=robust", written);
    EXPECT_EQ(record, "estimator=robust;uncertainty=1.25,,12.50");
    CArray<CAPInfo> read = ApsWithRadii({0.0, 7.0, 0.0});
    EXPECT_EQ(TakeUncertaintyRecord(record, read), "estimator=robust");
    EXPECT_EQ(read[0].uncertaintyM, 1.25);
    EXPECT_EQ(read[1].uncertaintyM, 0.0);
    EXPECT_EQ(read[2].uncertaintyM, 12.5);

    // No AP with a radius: no key (and an old one goes).
    EXPECT_EQ(WithUncertaintyRecord("uncertainty=1.00;x=y", ApsWithRadii({0.0})), "x=y");
}

// A record that does not fit the APs sets no radius at all.
TEST(UncertaintyRecordTest, AMismatchedOrDamagedRecordSetsNothing) {
    for (const char* record : {"uncertainty=1.00,2.00", "uncertainty=1.00,2.00,3.00,4.00",
                               "uncertainty=1.00,x,3.00", "uncertainty=1.00,-2.00,3.00",
                               "uncertainty=1.00,inf,3.00", "uncertainty=1.00, 2.00,3.00"}) {
        CArray<CAPInfo> aps = ApsWithRadii({0.0, 0.0, 0.0});
        EXPECT_EQ(TakeUncertaintyRecord(record, aps), "") << record;
        for (const CAPInfo& ap : aps)
            EXPECT_EQ(ap.uncertaintyM, 0.0) << record;
    }
}

// The decimal point is '.' whatever the locale says.
TEST(UncertaintyRecordTest, LocaleNeverChangesTheText) {
    const char* decimalComma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const std::string record = WithUncertaintyRecord("", ApsWithRadii({0.5}));
    CArray<CAPInfo> aps = ApsWithRadii({0.0});
    TakeUncertaintyRecord(record, aps);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(record, "uncertainty=0.50") << (decimalComma ? "" : "(no German locale here)");
    EXPECT_EQ(aps[0].uncertaintyM, 0.5);
}

} // namespace
} // namespace tarvo
