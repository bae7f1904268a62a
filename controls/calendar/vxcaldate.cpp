#include "vxcaldate.h"

namespace vxcal {
namespace {
constexpr int kDaysBefore[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
}

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int month, int year) {
    if (month < 1 || month > 12 || year < 0) {
        return 0;
    }
    switch (month) {
    case 2:
        return isLeap(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

bool isValid(int month, int day, int year) {
    return year >= 0 && month >= 1 && month <= 12 && day >= 0 && day <= daysInMonth(month, year);
}

int serialOf(int type, int month, int day, int year) {
    const int m = month < 1 ? 1 : month > 12 ? 12 : month;
    const int e = m <= 2 ? year - 1 : year;
    const long long s = kDaysBefore[m] + 365LL * year + e / 4 - e / 100 + e / 400 + day - 693959;
    return static_cast<int>(type == TypeNative ? s - 29220 : s);
}

Mdy mdyOf(int type, int serial) {
    const long long s = type == TypeNative ? serial + 29220LL : serial;
    // Estimate the year, then settle it against the first of January.
    int year = static_cast<int>(((s + 693959) * 400) / 146097);
    while (serialOf(TypeVB, 1, 1, year) > s) {
        --year;
    }
    while (serialOf(TypeVB, 1, 1, year + 1) <= s) {
        ++year;
    }
    int month = 12;
    while (month > 1 && serialOf(TypeVB, month, 1, year) > s) {
        --month;
    }
    return {month, static_cast<int>(s - serialOf(TypeVB, month, 1, year)) + 1, year};
}

int weekdayOf(int type, int serial) {
    const long long k = type == TypeNative ? 29226 : 53689;
    long long r = (serial + k) % 7;
    if (r < 0) {
        r += 7;
    }
    return static_cast<int>(1 + r);
}

Mdy addMonths(Mdy d, int n) {
    d.month += n;
    while (d.month > 12) {
        d.month -= 12;
        ++d.year;
    }
    while (d.month < 1) {
        d.month += 12;
        --d.year;
    }
    const int len = daysInMonth(d.month, d.year);
    if (d.day > len) {
        d.day = len;
    }
    return d;
}

Mdy addYears(Mdy d, int n) {
    d.year += n;
    if (d.month == 2 && d.day == 29 && !isLeap(d.year)) {
        d.day = 28;
    }
    return d;
}

int widenYear(int year) {
    if (year < 100) {
        return year < 30 ? 2000 + year : 1900 + year;
    }
    return year;
}

} // namespace vxcal
