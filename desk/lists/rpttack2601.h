#pragma once
// Address labels on A4 sheets of 2 × 6 labels of 86.4 × 42.3 mm: the start
// position on a half-used sheet, the label rows of wタックシール印刷 and the
// label report rptTack2601.

#include <QString>

#include "report.h"

namespace core::db {
class Database;
}

namespace desk {

inline constexpr int kLabelsPerSheet = 12;
inline const QString kLabelStock = QStringLiteral("A4 2x6 (42.3mm x 86.4mm) ");

// The first free label of the sheet, 0 (top left) to 11 (bottom right),
// counted across and then down; 0 until the picker sets it, and kept for
// the rest of the run.
int& tackStartPosition();

// "1234567" → "123-4567"; anything else unchanged.
QString labelPostalCode(const QString& stored);
// The name, one full-width space and the trimmed honorific.
QString labelName(const QString& name, const QString& honorific);

// Fills wタックシール印刷: a blank row per skipped position, then one row per
// customer of the select on w顧客マスタ, in its order. False when a write fails.
bool fillLabelRows(core::db::Database& work, const QString& customersSelect);

report::Definition RptTack2601();

} // namespace desk
