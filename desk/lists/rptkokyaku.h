#pragma once
// rpt顧客一覧: the printed customer list, three lines a customer, from the
// ticked rows of w顧客マスタ in the list's order.

#include <QDate>
#include <QString>

#include "report.h"

namespace desk {

report::Definition Rpt顧客一覧(const QString& nengo, const QDate& today);

} // namespace desk
