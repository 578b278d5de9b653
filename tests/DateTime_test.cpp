#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "Commands.h"
#include "DateTime.h"
#include "Log.h"

namespace {

// Zones given as POSIX rules, so that no time zone database is needed.
const char kChina[] = "CST-8";
const char kCentralEurope[] = "CET-1CEST,M3.5.0,M10.5.0/3";
const char kUtc[] = "UTC0";
// Zones 13 hours ahead of and 11 hours behind UTC: at any moment the local
// date differs from the UTC date in at least one of them.
struct FixedZone {
    const char* rule;
    int offsetSeconds;
};
const FixedZone kFixedZones[] = {{"XYZ-13", 13 * 3600}, {"ABC11", -11 * 3600}};

// Sets TZ for one test and puts the old value back afterwards.
class DateTimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* sOld = getenv("TZ");
        m_bHadZone = sOld != nullptr;
        if (sOld) m_sOldZone = sOld;
    }
    void TearDown() override {
        if (m_bHadZone) {
            setenv("TZ", m_sOldZone.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    static void UseZone(const char* sZone) {
        setenv("TZ", sZone, 1);
        tzset();
    }

  private:
    bool m_bHadZone = false;
    std::string m_sOldZone;
};

struct TextCase {
    const char* zone;
    time_t time;
    const char* dashed;   // formatDateTime; empty when it has no local time
    const char* slashed;  // time2str
};

TEST_F(DateTimeTest, TextFormsOfFixedTimes) {
    const TextCase cases[] = {
        {kChina, 1362445507, "2013-03-05 09:05:07", "2013/03/05 09:05:07"},
        {kUtc, 1362445507, "2013-03-05 01:05:07", "2013/03/05 01:05:07"},
        {kCentralEurope, 1362445507, "2013-03-05 02:05:07", "2013/03/05 02:05:07"},
        {kCentralEurope, 1372672800, "2013-07-01 12:00:00", "2013/07/01 12:00:00"},
        {kUtc, 0, "1970-01-01 00:00:00", "1970/01/01 00:00:00"},
        {kUtc, -1, "1969-12-31 23:59:59", "1969/12/31 23:59:59"},
        {kUtc, 951868799, "2000-02-29 23:59:59", "2000/02/29 23:59:59"},
        {kUtc, -62135596800, "0001-01-01 00:00:00", "0001/01/01 00:00:00"},
        {kUtc, 253402300799, "9999-12-31 23:59:59", "9999/12/31 23:59:59"},
        // Year 10000 no longer fits the 20 bytes of time2str.
        {kUtc, 253402300800, "10000-01-01 00:00:00", "NULL"},
        {kUtc, std::numeric_limits<time_t>::max(), "", "NULL"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.time));
        UseZone(c.zone);
        EXPECT_EQ(formatDateTime(c.time), c.dashed);
        char sText[20];
        EXPECT_EQ(time2str(c.time, sText), sText);
        EXPECT_STREQ(sText, c.slashed);
    }
}

struct ParseCase {
    const char* zone;
    const char* text;
    time_t expected;
};

TEST_F(DateTimeTest, Str2timeReadsDatesWithOptionalTimes) {
    const ParseCase cases[] = {
        {kChina, "2013-03-05 09:05:07", 1362445507},
        {kChina, "2013/3/5_9:5:7", 1362445507},
        {kChina, "2013/03/05 09:05:07", 1362445507},
        {kChina, "2013-03-05", 1362412800},
        {kChina, "2013-3-5 0", 1362412800},
        {kUtc, "2012-05-01", 1335830400},
        {kUtc, "2012/5/1 10:20:30", 1335867630},
        {kUtc, "2012-05-01_10:20", 1335867600},
        {kUtc, "2012-05-01 10", 1335830400 + 10 * 3600},
        // A blank is looked for before a '_'.
        {kUtc, "2012-05-01_3 10", 1335830400 + 10 * 3600},
        // A '-' anywhere makes it the date delimiter.
        {kUtc, "2012-05-01 10/20", 1335830400 + 10 * 3600},
        // Fields that are not numbers count as 0 and mktime carries them over:
        // day 0 of May is the last of April.
        {kUtc, "2012-05-xx", 1335830400 - 86400},
        {kUtc, "2012-05-01 ab:cd", 1335830400},
        {kUtc, "2000-02-29 23:59:59", 951868799},
        // Summer and winter wall-clock times in a zone with daylight saving.
        {kCentralEurope, "2013-07-01 12:00:00", 1372672800},
        {kCentralEurope, "2013-01-15 12:00:00", 1358247600},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + c.text);
        UseZone(c.zone);
        EXPECT_EQ(str2time(c.text), c.expected);
    }
}

TEST_F(DateTimeTest, Str2timeReadsBackWhatTime2strWrites) {
    UseZone(kCentralEurope);
    // Either side of both changes of 2013 (31 March, 27 October), midnight and
    // a leap day.
    const time_t times[] = {
        1364691600 - 1, 1364691600, 1364691600 + 3600 * 5, 1382835600 + 3600, 1382835600 - 3600 * 2,
        1356994800,     1330513200};
    for (time_t t : times) {
        SCOPED_TRACE(t);
        char sText[20];
        time2str(t, sText);
        EXPECT_EQ(str2time(sText), t) << sText;
        EXPECT_EQ(str2time(formatDateTime(t).c_str()), t);
    }
}

// Log lines of the default log directory go to a fresh directory of the test.
class DateTimeLogTest : public DateTimeTest {
  protected:
    void SetUp() override {
        DateTimeTest::SetUp();
        m_sDir = m_tempDir.path();
        ASSERT_FALSE(m_sDir.empty());
        m_sOldLogPath = g_sLogPath;
        g_sLogPath = m_sDir;
    }
    void TearDown() override {
        g_sLogPath = m_sOldLogPath;
        DateTimeTest::TearDown();
    }
    // Every line of the error files written so far, stamps cut off.
    std::string ErrorRecords() const {
        std::string sRecords;
        for (const auto& entry : std::filesystem::directory_iterator(m_sDir)) {
            if (entry.path().extension() != ".err") continue;
            std::ifstream file(entry.path(), std::ios::binary);
            std::ostringstream content;
            content << file.rdbuf();
            sRecords += content.str();
        }
        std::string sStripped;
        std::istringstream lines(sRecords);
        for (std::string sLine; std::getline(lines, sLine);) {
            size_t nTab = sLine.find("]\t");
            sStripped += (nTab == std::string::npos ? sLine : sLine.substr(nTab + 2)) + "\n";
        }
        return sStripped;
    }
    bool DirectoryEmpty() const { return std::filesystem::is_empty(m_sDir); }

  private:
    TempDir m_tempDir;
    std::string m_sDir;
    std::string m_sOldLogPath;
};

TEST_F(DateTimeLogTest, Str2timeRecordsTextsWithoutTheDateDelimiters) {
    UseZone(kUtc);
    EXPECT_EQ(str2time(""), 0);
    EXPECT_EQ(str2time(nullptr), 0);
    EXPECT_TRUE(DirectoryEmpty());

    const char* bad[] = {"20130305", "2013-03", "2013/03", "2013/03-05", "12:00"};
    std::string sExpected;
    for (const char* sText : bad) {
        SCOPED_TRACE(sText);
        EXPECT_EQ(str2time(sText), -1);
        // The record ends in " \n"; the log adds its own line feed.
        sExpected += std::string("strDateStr[") + sText + "] err \n\n";
    }
    EXPECT_EQ(ErrorRecords(), sExpected);
}

TEST_F(DateTimeLogTest, Str2timeRecordsALongTextWhole) {
    std::string sLong(5000, '7');
    sLong[4999] = 'e';
    EXPECT_EQ(str2time(sLong.c_str()), -1);
    EXPECT_EQ(ErrorRecords(), "strDateStr[" + sLong + "] err \n\n");
}

// The local time of t in a fixed zone, worked out apart from the local-time
// conversion.
std::string FixedZoneText(time_t t, const FixedZone& zone, const char* sFormat) {
    struct tm fields = {};
    time_t shifted = t + zone.offsetSeconds;
    gmtime_r(&shifted, &fields);
    char sText[64];
    strftime(sText, sizeof sText, sFormat, &fields);
    return sText;
}

TEST_F(DateTimeTest, CurrentDateAndTimeAreLocal) {
    for (const FixedZone& zone : kFixedZones) {
        SCOPED_TRACE(zone.rule);
        UseZone(zone.rule);
        // The clock may pass a second (or midnight) during the calls: the
        // result must match the moment before or the moment after.
        time_t tBefore = time(nullptr);
        int nToday = GetToday();
        unsigned int nCurDate = getCurDate();
        tstring sDate = getCurDateString();
        char sTimeValue[15];
        TimeValue(sTimeValue);
        tstring sDateTime = getDateTime();
        time_t tAfter = time(nullptr);

        auto expectMoment = [&](const std::string& sActual, const char* sFormat) {
            std::string sBefore = FixedZoneText(tBefore, zone, sFormat);
            std::string sAfter = FixedZoneText(tAfter, zone, sFormat);
            EXPECT_TRUE(sActual == sBefore || sActual == sAfter)
                << sActual << " is neither " << sBefore << " nor " << sAfter;
        };
        expectMoment(std::to_string(nToday), "%Y%m%d");
        EXPECT_EQ(nCurDate, static_cast<unsigned int>(nToday));
        expectMoment(sDate, "%Y%m%d");
        expectMoment(sTimeValue, "%Y%m%d%H%M%S");
        expectMoment(sDateTime, "%Y-%m-%d %H:%M:%S");
    }
}

struct FilterCase {
    int type;
    const char* text;
    const char* printed;  // filter_data2str of the parsed cell
};

TEST_F(DateTimeTest, FilterDataParsesAndPrintsByType) {
    UseZone(kChina);
    const FilterCase cases[] = {
        {2, "42", "42"},
        {2, "\"42\"", "42"},
        {2, "-7 apples", "-7"},
        {2, "", "0"},
        {2, "\"", "0"},
        {2, "x", "0"},
        {3, "", "0"},
        {3, "9000000000", "9000000000"},
        {3, "\"-9000000000\"", "-9000000000"},
        {4, "2013-03-05 09:05:07", "2013/03/05 09:05:07"},
        {4, "\"2013/3/5\"", "2013/03/05 00:00:00"},
        {4, "", "1970/01/01 08:00:00"},
        {5, "1.5", "1.500000"},
        {5, "\"-0.25\"", "-0.250000"},
        {7, "2.125", "2.125000"},
        {7, "1e3", "1000.000000"},
        {0, "17", "17"},
        {1, "-17", "-17"},
        {6, "12.9", "12"},
        {8, "5", "5"},
        {-1, "5", "5"},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + c.text);
        double cell;
        memset(&cell, 0xAB, sizeof cell);
        EXPECT_EQ(str2filter_data(c.text, &cell, c.type), &cell);
        char sValue[64];
        EXPECT_EQ(filter_data2str(&cell, sValue, c.type), sValue);
        EXPECT_STREQ(sValue, c.printed);
    }
}

// A cell holding value as the type code lays it out.
template <typename T>
double Cell(T value) {
    double cell = 0;
    memcpy(&cell, &value, sizeof value);
    return cell;
}

struct LayoutCase {
    int type;
    const char* text;
    double cell;  // the whole 8 bytes expected, a 4-byte value with zeros after it
};

TEST_F(DateTimeTest, FilterDataCellLayout) {
    UseZone(kChina);
    const LayoutCase cases[] = {
        {2, "\"42\"", Cell<int32_t>(42)},
        {2, "-1", Cell<int32_t>(-1)},
        {0, "", Cell<int64_t>(0)},
        {5, "1.5", Cell<float>(1.5f)},
        {7, nullptr, Cell<int64_t>(0)},
        {7, "0.1", 0.1},
        {3, "-9000000000", Cell<int64_t>(-9000000000LL)},
        {4, "2013-03-05 09:05:07", Cell<int64_t>(1362445507)},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + (c.text ? c.text : "null"));
        double cell;
        memset(&cell, 0xAB, sizeof cell);
        str2filter_data(c.text, &cell, c.type);
        EXPECT_EQ(0, memcmp(&cell, &c.cell, sizeof cell));
    }
}

struct CellCompareCase {
    const char* name;
    double first;
    double second;
    int type;
    int expected;
};

TEST_F(DateTimeTest, FilterDataCompareCells) {
    const double kNan = std::nan("");
    const CellCompareCase cases[] = {
        {"int less", Cell<int32_t>(-5), Cell<int32_t>(3), 2, -1},
        {"int equal", Cell<int32_t>(7), Cell<int32_t>(7), 2, 0},
        {"int greater", Cell<int32_t>(8), Cell<int32_t>(-8), 2, 1},
        // Only the first 4 bytes count for a 4-byte type.
        {"int upper bytes", Cell<int64_t>(0x100000007LL), Cell<int32_t>(7), 2, 0},
        {"other code as int", Cell<int32_t>(-1), Cell<int32_t>(1), 0, -1},
        {"int64 less", Cell<int64_t>(-9000000000LL), Cell<int64_t>(9000000000LL), 3, -1},
        {"int64 upper bytes", Cell<int64_t>(0x100000007LL), Cell<int64_t>(7), 3, 1},
        {"time less", Cell<int64_t>(100), Cell<int64_t>(0x100000000LL), 4, -1},
        {"time equal", Cell<int64_t>(1362445507), Cell<int64_t>(1362445507), 4, 0},
        {"float less", Cell<float>(-0.5f), Cell<float>(0.25f), 5, -1},
        {"float equal", Cell<float>(0.0f), Cell<float>(-0.0f), 5, 0},
        {"float nan", Cell<float>(std::nanf("")), Cell<float>(1.0f), 5, 1},
        {"double less", 0.1, 0.2, 7, -1},
        {"double greater", 2.5, -2.5, 7, 1},
        {"double nan second", 1.0, kNan, 7, 1},
        {"double nan first", kNan, 1.0, 7, 1},
    };
    for (const CellCompareCase& c : cases) {
        SCOPED_TRACE(c.name);
        double first = c.first;
        double second = c.second;
        EXPECT_EQ(filter_data_cmp(&first, &second, c.type), c.expected);
    }
}

TEST_F(DateTimeTest, FilterDataCompareTexts) {
    UseZone(kUtc);
    // Numeric types compare their values.
    EXPECT_EQ(filter_data_cmp("10", "9", 2), 1);
    EXPECT_EQ(filter_data_cmp("\"9\"", "9", 2), 0);
    EXPECT_EQ(filter_data_cmp("9000000000", "9000000001", 3), -1);
    EXPECT_EQ(filter_data_cmp("1.50", "1.5", 5), 0);
    EXPECT_EQ(filter_data_cmp("-1e2", "-99.5", 7), -1);
    EXPECT_EQ(filter_data_cmp(nullptr, "0", 7), 0);
    // Every other type compares the bytes.
    EXPECT_LT(filter_data_cmp("10", "9", 0), 0);
    EXPECT_GT(filter_data_cmp("9", "10", 8), 0);
    EXPECT_EQ(filter_data_cmp("abc", "abc", 1), 0);
    EXPECT_LT(filter_data_cmp(nullptr, "a", 0), 0);
    // Times too: "2013/3/5" sorts after "2013/10/1" although it is earlier.
    EXPECT_GT(filter_data_cmp("2013/3/5", "2013/10/1", 4), 0);
    EXPECT_LT(str2time("2013/3/5"), str2time("2013/10/1"));
}

TEST_F(DateTimeTest, IsExistsLooksAmongTheFirstCells) {
    double ints[] = {Cell<int32_t>(3), Cell<int32_t>(7), Cell<int32_t>(9)};
    double seven = Cell<int32_t>(7);
    double four = Cell<int32_t>(4);
    EXPECT_TRUE(IsExists(&seven, ints, 3, 2, 0));
    EXPECT_TRUE(IsExists(&seven, ints, 2, 2, 0));
    EXPECT_FALSE(IsExists(&seven, ints, 1, 2, 0));
    EXPECT_FALSE(IsExists(&four, ints, 3, 2, 0));
    EXPECT_FALSE(IsExists(&seven, ints, 0, 2, 0));
    EXPECT_FALSE(IsExists(&seven, ints, -3, 2, 0));

    double doubles[] = {0.5, 2.0, std::nan("")};
    double two = 2.0;
    double nan = std::nan("");
    EXPECT_TRUE(IsExists(&two, doubles, 3, 7, 99));
    EXPECT_FALSE(IsExists(&nan, doubles, 3, 7, 99));
}

}  // namespace
