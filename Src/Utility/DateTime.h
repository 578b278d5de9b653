// Dates and times in local time, their text forms, and filter values.
//
// Every function converts with the re-entrant local-time call and mktime, so
// any thread may call them; all depend on the process's time zone. Years are
// written with four digits, the other fields with two, zero-padded.
//
// A filter value is one 8-byte cell, declared as a double, whose content is set
// by a type code that travels beside it:
//   2  int in the first 4 bytes        "%d"
//   3  64-bit int                      "%lld"
//   4  time_t                          time2str / str2time
//   5  float in the first 4 bytes      "%f"
//   7  double                          "%lf"
//   any other code: as 2.
// Parsing clears all 8 bytes first, so a 4-byte value leaves the rest zero.
#ifndef VARNEL_UTILITY_DATETIME_H
#define VARNEL_UTILITY_DATETIME_H

#include <ctime>

#include "Global.h"

namespace varnel {

// The filter value type codes listed above.
enum FilterType : int {
    kFilterInt = 2,
    kFilterInt64 = 3,
    kFilterTime = 4,
    kFilterFloat = 5,
    kFilterDouble = 7,
};

}  // namespace varnel

// Today as year * 10000 + month * 100 + day; 0 if the clock cannot be read
// as a local time.
int GetToday();
unsigned int getCurDate();

// Writes the current time as 14 digits, "%04d%02d%02d%02d%02d%02d", into
// pszTime (15 bytes); the empty string if the clock cannot be read.
void TimeValue(char* pszTime);

// Today as 8 digits, "%04d%02d%02d".
tstring getCurDateString();

// nTime as "YYYY-MM-DD hh:mm:ss"; the empty string when it has no local time.
tstring formatDateTime(time_t nTime);

// formatDateTime of the current time.
tstring getDateTime();

// Writes timeData as "YYYY/MM/DD hh:mm:ss" into strDateStr (20 bytes) and
// returns strDateStr. "NULL" when timeData has no local time or its year does
// not fit in four characters (0 to 9999, or -999 to -1), so 20 bytes always do.
char* time2str(const time_t& timeData, char* strDateStr);

// Parses a local date with an optional time: year, month and day joined by '-'
// (when the text holds a '-' anywhere) or else '/', then optionally a blank or
// '_', the hour, and ':'-separated minute and second. Fields that are not
// numbers count as 0; daylight saving time is as the zone has it on that date.
// Returns 0 for a null or empty text; -1, after a line "strDateStr[<text>]
// err" to the day's error file, when a date delimiter is missing; otherwise
// what mktime gives (-1 when it cannot convert).
time_t str2time(const char* strDateStr);

// Compares two cells by type: -1 when the first is less, 0 when equal, 1
// otherwise (a NaN on either side gives 1).
int filter_data_cmp(double* data1, double* data2, int type);

// Compares two texts: for types 2, 3, 5 and 7 both are parsed and compared as
// cells (-1, 0 or 1); for every other type, strcmp's result on the texts, a
// null text counting as empty.
int filter_data_cmp(const char* data1, const char* data2, int type);

// Writes the cell's text form into sValue, which must hold it; returns sValue.
char* filter_data2str(double* data, char* sValue, int type);

// Parses pValue into the cell and returns data. The cell is cleared first and
// stays 0 for a null or empty text, or for what cannot be read. One leading
// double quote is skipped; a closing one ends the number.
void* str2filter_data(const char* pValue, double* data, int type);

// Whether a cell equal to *nID under the type's comparison is among the first
// nSize cells of pIDList. length is not used.
bool IsExists(double* nID, double* pIDList, int nSize, int type, int length);

#endif
