#pragma once
// What the desk's area files share and nothing outside the desk needs.

#include "database.h"
#include "lookups.h"
#include "startup.h"

#include <QString>
#include <QVariant>

class QObject;
class QStyledItemDelegate;

namespace desk {

inline const QString kUnregistered = core::kUnregisteredName;

inline core::db::Database& dataDb() {
    return *core::dataDb();
}
inline core::db::Database& workDb() {
    return *core::workDb();
}

inline QString text(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

// The editor of the phone-name column of the numbers grid.
QStyledItemDelegate* newPhoneNameDelegate(QObject* parent);

} // namespace desk
