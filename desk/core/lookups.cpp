#include "lookups.h"

#include "database.h"
#include "fold.h"
#include "settings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

namespace core {

CurrentCustomer& currentCustomer() {
    static CurrentCustomer c;
    return c;
}

void GetTelOwner(db::Database& data, const QString& number, QVariant& code, QString& name) {
    db::Recordset rs =
        data.openRecordset(QStringLiteral("select * from 電話番号 where 電話番号 = ?"),
                           db::Recordset::Kind::Snapshot, {number});
    if (!rs.isOpen()) {
        return;
    }
    if (rs.eof()) {
        code = QVariant();
        name = kUnregisteredName;
        return;
    }
    code = rs.field(QStringLiteral("code"));
    name = rs.field(QStringLiteral("名称")).toString();
}

void Read顧客(db::Database& data, const QString& key, CurrentCustomer& record) {
    db::Recordset rs;
    if (key == QLatin1String("code")) {
        rs = data.openRecordset(QStringLiteral("select * from 顧客マスタ where code = ?"),
                                db::Recordset::Kind::Snapshot, {record.code});
    } else if (key == QStringLiteral("名称")) {
        rs = data.openRecordset(QStringLiteral("select * from 顧客マスタ where 名称 = ?"),
                                db::Recordset::Kind::Snapshot, {record.名称});
    } else {
        return;
    }
    if (!rs.isOpen()) {
        return;
    }
    if (rs.eof()) {
        record.code = 0;
        return;
    }
    auto text = [&](const char* f) { return rs.field(QString::fromUtf8(f)).toString(); };
    record.code = rs.field(QStringLiteral("code")).toInt();
    record.名称 = text("名称");
    record.住所1 = text("住所1");
    record.ふりがな = text("ふりがな");
    record.郵便番号 = text("郵便番号");
    record.住所2 = text("住所2");
    record.敬称 = text("敬称");
    record.顧客メモ = text("顧客メモ");
    record.Email = text("Email");
}

QString GetAddress(const QString& postalDbPath, const QString& postalCode) {
    if (!QFileInfo::exists(postalDbPath)) {
        return {};
    }
    QString error;
    auto postal = db::Database::open(postalDbPath, &error);
    if (!postal) {
        return {};
    }
    db::Recordset rs =
        postal->openRecordset(QStringLiteral("select * from 郵便番号 where  番号 = ?"),
                              db::Recordset::Kind::Snapshot, {postalCode});
    if (!rs.isOpen() || rs.eof()) {
        return {};
    }
    return rs.field(QStringLiteral("県漢字")).toString() +
           rs.field(QStringLiteral("市町村漢字")).toString() +
           rs.field(QStringLiteral("町名漢字")).toString();
}

bool EntryAutoCode(db::Database& data, const Settings& s, const QString& kind,
                   const QString& value) {
    // Kinds are matched as the database matches them: "用件１" is "用件1".
    const QString k = fold::key(kind);
    const bool* allowed = nullptr;
    if (k == fold::key(u"担当")) {
        allowed = &s.担当登録;
    } else if (k == fold::key(u"電話名称")) {
        allowed = &s.電話名称登録;
    } else if (k == fold::key(u"敬称")) {
        allowed = &s.敬称登録;
    } else if (k == fold::key(u"用件1")) {
        allowed = &s.用件1登録;
    } else if (k == fold::key(u"用件2")) {
        allowed = &s.用件2登録;
    }
    if (allowed && !*allowed) {
        return false;
    }
    db::Recordset rs = data.openRecordset(
        QStringLiteral("select * from コードマスタ where kcode = ? order by code"),
        db::Recordset::Kind::Dynaset, {kind});
    if (!rs.isOpen() || rs.eof()) {
        return false;
    }
    for (; !rs.eof(); rs.moveNext()) {
        const QVariant v = rs.field(QStringLiteral("sname"));
        if (!v.isNull() && v.toString() == value) {
            return false; // already in the list
        }
    }
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if (rs.field(QStringLiteral("sname")).isNull()) {
            return rs.edit() && rs.setField(QStringLiteral("sname"), value) && rs.update();
        }
    }
    return false; // no free slot: lists never grow by rows
}

int measuredTextLen(const QString& text) {
    return 2 * static_cast<int>(text.toUcs4().size());
}

TextLenResult CheckTextLen(const QString& text, int limit) {
    if (measuredTextLen(text) <= limit) {
        return {true, text};
    }
    // Cut to what the measure allows, so that the kept text passes the next
    // check instead of being refused again and again.
    const QList<uint> ucs = text.toUcs4();
    const int keep = std::max(0, limit / 2);
    return {false, QString::fromUcs4(reinterpret_cast<const char32_t*>(ucs.constData()), keep)};
}

int FindChecked(db::Recordset& rs, const QString& fieldName) {
    return rs.findFirst(fieldName + QStringLiteral(" = True ")) ? 1 : 0;
}

std::optional<bool> ScreenHistory::FormHistory(const QString& op, const QString& form) {
    if (form.isEmpty()) {
        return std::nullopt;
    }
    if (op == QLatin1String("PUSH")) {
        for (int i = kSize - 1; i > 0; --i) {
            entries_[i] = entries_[i - 1];
        }
        entries_[0] = form;
        return true;
    }
    if (op == QLatin1String("POP")) {
        const QString taken = entries_[0];
        for (int i = 0; i < kSize - 1; ++i) {
            entries_[i] = entries_[i + 1];
        }
        entries_[kSize - 1].clear();
        if (taken.isEmpty()) {
            if (showCallDesk) {
                showCallDesk();
            }
            return false;
        }
        if (showForm) {
            showForm(form);
        }
        return true;
    }
    return true;
}

ScreenHistory& screenHistory() {
    static ScreenHistory h;
    return h;
}

void WaitTime(int ms) {
    QElapsedTimer timer; // monotonic
    timer.start();
    while (timer.elapsed() < ms) {
        const int left = static_cast<int>(ms - timer.elapsed());
        if (QCoreApplication::instance()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, std::max(1, left));
        }
        if (timer.elapsed() < ms) {
            QThread::msleep(static_cast<unsigned long>(std::min(left, 5)));
        }
    }
}

} // namespace core
