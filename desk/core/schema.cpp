#include "schema.h"

#include <QRegularExpression>

namespace core::schema {
namespace {

Field T(const char* n, int size) {
    return {QString::fromUtf8(n), Text, size};
}
Field M(const char* n) {
    return {QString::fromUtf8(n), Memo, 0};
}
Field L(const char* n) {
    return {QString::fromUtf8(n), Long, 0};
}
Field I(const char* n) {
    return {QString::fromUtf8(n), Integer, 0};
}
Field B(const char* n) {
    return {QString::fromUtf8(n), Boolean, 0};
}
Field D(const char* n) {
    return {QString::fromUtf8(n), DateTime, 0};
}
QStringList idx(std::initializer_list<const char*> names) {
    QStringList l;
    for (const char* n : names) {
        l << QString::fromUtf8(n);
    }
    return l;
}

// The fields of the incoming-call list; its sort twin shares them.
std::vector<Field> incomingCallFields() {
    return {L("code"),         D("日付時間"), D("日付"),      D("時間"),
            T("電話番号", 20), T("名称", 50), T("用件1", 50), T("用件2", 50),
            M("用件メモ"),     T("担当", 20), B("済"),        B("新規")};
}

std::vector<Field> customerFields() {
    return {L("code"),       T("名称", 50), T("ふりがな", 50), T("郵便番号", 10), T("住所1", 100),
            T("住所2", 100), T("敬称", 20), T("Email", 100),   M("顧客メモ")};
}

std::vector<Table> build() {
    std::vector<Table> t;
    // Data database.
    t.push_back({File::Data,
                 "顧客マスタ",
                 customerFields(),
                 {idx({"code"}), idx({"名称"}), idx({"ふりがな", "code", "名称"})}});
    t.push_back({File::Data,
                 "電話番号",
                 {L("code"), I("no"), T("名称", 50), T("電話名称", 20), T("電話番号", 20)},
                 {idx({"電話番号"}), idx({"名称"}), idx({"code"})}});
    t.push_back({File::Data,
                 "着信履歴",
                 {D("日付"), L("code"), T("名称", 50), T("電話番号", 20), T("担当", 20),
                  T("用件1", 50), T("用件2", 50), M("用件メモ"), B("済")},
                 {idx({"日付"}), idx({"名称"}), idx({"電話番号"})}});
    t.push_back({File::Data,
                 "コードマスタ",
                 {T("kcode", 10), T("code", 2), T("sname", 50), I("Cnt")},
                 {idx({"kcode", "code"})}});
    t.push_back({File::Data,
                 "自社情報",
                 {T("年号", 10),
                  B("yubinlocalEriaSw"),
                  T("YubinLocalEria", 50),
                  B("着信認識"),
                  B("担当登録"),
                  B("敬称登録"),
                  B("用件1登録"),
                  B("用件2登録"),
                  B("電話名称登録"),
                  T("履歴自動削除", 20),
                  T("着信読込", 20),
                  T("着信フォーム", 20),
                  B("着信サウンド"),
                  T("着信サウンドパス", 255),
                  T("TA", 50),
                  T("NAdapter", 50),
                  T("パリティ", 10),
                  I("データビット"),
                  L("ボーレート"),
                  I("ポート番号"),
                  I("ストップビット"),
                  I("受信モード"),
                  T("Version", 10)},
                 {}});
    t.push_back({File::Data,
                 "通信マスタ",
                 {I("No"), T("TA", 50), T("NAdapter", 50), T("パリティ", 10), I("データビット"),
                  L("ボーレート"), I("ポート番号"), I("ストップビット")},
                 {}});
    t.push_back(
        {File::Data, "都道府県", {I("都道府県コード"), T("都道府県", 10), T("かな", 20)}, {}});

    // Work database.
    t.push_back({File::Work, "w着信表示", incomingCallFields(), {}});
    t.push_back({File::Work, "w着信表示ソート", incomingCallFields(), {}});
    t.push_back({File::Work, "w電話番号", {T("電話名称", 20), T("電話番号", 20)}, {}});
    t.push_back({File::Work, "w電話名称", {T("sname", 50)}, {}});
    t.push_back({File::Work,
                 "w着信履歴",
                 {B("チェック"), L("code"), D("日付時間"), D("日付"), T("時間", 8), T("名称", 50),
                  T("用件1", 50), T("用件2", 50), M("用件メモ"), T("担当", 20), B("済")},
                 {}});
    {
        auto f = customerFields();
        f.push_back(B("チェック"));
        t.push_back({File::Work, "w顧客マスタ", f, {}});
    }
    t.push_back({File::Work,
                 "wタックシール印刷",
                 {L("code"), T("郵便番号", 10), T("名称", 80), T("住所1", 100), T("住所2", 100)},
                 {}});
    {
        Field row = L("行番号");
        row.autoNumber = true;
        t.push_back({File::Work,
                     "wコードマスタ",
                     {row, T("code", 2), T("sname", 50), I("Cnt"), B("チェック")},
                     {}});
    }
    t.push_back({File::Work, "w顧客参照", {L("code"), T("名称", 50), T("住所1", 100)}, {}});
    t.push_back({File::Work,
                 "RbHint",
                 {T("FormName", 50), T("CtlName", 50), T("FormTitle", 100), M("Contents")},
                 {idx({"FormName", "CtlName"})}});
    t.push_back({File::Work,
                 "テーブル更新情報",
                 {T("テーブル名", 50), T("フィールド名", 50), I("型"), I("長さ"), B("存在")},
                 {idx({"テーブル名", "フィールド名"})}});
    t.push_back({File::Work, "更新テーブル名", {T("テーブル名", 50)}, {}});

    // Postal dictionary.
    t.push_back({File::Postal,
                 "郵便番号",
                 {T("番号", 7), T("県かな", 20), T("市町村かな", 60), T("町名かな", 100),
                  T("県漢字", 10), T("市町村漢字", 40), T("町名漢字", 100)},
                 {idx({"番号"}), idx({"県漢字", "市町村漢字"}), idx({"市町村かな"})}});
    t.push_back({File::Postal,
                 "市町村名",
                 {T("県漢字", 10), T("市町村かな", 60), T("市町村漢字", 40)},
                 {}});
    t.push_back({File::Postal, "町名", {T("町名漢字", 100), T("町名かな", 100)}, {}});
    return t;
}

} // namespace

const std::vector<Table>& tables() {
    static const std::vector<Table> all = build();
    return all;
}

std::vector<const Table*> tablesOf(File file) {
    std::vector<const Table*> out;
    for (const Table& t : tables()) {
        if (t.file == file) {
            out.push_back(&t);
        }
    }
    return out;
}

const Table* find(File file, const QString& name) {
    for (const Table& t : tables()) {
        if (t.file == file && t.name == name) {
            return &t;
        }
    }
    return nullptr;
}

QString columnDecl(int type, int size, bool autoNumber) {
    // Declared names are chosen so that SQLite's affinity keeps each value as
    // written (no "MEMO" that would turn a memo of digits into a number) and
    // so that typeOfDecl() can give the type code back.
    switch (type) {
    case Boolean:
        return QStringLiteral("BOOLEAN");
    case Byte:
        return QStringLiteral("BYTE");
    case Integer:
        return QStringLiteral("SMALLINT");
    case Long:
        return autoNumber ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                          : QStringLiteral("INTEGER");
    case Currency:
        return QStringLiteral("CURRENCY");
    case Single:
        return QStringLiteral("FLOAT");
    case Double:
        return QStringLiteral("DOUBLE");
    case DateTime:
        return QStringLiteral("DATETIME");
    case LongBinary:
        return QStringLiteral("LONGBINARY");
    case Memo:
        return QStringLiteral("LONGTEXT COLLATE JPFOLD");
    case Text:
    default:
        return QStringLiteral("VARCHAR(%1) COLLATE JPFOLD").arg(size > 0 ? size : 255);
    }
}

TypeAndSize typeOfDecl(const QString& decl) {
    const QString d = decl.trimmed().toUpper();
    static const QRegularExpression sized(QStringLiteral(R"(^VARCHAR\s*\(\s*(\d+)\s*\))"));
    if (auto m = sized.match(d); m.hasMatch()) {
        return {Text, m.captured(1).toInt()};
    }
    if (d.startsWith(QLatin1String("BOOLEAN")))
        return {Boolean, 0};
    if (d.startsWith(QLatin1String("BYTE")))
        return {Byte, 0};
    if (d.startsWith(QLatin1String("SMALLINT")))
        return {Integer, 0};
    if (d.startsWith(QLatin1String("INTEGER")))
        return {Long, 0};
    if (d.startsWith(QLatin1String("CURRENCY")))
        return {Currency, 0};
    if (d.startsWith(QLatin1String("FLOAT")))
        return {Single, 0};
    if (d.startsWith(QLatin1String("DOUBLE")))
        return {Double, 0};
    if (d.startsWith(QLatin1String("DATETIME")))
        return {DateTime, 0};
    if (d.startsWith(QLatin1String("LONGBINARY")))
        return {LongBinary, 0};
    if (d.startsWith(QLatin1String("LONGTEXT")))
        return {Memo, 0};
    return {Text, 0};
}

QString quoteIdent(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QStringList createStatements(const Table& table) {
    QStringList cols;
    for (const Field& f : table.fields) {
        cols << quoteIdent(f.name) + QLatin1Char(' ') + columnDecl(f.type, f.size, f.autoNumber);
    }
    QStringList out;
    out << QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdent(table.name), cols.join(", "));
    int n = 0;
    for (const QStringList& index : table.indexes) {
        QStringList q;
        for (const QString& c : index) {
            q << quoteIdent(c);
        }
        out << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                   .arg(quoteIdent(table.name + QStringLiteral("_ix%1").arg(++n)),
                        quoteIdent(table.name), q.join(", "));
    }
    return out;
}

} // namespace core::schema
