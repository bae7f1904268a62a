#pragma once
// What the desk's area files share and nothing outside the desk needs.

#include "database.h"
#include "lookups.h"
#include "startup.h"

#include <QString>
#include <QVariant>

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

} // namespace desk
