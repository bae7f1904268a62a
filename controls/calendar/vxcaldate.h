#pragma once
// The calendar's date arithmetic: day serials of the two date types on the
// proleptic Gregorian calendar, and the month and year steps.

namespace vxcal {

enum DateType { TypeVB = 0, TypeNative = 1 };

struct Mdy {
    int month = 0;
    int day = 0;
    int year = 0;
};

constexpr int kMinSerial[2] = {-657434, -29219};
constexpr int kMaxSerial[2] = {2958465, 31368};

bool isLeap(int year);
// 0 for a month outside 1..12 or a negative year.
int daysInMonth(int month, int year);
// Year not negative, month 1..12, day 0..length (day 0 is valid).
bool isValid(int month, int day, int year);
// Day 0, or a day past the month's end, carries arithmetically.
int serialOf(int type, int month, int day, int year);
Mdy mdyOf(int type, int serial);
// 1 Sunday .. 7 Saturday.
int weekdayOf(int type, int serial);
// Month step: month plus n, the day cut to the new month's length.
Mdy addMonths(Mdy d, int n);
// Year step: 29 February becomes the last day of February.
Mdy addYears(Mdy d, int n);
// Two-digit years: below 30 → 2000s, otherwise 1900s (negatives included).
int widenYear(int year);

} // namespace vxcal
