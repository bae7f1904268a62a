#pragma once
// Rpt着信履歴: the printed call history, one block per row of w着信履歴 in
// the list's order, with the list's period, staff and customer on top.

#include <QDate>
#include <QString>
#include <optional>

#include "report.h"

namespace desk {

// What the call list hands its report (written when it prints).
struct CallPrintParams {
    QString periodStart; // the period boxes' texts, empty when a box is empty
    QString periodEnd;
    std::optional<QDate> startDate; // the same dates, for re-formatting
    std::optional<QDate> endDate;
    QString staff;
    QString customer;
};
CallPrintParams& callPrintParams();

// The report's definition for the era setting 年号 and the print date.
report::Definition Rpt着信履歴(const CallPrintParams& params, const QString& nengo,
                               const QDate& today);

} // namespace desk
