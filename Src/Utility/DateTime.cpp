#include "DateTime.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Log.h"
#include "Platform.h"

using varnel::kFilterDouble;
using varnel::kFilterFloat;
using varnel::kFilterInt;
using varnel::kFilterInt64;
using varnel::kFilterTime;

namespace {

static_assert(sizeof(double) == 8 && sizeof(time_t) == 8 && sizeof(long long) == 8,
              "a filter cell holds any of its types in 8 bytes");

enum class TimeForm {
    kCompact,  // 20130305090507
    kDate,     // 20130305
    kDashed,   // 2013-03-05 09:05:07
    kSlashed,  // 2013/03/05 09:05:07
};

// Formats when into sOut and returns the length of the whole text, which is
// cut short when it is nSize or longer. The year is formed in long, so that no
// tm_year overflows.
int FormatTime(const struct tm& when, TimeForm form, char* sOut, size_t nSize) {
    long nYear = 1900L + when.tm_year;
    int nMonth = when.tm_mon + 1;
    switch (form) {
        case TimeForm::kCompact:
            return snprintf(sOut, nSize, "%04ld%02d%02d%02d%02d%02d", nYear, nMonth, when.tm_mday,
                            when.tm_hour, when.tm_min, when.tm_sec);
        case TimeForm::kDate:
            return snprintf(sOut, nSize, "%04ld%02d%02d", nYear, nMonth, when.tm_mday);
        case TimeForm::kDashed:
            return snprintf(sOut, nSize, "%04ld-%02d-%02d %02d:%02d:%02d", nYear, nMonth,
                            when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
        case TimeForm::kSlashed:
            return snprintf(sOut, nSize, "%04ld/%02d/%02d %02d:%02d:%02d", nYear, nMonth,
                            when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    }
    return -1;
}

// Copies the form of nTime into sOut when it takes at most nMaxLen bytes;
// false, with sOut untouched, otherwise or when nTime has no local time.
bool WriteTime(time_t nTime, TimeForm form, char* sOut, size_t nMaxLen) {
    struct tm when = {};
    if (!LocalTime(nTime, &when)) return false;
    char sText[64];
    int nLen = FormatTime(when, form, sText, sizeof sText);
    if (nLen < 0 || static_cast<size_t>(nLen) > nMaxLen) return false;
    memcpy(sOut, sText, static_cast<size_t>(nLen) + 1);
    return true;
}

tstring TimeText(time_t nTime, TimeForm form) {
    char sText[64];
    return WriteTime(nTime, form, sText, sizeof sText - 1) ? tstring(sText) : tstring();
}

int DateNumber(const struct tm& when) {
    return (1900 + when.tm_year) * 10000 + (when.tm_mon + 1) * 100 + when.tm_mday;
}

// The integer at p as atoi reads it, minus nOffset, held inside int.
int FieldValue(const char* p, long nOffset) {
    long nValue = strtol(p, nullptr, 10);
    if (nValue > INT_MAX) nValue = INT_MAX;
    if (nValue < INT_MIN) nValue = INT_MIN;
    nValue -= nOffset;
    if (nValue > INT_MAX) return INT_MAX;
    if (nValue < INT_MIN) return INT_MIN;
    return static_cast<int>(nValue);
}

// The whole text goes into the record, however long.
void ReportBadDate(const char* strDateStr) {
    try {
        WriteError(std::string("strDateStr[") + strDateStr + "] err \n", nullptr);
    } catch (...) {
        // Out of memory for the record: the -1 result still tells the caller.
    }
}

// Hour, minute and second after a blank (or else a '_') that follows the day.
void ReadClockTime(const char* pAfterDay, struct tm* pWhen) {
    const char* pHour = strchr(pAfterDay, ' ');
    if (!pHour) pHour = strchr(pAfterDay, '_');
    if (!pHour) return;
    pWhen->tm_hour = FieldValue(pHour + 1, 0);
    const char* pMinute = strchr(pHour + 1, ':');
    if (!pMinute) return;
    pWhen->tm_min = FieldValue(pMinute + 1, 0);
    const char* pSecond = strchr(pMinute + 1, ':');
    if (pSecond) pWhen->tm_sec = FieldValue(pSecond + 1, 0);
}

template <typename T>
T LoadCell(const double* pCell) {
    T value;
    memcpy(&value, pCell, sizeof value);
    return value;
}

template <typename T>
void StoreCell(double* pCell, T value) {
    memcpy(pCell, &value, sizeof value);
}

// -1, 0 or 1; anything unordered, such as a NaN, counts as greater.
template <typename T>
int CompareValues(T a, T b) {
    if (a < b) return -1;
    if (a == b) return 0;
    return 1;
}

bool IsNumericType(int type) {
    return type == kFilterInt || type == kFilterInt64 || type == kFilterFloat ||
           type == kFilterDouble;
}

}  // namespace

int GetToday() {
    struct tm now = {};
    return LocalTime(time(nullptr), &now) ? DateNumber(now) : 0;
}

unsigned int getCurDate() { return static_cast<unsigned int>(GetToday()); }

void TimeValue(char* pszTime) {
    if (!WriteTime(time(nullptr), TimeForm::kCompact, pszTime, 14)) pszTime[0] = '\0';
}

tstring getCurDateString() { return TimeText(time(nullptr), TimeForm::kDate); }

tstring formatDateTime(time_t nTime) { return TimeText(nTime, TimeForm::kDashed); }

tstring getDateTime() { return formatDateTime(time(nullptr)); }

char* time2str(const time_t& timeData, char* strDateStr) {
    if (!WriteTime(timeData, TimeForm::kSlashed, strDateStr, 19)) strcpy(strDateStr, "NULL");
    return strDateStr;
}

time_t str2time(const char* strDateStr) {
    if (!strDateStr || !*strDateStr) return 0;
    char cDelimiter = strchr(strDateStr, '-') ? '-' : '/';
    const char* pMonth = strchr(strDateStr, cDelimiter);
    const char* pDay = pMonth ? strchr(pMonth + 1, cDelimiter) : nullptr;
    if (!pDay) {
        ReportBadDate(strDateStr);
        return -1;
    }
    struct tm when = {};
    when.tm_year = FieldValue(strDateStr, 1900);
    when.tm_mon = FieldValue(pMonth + 1, 1);
    when.tm_mday = FieldValue(pDay + 1, 0);
    ReadClockTime(pDay + 1, &when);
    // The wall-clock time as the zone has it on that date, summer or winter.
    when.tm_isdst = -1;
    return mktime(&when);
}

int filter_data_cmp(double* data1, double* data2, int type) {
    switch (type) {
        case kFilterInt64:
            return CompareValues(LoadCell<long long>(data1), LoadCell<long long>(data2));
        case kFilterTime:
            return CompareValues(LoadCell<time_t>(data1), LoadCell<time_t>(data2));
        case kFilterFloat:
            return CompareValues(LoadCell<float>(data1), LoadCell<float>(data2));
        case kFilterDouble:
            return CompareValues(LoadCell<double>(data1), LoadCell<double>(data2));
        default:
            return CompareValues(LoadCell<int>(data1), LoadCell<int>(data2));
    }
}

int filter_data_cmp(const char* data1, const char* data2, int type) {
    if (!IsNumericType(type)) return strcmp(data1 ? data1 : "", data2 ? data2 : "");
    double cell1;
    double cell2;
    str2filter_data(data1, &cell1, type);
    str2filter_data(data2, &cell2, type);
    return filter_data_cmp(&cell1, &cell2, type);
}

char* filter_data2str(double* data, char* sValue, int type) {
    switch (type) {
        case kFilterInt64:
            sprintf(sValue, "%lld", LoadCell<long long>(data));
            break;
        case kFilterTime:
            time2str(LoadCell<time_t>(data), sValue);
            break;
        case kFilterFloat:
            sprintf(sValue, "%f", LoadCell<float>(data));
            break;
        case kFilterDouble:
            sprintf(sValue, "%lf", LoadCell<double>(data));
            break;
        default:
            sprintf(sValue, "%d", LoadCell<int>(data));
            break;
    }
    return sValue;
}

void* str2filter_data(const char* pValue, double* data, int type) {
    memset(data, 0, sizeof *data);
    if (!pValue) return data;
    if (*pValue == '"') ++pValue;
    if (!*pValue) return data;
    switch (type) {
        case kFilterInt64: {
            long long nValue = 0;
            sscanf(pValue, "%lld", &nValue);
            StoreCell(data, nValue);
            break;
        }
        case kFilterTime:
            StoreCell(data, str2time(pValue));
            break;
        case kFilterFloat: {
            float fValue = 0;
            sscanf(pValue, "%f", &fValue);
            StoreCell(data, fValue);
            break;
        }
        case kFilterDouble: {
            double dValue = 0;
            sscanf(pValue, "%lf", &dValue);
            StoreCell(data, dValue);
            break;
        }
        default: {
            int nValue = 0;
            sscanf(pValue, "%d", &nValue);
            StoreCell(data, nValue);
            break;
        }
    }
    return data;
}

bool IsExists(double* nID, double* pIDList, int nSize, int type, int /*length*/) {
    for (int i = 0; i < nSize; ++i)
        if (filter_data_cmp(nID, pIDList + i, type) == 0) return true;
    return false;
}
