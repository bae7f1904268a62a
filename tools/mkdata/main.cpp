// Makes the three shipped database files from the schema definition and the
// source tables under data/:
//
//   mkdata <source data dir> <output dir>
//
// Each file is written under a temporary name and renamed when complete, so
// an interrupted build never leaves a half-made file behind.

#include "database.h"
#include "schema.h"
#include "upgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <zlib.h>

using core::db::Database;
using core::db::Transaction;
namespace schema = core::schema;

namespace {

[[noreturn]] void die(const QString& message) {
    std::fprintf(stderr, "mkdata: %s\n", message.toUtf8().constData());
    std::exit(1);
}

// The whole of a file, unpacked when its name ends in .gz.
QByteArray readFile(const QString& path) {
    if (!path.endsWith(QStringLiteral(".gz"))) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            die(QStringLiteral("cannot read %1").arg(path));
        }
        return f.readAll();
    }
    gzFile gz = gzopen(QFile::encodeName(path).constData(), "rb");
    if (!gz) {
        die(QStringLiteral("cannot read %1").arg(path));
    }
    QByteArray all;
    char buf[1 << 16];
    int n;
    while ((n = gzread(gz, buf, sizeof buf)) > 0) {
        all.append(buf, n);
    }
    const bool broken = n < 0;
    gzclose(gz);
    if (broken) {
        die(QStringLiteral("%1 is damaged").arg(path));
    }
    return all;
}

// Rows of a tab-separated file; lines starting with '#' are comments.
QList<QStringList> readTsv(const QString& path) {
    QList<QStringList> rows;
    QTextStream in(readFile(path));
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        rows << line.split(QLatin1Char('\t'));
    }
    return rows;
}

QVariant orNull(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}

// A null QString would be stored as Null.
QString emptyNotNull(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

std::unique_ptr<Database> makeFile(const QString& path, schema::File file) {
    QFile::remove(path);
    QString error;
    auto db = Database::create(path, &error);
    if (!db) {
        die(error);
    }
    Transaction tx(*db);
    for (const schema::Table* t : schema::tablesOf(file)) {
        for (const QString& sql : schema::createStatements(*t)) {
            if (!db->executeNative(sql)) {
                die(sql + QStringLiteral(": ") + db->lastError());
            }
        }
    }
    tx.commit();
    return db;
}

void insertRows(Database& db, const QString& table, const QStringList& fields,
                const QList<QVariantList>& rows) {
    QStringList cols, marks;
    for (const QString& f : fields) {
        cols << QLatin1Char('[') + f + QLatin1Char(']');
        marks << QStringLiteral("?");
    }
    const QString sql = QStringLiteral("insert into [%1] (%2) values (%3)")
                            .arg(table, cols.join(","), marks.join(","));
    Transaction tx(db);
    for (const QVariantList& row : rows) {
        if (!db.execute(sql, row)) {
            die(table + QStringLiteral(": ") + db.lastError());
        }
    }
    if (!tx.commit()) {
        die(db.lastError());
    }
}

void finish(std::unique_ptr<Database> db, const QString& tmp, const QString& final) {
    QString detail;
    if (!db->integrityCheck(&detail)) {
        die(QStringLiteral("%1: %2").arg(tmp, detail));
    }
    db->executeNative(QStringLiteral("VACUUM"));
    db->close();
    QFile::remove(final);
    if (!QFile::rename(tmp, final)) {
        die(QStringLiteral("cannot rename %1").arg(tmp));
    }
}

void makeData(const QString& src, const QString& out) {
    const QString tmp = out + QStringLiteral("/RbCtiData2K.mdb.tmp");
    auto db = makeFile(tmp, schema::File::Data);

    QList<QVariantList> adapters;
    for (const QStringList& r : readTsv(src + QStringLiteral("/adapters.tsv"))) {
        if (r.size() < 8) {
            die(QStringLiteral("adapters.tsv: a row needs 8 fields"));
        }
        adapters << QVariantList{r[0].toInt(), r[1],         r[2],         r[3],
                                 r[4].toInt(), r[5].toInt(), r[6].toInt(), r[7].toInt()};
    }
    insertRows(*db, QStringLiteral("通信マスタ"),
               {"No", "TA", "NAdapter", "パリティ", "データビット", "ボーレート", "ポート番号",
                "ストップビット"},
               adapters);

    QList<QVariantList> prefs;
    for (const QStringList& r : readTsv(src + QStringLiteral("/postal/prefectures.tsv"))) {
        prefs << QVariantList{r.value(0).toInt(), r.value(1), r.value(2)};
    }
    if (prefs.size() != 47) {
        die(QStringLiteral("prefectures.tsv: expected 47 prefectures"));
    }
    insertRows(*db, QStringLiteral("都道府県"), {"都道府県コード", "都道府県", "かな"}, prefs);

    QList<QVariantList> codes;
    for (const QStringList& r : readTsv(src + QStringLiteral("/codes.tsv"))) {
        codes << QVariantList{r.value(0), r.value(1), orNull(r.value(2))};
    }
    insertRows(*db, QStringLiteral("コードマスタ"), {"kcode", "code", "sname"}, codes);

    // A ready settings row: the initial values of a new row, and the default
    // caller-ID adapter, so that a fresh installation takes calls at once.
    {
        core::db::Recordset row =
            db->openRecordset(QStringLiteral("自社情報"), core::db::Recordset::Kind::Dynaset);
        row.addNew();
        core::setInitialSettings(row);
        row.setField(QStringLiteral("NAdapter"), QStringLiteral("アロハPC1"));
        row.setField(QStringLiteral("着信サウンド"), true);
        row.setField(QStringLiteral("Version"), schema::kVersion);
        if (!row.update()) {
            die(row.lastError());
        }
    }
    finish(std::move(db), tmp, out + QStringLiteral("/RbCtiData2K.mdb"));
}

void makeWork(const QString& out) {
    const QString tmp = out + QStringLiteral("/RbctiWork2K.mdb.tmp");
    auto db = makeFile(tmp, schema::File::Work);
    // The upgrade catalogue: every field of every data-database table.
    QList<QVariantList> catalogue;
    for (const schema::Table* t : schema::tablesOf(schema::File::Data)) {
        for (const schema::Field& f : t->fields) {
            catalogue << QVariantList{t->name, f.name, f.type, f.size, false};
        }
    }
    insertRows(*db, QStringLiteral("テーブル更新情報"),
               {"テーブル名", "フィールド名", "型", "長さ", "存在"}, catalogue);
    finish(std::move(db), tmp, out + QStringLiteral("/RbctiWork2K.mdb"));
}

void makePostal(const QString& src, const QString& out) {
    const QString tmp = out + QStringLiteral("/yubin2000.mdb.tmp");
    auto db = makeFile(tmp, schema::File::Postal);
    QHash<QString, QStringList> cities;
    for (const QStringList& r : readTsv(src + QStringLiteral("/postal/cities.tsv"))) {
        cities.insert(r.value(0), r);
    }
    QList<QVariantList> rows;
    for (const QStringList& r : readTsv(src + QStringLiteral("/postal/towns.tsv.gz"))) {
        const QStringList c = cities.value(r.value(1));
        if (c.size() < 5 || r.value(0).size() != 7) {
            die(QStringLiteral("towns.tsv.gz: bad row %1").arg(r.join(' ')));
        }
        // A city-wide code keeps an empty town, not Null: the city list
        // skips Null towns, and the city must still be listed.
        rows << QVariantList{r[0], c[2], c[4], emptyNotNull(r.value(3)), c[1], c[3],
                             emptyNotNull(r.value(2))};
    }
    insertRows(*db, QStringLiteral("郵便番号"),
               {"番号", "県かな", "市町村かな", "町名かな", "県漢字", "市町村漢字", "町名漢字"},
               rows);
    finish(std::move(db), tmp, out + QStringLiteral("/yubin2000.mdb"));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: mkdata <source data dir> <output dir>\n");
        return 2;
    }
    const QString src = args[1], out = args[2];
    QDir().mkpath(out);
    makeData(src, out);
    makeWork(out);
    makePostal(src, out);
    return 0;
}
