#include "settings.h"

#include "database.h"

namespace core {

Settings& settings() {
    static Settings s;
    return s;
}

namespace {

// Reads one field: false when the field cannot be read (missing column).
bool read(db::Recordset& rs, const char* name, QVariant* out) {
    const QString n = QString::fromUtf8(name);
    if (!rs.hasField(n)) {
        return false;
    }
    *out = rs.field(n);
    return true;
}

void text(db::Recordset& rs, const char* name, QString& target, const QString* ifNull) {
    QVariant v;
    if (!read(rs, name, &v)) {
        return;
    }
    if (v.isNull()) {
        if (ifNull) {
            target = *ifNull;
        }
        return;
    }
    target = v.toString();
}

void flag(db::Recordset& rs, const char* name, bool& target, bool ifNull) {
    QVariant v;
    if (!read(rs, name, &v)) {
        return;
    }
    if (v.isNull()) {
        target = ifNull;
        return;
    }
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            s == QLatin1String("-1")) {
            target = true;
        } else if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
                   s == QLatin1String("0")) {
            target = false;
        }
        return;
    }
    target = v.toBool();
}

// Numbers may be stored as digits in a text field: the settings screen writes
// them so. A value that is not a number, or does not fit, is a failed read.
template <typename Int> void number(db::Recordset& rs, const char* name, Int& target) {
    QVariant v;
    if (!read(rs, name, &v) || v.isNull()) {
        return;
    }
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    if (ok && n >= std::numeric_limits<Int>::min() && n <= std::numeric_limits<Int>::max()) {
        target = static_cast<Int>(n);
    }
}

} // namespace

void loadSettings(db::Database& data, Settings& s, const QString& defaultSoundPath) {
    db::Recordset rs = data.openRecordset(QStringLiteral("select * from 自社情報"));
    if (!rs.isOpen()) {
        return;
    }
    if (rs.eof()) {
        s.年号 = QStringLiteral("西暦");
        s.着信認識 = s.担当登録 = s.敬称登録 = s.用件1登録 = s.用件2登録 = s.電話名称登録 = true;
        s.履歴自動削除.clear();
        s.着信読込.clear();
        s.着信フォーム.clear();
        s.着信サウンド = true;
        s.着信サウンドパス = defaultSoundPath;
        s.NAdapter = QStringLiteral("アロハPC1");
        s.ボーレート = 9600;
        s.データビット = 7;
        s.パリティ = QStringLiteral("e");
        s.ポート番号 = 1;
        s.ストップビット = 1;
        s.受信モード = 1;
        return;
    }
    const QString empty;
    text(rs, "年号", s.年号, nullptr);
    flag(rs, "着信認識", s.着信認識, true);
    flag(rs, "敬称登録", s.敬称登録, true);
    flag(rs, "担当登録", s.担当登録, true);
    flag(rs, "用件1登録", s.用件1登録, true);
    flag(rs, "用件2登録", s.用件2登録, true);
    flag(rs, "電話名称登録", s.電話名称登録, true);
    text(rs, "履歴自動削除", s.履歴自動削除, &empty);
    text(rs, "着信読込", s.着信読込, &empty);
    flag(rs, "着信サウンド", s.着信サウンド, true);
    {
        QVariant v;
        if (read(rs, "着信サウンドパス", &v)) {
            const QString path = v.isNull() ? QString() : v.toString();
            s.着信サウンドパス =
                (path.isEmpty() || path == kDefaultSoundName) ? defaultSoundPath : path;
        }
    }
    text(rs, "着信フォーム", s.着信フォーム, &empty);
    text(rs, "TA", s.TA, nullptr);
    text(rs, "NAdapter", s.NAdapter, nullptr);
    number(rs, "ボーレート", s.ボーレート);
    number(rs, "データビット", s.データビット);
    text(rs, "パリティ", s.パリティ, nullptr);
    number(rs, "ポート番号", s.ポート番号);
    number(rs, "ストップビット", s.ストップビット);
    {
        QVariant v;
        if (read(rs, "受信モード", &v)) {
            const int mode = v.isNull() ? 1 : v.toString().trimmed().toInt();
            s.受信モード = static_cast<qint16>(mode == 3 ? 3 : mode == 2 ? 2 : 1);
        }
    }
}

} // namespace core
