#include "upgrade.h"

#include "database.h"
#include "fold.h"
#include "schema.h"

namespace core {

bool isCurrentSchema(db::Database& data) {
    const db::TableDef def = data.tableDef(QStringLiteral("自社情報"));
    bool hasVersion = false;
    for (const db::FieldDef& f : def.fields()) {
        if (fold::key(f.name) == fold::key(u"Version")) {
            hasVersion = true;
        }
    }
    if (!hasVersion) {
        return false;
    }
    db::Recordset rs = data.openRecordset(QStringLiteral("select * from 自社情報"));
    return rs.isOpen() && !rs.eof() &&
           rs.field(QStringLiteral("Version")).toString() == schema::kVersion;
}

namespace {

void addMissingFields(db::Database& data, db::Database& work) {
    work.execute(QStringLiteral("delete * from 更新テーブル名"));
    work.execute(QStringLiteral(
        "insert into 更新テーブル名 select distinct テーブル名 from テーブル更新情報 "));

    QStringList tables;
    for (db::Recordset rs = work.openRecordset(QStringLiteral("select * from 更新テーブル名"));
         !rs.eof(); rs.moveNext()) {
        tables << rs.field(QStringLiteral("テーブル名")).toString();
    }

    // All fields of one start-up are added together or not at all, so that a
    // killed process leaves the file as it was.
    db::Transaction tx(data);
    for (const QString& table : tables) {
        work.execute(QStringLiteral("update テーブル更新情報 set 存在 = False"));
        db::TableDef def = data.tableDef(table);
        if (!def.exists()) {
            continue; // the upgrade never creates a table
        }
        for (const db::FieldDef& f : def.fields()) {
            db::Recordset row = work.openRecordset(
                QStringLiteral(
                    "select * from テーブル更新情報 where テーブル名 = ? and フィールド名 = ?"),
                db::Recordset::Kind::Dynaset, {table, f.name});
            if (row.isOpen() && !row.eof()) {
                row.edit();
                row.setField(QStringLiteral("存在"), true);
                row.update();
            }
        }
        db::Recordset missing = work.openRecordset(
            QStringLiteral("select * from テーブル更新情報 where テーブル名 = ? and 存在 = False"),
            db::Recordset::Kind::Snapshot, {table});
        for (; missing.isOpen() && !missing.eof(); missing.moveNext()) {
            const int type = missing.field(QStringLiteral("型")).toInt();
            db::FieldDef field =
                def.createField(missing.field(QStringLiteral("フィールド名")).toString(), type,
                                missing.field(QStringLiteral("長さ")).toInt());
            if (type == schema::Text) {
                field.allowZeroLength = true;
            }
            def.append(field); // a field that cannot be made is skipped
        }
    }
    tx.commit();
}

} // namespace

void setInitialSettings(db::Recordset& rs) {
    for (const char* name :
         {"着信認識", "担当登録", "敬称登録", "用件1登録", "用件2登録", "電話名称登録"}) {
        rs.setField(QString::fromUtf8(name), true);
    }
    rs.setField(QStringLiteral("履歴自動削除"), QVariant());
    rs.setField(QStringLiteral("着信読込"), QVariant());
    rs.setField(QStringLiteral("着信フォーム"), QVariant());
    rs.setField(QStringLiteral("TA"), QStringLiteral("アロハPC1"));
    rs.setField(QStringLiteral("パリティ"), QStringLiteral("偶数"));
    rs.setField(QStringLiteral("データビット"), 7);
    rs.setField(QStringLiteral("ボーレート"), 9600);
    rs.setField(QStringLiteral("ポート番号"), 1);
    rs.setField(QStringLiteral("ストップビット"), 1);
    rs.setField(QStringLiteral("受信モード"), 1);
}

void createNewTable(db::Database& data, db::Database& work) {
    if (!isCurrentSchema(data)) {
        addMissingFields(data, work);
    }

    db::Recordset rs =
        data.openRecordset(QStringLiteral("select * from 自社情報"), db::Recordset::Kind::Dynaset);
    if (!rs.isOpen()) {
        return;
    }
    if (rs.eof()) {
        rs.addNew();
        setInitialSettings(rs);
    } else {
        if (rs.field(QStringLiteral("Version")).toString() == schema::kVersion) {
            return; // already stamped: spare the file a write at every start
        }
        rs.edit();
    }
    rs.setField(QStringLiteral("Version"), schema::kVersion);
    rs.update();
}

} // namespace core
