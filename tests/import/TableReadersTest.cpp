#include "ImportTestData.h"
#include "import/ImportFormat.h"
#include "import/MeasurementCsv.h"
#include "import/SurveyTableText.h"
#include "import/WigleCsv.h"
#include "model/Text.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::ImportFixtureText;

std::vector<std::string> Reasons(const CImportRead& read) {
    std::vector<std::string> texts;
    for (const CImportProblem& p : read.refused)
        texts.push_back(p.Text());
    return texts;
}

TEST(MeasurementCsv, ReadsRowsWithAliasesQuotesAndComments) {
    const CImportRead read = ReadMeasurementCsv("# walk of the 2nd floor\n"
                                                "X,Y,MAC,SSID,Signal,Freq,Noise,Time,Location\n"
                                                "10,20,aa:bb:cc:dd:ee:01,\"Lab, 2nd\",-61.5,"
                                                "2437,-92.4,2024-05-14 10:20:30,a\n"
                                                "\n"
                                                "10,20,,,,,,,a\n",
                                                "walk.csv");
    ASSERT_FALSE(read.fatal);
    EXPECT_TRUE(read.refused.empty());
    ASSERT_EQ(read.rows.size(), 2u);
    const CImportRow& row = read.rows[0];
    EXPECT_EQ(row.line, 3);
    EXPECT_EQ(row.frame, ImportFrame::Pixels);
    EXPECT_EQ(row.first, 10.0);
    EXPECT_EQ(row.second, 20.0);
    EXPECT_EQ(row.sample.bssid, (MacAddress{0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x01}));
    EXPECT_EQ(SsidText(row.sample.ssid), "Lab, 2nd");
    EXPECT_EQ(row.sample.rssi, -984); // -61.5 x 16
    EXPECT_EQ(row.sample.channel, 6); // 2437 MHz
    EXPECT_EQ(row.sample.level2, -92);
    EXPECT_EQ(row.time, (DateTimeBytes{5, 14, 44, 10, 20, 30}));
    EXPECT_EQ(row.locationKey, "a");
    EXPECT_TRUE(row.heard);
    EXPECT_FALSE(read.rows[1].heard); // nothing heard at line 5
    EXPECT_EQ(read.rows[1].line, 5);
}

TEST(MeasurementCsv, SemicolonsAndDecimalCommasOfASpreadsheet) {
    const CImportRead read =
        ReadMeasurementCsv(ImportFixtureText("csv/semicolon-decimal-comma.csv"), "lab.csv");
    ASSERT_FALSE(read.fatal);
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].frame, ImportFrame::SiteMetres);
    EXPECT_EQ(read.rows[0].first, 1.5);
    EXPECT_EQ(read.rows[0].second, 2.25);
    EXPECT_EQ(read.rows[0].sample.rssi, -984);
    EXPECT_EQ(read.rows[0].sample.channel, 1);
    EXPECT_EQ(read.rows[0].sample.level2, -92);
    EXPECT_EQ(SsidText(read.rows[1].sample.ssid), "Lab; 5 GHz");
    EXPECT_EQ(read.rows[1].sample.channel, 36);
    EXPECT_EQ(read.rows[1].sample.level2, kDefaultNoiseDbm); // no noise given
}

TEST(MeasurementCsv, RefusesRowsWithTheirLineAndReason) {
    const CImportRead read = ReadMeasurementCsv("x_m,y_m,bssid,rssi,channel,time\n"
                                                "1,2,aa:bb:cc:dd:ee:zz,-60,6,\n"
                                                "1,2,aa:bb:cc:dd:ee:01,-151,6,\n"
                                                "1,2,aa:bb:cc:dd:ee:01,strong,6,\n"
                                                "1,abc,aa:bb:cc:dd:ee:01,-60,6,\n"
                                                "1,2,aa:bb:cc:dd:ee:01\n"
                                                "1\n"
                                                "1,2,aa:bb:cc:dd:ee:01,-60,6.5,\n"
                                                "1,2,aa:bb:cc:dd:ee:01,-60,6,yesterday\n"
                                                "1,2,\"aa:bb:cc:dd:ee:01,-60,6,\n"
                                                "1,2,aa:bb:cc:dd:ee:01,-60,6,2024-05-14\n",
                                                "w.csv");
    EXPECT_EQ(Reasons(read), (std::vector<std::string>{
                                 "w.csv:2: bad MAC 'aa:bb:cc:dd:ee:zz'",
                                 "w.csv:3: RSSI outside -150..+20 dBm: -151",
                                 "w.csv:4: rssi is not a number: 'strong'",
                                 "w.csv:5: y_m is not a number: 'abc'",
                                 "w.csv:6: missing column rssi",
                                 "w.csv:7: missing column y_m",
                                 "w.csv:8: channel is not a number from 0 to 255: '6.5'",
                                 "w.csv:9: bad time (ISO 8601, years 1980 to 2235): 'yesterday'",
                                 "w.csv:10: a quote is not closed",
                             }));
    ASSERT_EQ(read.rows.size(), 1u);
    EXPECT_EQ(read.rows[0].line, 11);
}

TEST(MeasurementCsv, HeadersThatCannotBeRead) {
    auto fatal = [](const std::string& text) {
        const CImportRead read = ReadMeasurementCsv(text, "h.csv");
        return read.fatal ? read.fatal->Text() : std::string("(read)");
    };
    EXPECT_EQ(fatal("x_m,bssid,rssi\n"), "h.csv:1: missing column y_m (beside x_m)");
    EXPECT_EQ(fatal("x_m,y_m,rssi\n"), "h.csv:1: missing column bssid (or mac)");
    EXPECT_EQ(fatal("#c\nx_m,y_m,mac\n"), "h.csv:2: missing column rssi (or rssi_dbm, signal)");
    EXPECT_EQ(fatal("bssid,rssi\n"),
              "h.csv:1: missing column: a position needs x,y or x_m,y_m or lat,lon");
    EXPECT_EQ(fatal("x,y,lat,lon,bssid,rssi\n"),
              "h.csv:1: two kinds of position (x,y and lat,lon): keep one pair");
    EXPECT_EQ(fatal("# only a comment\n"), "h.csv: no header line: the file holds no table");
}

TEST(WigleCsv, WifiRowsOfAPhoneLog) {
    const std::string text = ImportFixtureText("wigle/phone-log.csv");
    EXPECT_EQ(DetectImportFormat(text), ImportFormat::Wigle);
    const CImportRead read = ReadWigleCsv(text, "log.csv");
    ASSERT_FALSE(read.fatal);
    EXPECT_TRUE(read.refused.empty());
    EXPECT_EQ(read.otherRadios, 2); // a BLE and a GSM row
    ASSERT_EQ(read.rows.size(), 7u);
    const CImportRow& row = read.rows[1];
    EXPECT_EQ(row.frame, ImportFrame::LatLon);
    EXPECT_EQ(row.first, 52.52);
    EXPECT_EQ(row.second, 13.405);
    EXPECT_EQ(SsidText(row.sample.ssid), "Guest, open");
    EXPECT_EQ(row.sample.rssi, -67 * 16);
    EXPECT_EQ(row.sample.channel, 6);
    EXPECT_EQ(row.locationKey, "2024-05-14 09:30:00");
    EXPECT_EQ(row.altitudeRaw, 45 * 256 + 128); // 45.5 m
    EXPECT_EQ(row.fix, 2);
    EXPECT_EQ(read.rows[3].sample.channel, 36);

    const CImportRead bad = ReadWigleCsv(
        "WigleWifi-1.6,appRelease=1\n"
        "MAC,SSID,AuthMode,FirstSeen,Channel,Frequency,RSSI,CurrentLatitude,CurrentLongitude,"
        "AltitudeMeters,AccuracyMeters,RCOIs,MfgrId,Type\n"
        "02:5e:00:00:00:01,a,[ESS],2024-05-14 09:30:00,37,5955,-50,1.0,2.0,,,,,WIFI\n"
        "02:5e:00:00:00:01,a,[ESS],2024-05-14 09:30:00,6,,-50,0,0,,,,,WIFI\n"
        "02:5e:00:00:00:01,a,[ESS],2024-05-14 09:30:00,6,,-50,95,2,,,,,WIFI\n",
        "new.csv");
    ASSERT_EQ(bad.rows.size(), 1u);
    EXPECT_EQ(bad.rows[0].sample.channel, 0); // 6 GHz by its frequency, not channel 37
    EXPECT_EQ(bad.rows[0].fix, 1);            // no altitude
    EXPECT_EQ(Reasons(bad),
              (std::vector<std::string>{"new.csv:4: no GPS position (latitude and longitude 0)",
                                        "new.csv:5: latitude or longitude off the globe: 95, 2"}));
}

TEST(SurveyTable, ReadsOurTableBack) {
    // As `tarvo table` writes a linear study in feet, tab-delimited, with a
    // location where nothing was heard.
    const std::string text =
        "#\tY(ft)\tX(ft)\tCH(MHz)\tMAC              \tSSID   \tRSSI\tTime    \tDate\t\r\n"
        "0\t26.2\t3.3\t2437\tAA-BB-CC-DD-EE-01\tOffice \t-45\t10:00:00\t44/05/14\t\r\n"
        "0\t26.2\t3.3\t-1\tAA-BB-CC-DD-EE-02\tGuest  \t-60\t10:00:00\t44/05/14\t\r\n"
        "1\t16.4\t16.4\t\t\t       \t\t04:00:18\t46/12/07\t\r\n";
    EXPECT_EQ(DetectImportFormat(text), ImportFormat::Table);
    const CImportRead read = ReadSurveyTable(text, "t.txt");
    ASSERT_FALSE(read.fatal);
    EXPECT_TRUE(read.refused.empty());
    ASSERT_EQ(read.rows.size(), 3u);
    const CImportRow& row = read.rows[0];
    EXPECT_EQ(row.frame, ImportFrame::SiteMetres);
    EXPECT_DOUBLE_EQ(row.first, 3.3 * 0.3048);
    EXPECT_DOUBLE_EQ(row.second, 26.2 * 0.3048);
    EXPECT_EQ(row.locationKey, "0");
    EXPECT_EQ(row.sample.channel, 6);
    EXPECT_EQ(row.sample.rssi, -45 * 16);
    EXPECT_EQ(SsidText(row.sample.ssid), "Office"); // the padding goes
    EXPECT_EQ(row.time, (DateTimeBytes{5, 14, 44, 10, 0, 0}));
    EXPECT_EQ(read.rows[1].sample.channel, 0); // -1: outside the plan
    EXPECT_FALSE(read.rows[2].heard);
    EXPECT_EQ(read.rows[2].time, (DateTimeBytes{12, 7, 46, 4, 0, 18}));
}

TEST(SurveyTable, GpsTablesAndTheirFixCells) {
    // Lat/Lon with speed, height and fix; a location without a good fix,
    // once with empty cells and once without them.
    const std::string text =
        "Lat,Lon,CH(MHz),MAC              ,SSID,RSSI,V(KPH),H(M),GPS,Time    ,"
        "Date,\r\n"
        "52.520000,13.405000,2412,02-5E-00-00-00-01,Campus,-52,4,45,3D,09:30:00,"
        "44/05/14,\r\n"
        "52.520090,13.405000,2412,02-5E-00-00-00-01,Campus,-58,,,,09:30:05,"
        "44/05/14,\r\n"
        "52.520180,13.405150,2412,02-5E-00-00-00-01,Campus,-63,09:30:10,"
        "44/05/14,\r\n";
    const CImportRead read = ReadSurveyTable(text, "gps.txt");
    ASSERT_FALSE(read.fatal);
    EXPECT_TRUE(read.refused.empty());
    ASSERT_EQ(read.rows.size(), 3u);
    EXPECT_EQ(read.rows[0].frame, ImportFrame::LatLon);
    EXPECT_EQ(read.rows[0].first, 52.52);
    EXPECT_EQ(read.rows[0].gpsKind, 0);
    EXPECT_EQ(read.rows[0].fix, 2);
    EXPECT_EQ(read.rows[0].speedRaw, 4 * 256);
    EXPECT_EQ(read.rows[0].altitudeRaw, 45 * 256);
    EXPECT_EQ(read.rows[1].gpsKind, 1);
    EXPECT_EQ(read.rows[2].gpsKind, 1);
    EXPECT_EQ(read.rows[2].time, (DateTimeBytes{5, 14, 44, 9, 30, 10}));
}

TEST(SurveyTable, RefusalsOfTheTableReader) {
    const CImportRead spaced = ReadSurveyTable(
        "# Y(m) X(m) CH(MHz) MAC               SSID RSSI Time     Date \r\n", "s.txt");
    ASSERT_TRUE(spaced.fatal);
    EXPECT_NE(spaced.fatal->reason.find("blanks between its cells"), std::string::npos);

    const CImportRead rows = ReadSurveyTable("Y(m),X(m),CH(MHz),MAC,SSID,RSSI,Time,Date,\r\n"
                                             "1.0,2.0,2412,02-5E-00-00-00-01,a,b,-50,10:00:00,"
                                             "44/05/14,\r\n"
                                             "1.0,2.0,2412,02-5E-00-00-00-01,ab,-50,25:00,"
                                             "44/05/14,\r\n",
                                             "c.txt");
    EXPECT_EQ(Reasons(rows),
              (std::vector<std::string>{
                  "c.txt:2: the row has 9 cells, the header 8 (a delimiter inside an SSID?)",
                  "c.txt:3: bad Time or Date: '25:00', '44/05/14'"}));
}

} // namespace
} // namespace tarvo
