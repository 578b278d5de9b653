// str2time, the filter-value parser, printer and comparisons, and IsExists
// over any text. The first byte picks the type code, the rest up to a NUL is
// the text, whose lines also serve as a list of cells. The zone is UTC and the
// error file is switched off, so that millions of bad dates leave no files.
// Checked: a time that str2time gives prints and parses back to itself;
// integer cells print and parse back to themselves; a cell equals itself
// (unless it is a NaN) and two cells compare in opposite ways; IsExists agrees
// with a plain walk.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "DateTime.h"
#include "FuzzSupport.h"
#include "Log.h"

namespace {

// The longest text form: "%lf" of -DBL_MAX, 317 characters and the terminator.
const size_t kValueBuffer = 318;

bool IsFloatType(int type) { return type == 5 || type == 7; }

bool IsNan(const double& cell, int type) {
    if (type == 7) return std::isnan(cell);
    if (type != 5) return false;
    float f;
    memcpy(&f, &cell, sizeof f);
    return std::isnan(f);
}

// Whether str2time reads back what time2str wrote: years 0 to 9999 only,
// since a negative year brings its own '-' and "NULL" is no date.
bool ReadsBack(const char* sText) { return sText[0] >= '0' && sText[0] <= '9'; }

void CheckTimeRoundTrip(const std::string& sText) {
    ExactText text(sText);
    time_t nTime = str2time(text.get());
    if (sText.empty()) Check(nTime == 0, "an empty date is 0");
    if (sText.find_first_of("-/") == std::string::npos && !sText.empty()) {
        Check(nTime == -1, "a date without delimiters is -1");
    }
    if (nTime == -1) return;
    char sDate[20];
    time2str(nTime, sDate);
    if (ReadsBack(sDate)) Check(str2time(sDate) == nTime, "time2str reads back");
}

double ParseCell(const std::string& sText, int type) {
    ExactText text(sText);
    double cell;
    Check(str2filter_data(text.get(), &cell, type) == &cell, "the parser returns the cell");
    return cell;
}

void CheckCell(const std::string& sText, int type) {
    double cell = ParseCell(sText, type);
    std::unique_ptr<char[]> sValue(new char[kValueBuffer]);
    filter_data2str(&cell, sValue.get(), type);
    Check(strlen(sValue.get()) < kValueBuffer, "text form fits");
    if (!IsFloatType(type) && (type != 4 || ReadsBack(sValue.get()))) {
        double again = ParseCell(sValue.get(), type);
        Check(memcmp(&again, &cell, sizeof cell) == 0, "cell prints and parses back");
    }
    if (!IsNan(cell, type)) Check(filter_data_cmp(&cell, &cell, type) == 0, "a cell equals itself");
}

void CheckComparisons(const std::string& sA, const std::string& sB, int type) {
    ExactText a(sA);
    ExactText b(sB);
    int nAB = filter_data_cmp(a.get(), b.get(), type);
    int nBA = filter_data_cmp(b.get(), a.get(), type);
    double cellA = ParseCell(sA, type);
    double cellB = ParseCell(sB, type);
    if (IsNan(cellA, type) || IsNan(cellB, type)) return;
    Check((nAB > 0) == (nBA < 0) && (nAB == 0) == (nBA == 0), "comparisons are antisymmetric");
}

void CheckIsExists(std::vector<std::string> vsLines, int type) {
    if (vsLines.size() > 64) vsLines.resize(64);  // the walk below is quadratic
    std::unique_ptr<double[]> pCells(new double[vsLines.size()]);
    for (size_t i = 0; i < vsLines.size(); ++i) pCells[i] = ParseCell(vsLines[i], type);
    double id = pCells[0];
    for (int nSize = -1; nSize <= static_cast<int>(vsLines.size()); ++nSize) {
        bool bExpected = false;
        for (int i = 0; i < nSize; ++i) bExpected |= filter_data_cmp(&id, &pCells[i], type) == 0;
        // A list of no cells is never read.
        double* pList = nSize > 0 ? pCells.get() : nullptr;
        Check(IsExists(&id, pList, nSize, type, 0) == bExpected, "IsExists");
    }
}

std::vector<std::string> Lines(const std::string& s) {
    std::vector<std::string> vsLines;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = s.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1) {
        vsLines.push_back(s.substr(nStart, nEnd - nStart));
    }
    vsLines.push_back(s.substr(nStart));
    return vsLines;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "UTC", 1);
    tzset();
    g_bLog = false;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    InputReader input(pData, nSize);
    // Codes 0 to 7 and a few beyond, negative ones included.
    int type = static_cast<int>(input.TakeByte() % 12) - 2;
    std::string sText = UpToNul(input.TakeRest());
    std::vector<std::string> vsLines = Lines(sText);

    CheckTimeRoundTrip(sText);
    for (const std::string& sLine : vsLines) CheckCell(sLine, type);
    if (vsLines.size() >= 2) CheckComparisons(vsLines[0], vsLines[1], type);
    CheckIsExists(vsLines, type);
    return 0;
}
