#include "report.h"

#include "database.h"
#include "fold.h"

#include <QDate>
#include <QDateTime>

namespace report {

Item* Band::item(const QString& name) {
    for (Item& i : items) {
        if (i.name == name) {
            return &i;
        }
    }
    return nullptr;
}

const Item* Band::item(const QString& name) const {
    return const_cast<Band*>(this)->item(name);
}

int Rows::column(const QString& field) const {
    const QString key = core::fold::key(field);
    for (int i = 0; i < fields.size(); ++i) {
        if (core::fold::key(fields[i]) == key) {
            return i;
        }
    }
    return -1;
}

QVariant Rows::value(int row, const QString& field) const {
    const int c = column(field);
    if (row < 0 || row >= values.size() || c < 0) {
        return {};
    }
    return values[row].value(c);
}

bool readRows(core::db::Database& db, const QString& recordSource, Rows* rows, QString* error) {
    *rows = {};
    core::db::Recordset rs = db.openRecordset(recordSource);
    if (!rs.isOpen()) {
        if (error) {
            *error = rs.lastError();
        }
        return false;
    }
    const QVector<core::db::Column> columns = rs.columns();
    for (const core::db::Column& c : columns) {
        rows->fields << c.name;
    }
    const int n = static_cast<int>(columns.size());
    for (; !rs.eof(); rs.moveNext()) {
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i) {
            row[i] = core::db::fromStorage(columns[i].type, rs.storedValue(i));
        }
        rows->values << std::move(row);
    }
    return true;
}

QString defaultText(const QVariant& value) {
    if (value.isNull()) {
        return {};
    }
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime t = value.toDateTime();
        return t.time() == QTime(0, 0) ? t.date().toString(QStringLiteral("yyyy/MM/dd"))
                                       : t.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
    }
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy/MM/dd"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

} // namespace report
