#include "stressdata.h"

#include "database.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QStringList>

namespace stress {
namespace {

struct Name {
    const char* kanji;
    const char* kana;
};
constexpr Name kFamily[] = {
    {"佐藤", "さとう"},   {"鈴木", "すずき"},   {"高橋", "たかはし"}, {"田中", "たなか"},
    {"伊藤", "いとう"},   {"渡辺", "わたなべ"}, {"山本", "やまもと"}, {"中村", "なかむら"},
    {"小林", "こばやし"}, {"加藤", "かとう"},   {"吉田", "よしだ"},   {"山田", "やまだ"},
    {"佐々木", "ささき"}, {"山口", "やまぐち"}, {"松本", "まつもと"}, {"井上", "いのうえ"},
    {"木村", "きむら"},   {"林", "はやし"},     {"斎藤", "さいとう"}, {"清水", "しみず"},
    {"山崎", "やまざき"}, {"森", "もり"},       {"池田", "いけだ"},   {"橋本", "はしもと"},
    {"阿部", "あべ"},     {"石川", "いしかわ"}, {"山下", "やました"}, {"中島", "なかじま"},
    {"石井", "いしい"},   {"小川", "おがわ"}};
constexpr Name kGiven[] = {{"太郎", "たろう"}, {"花子", "はなこ"}, {"一郎", "いちろう"},
                           {"美咲", "みさき"}, {"健", "けん"},     {"陽子", "ようこ"},
                           {"翔", "しょう"},   {"愛", "あい"},     {"大輔", "だいすけ"},
                           {"由美", "ゆみ"},   {"誠", "まこと"},   {"直子", "なおこ"},
                           {"拓也", "たくや"}, {"恵", "めぐみ"},   {"修", "おさむ"}};
constexpr Name kShop[] = {{"商店", "しょうてん"}, {"工務店", "こうむてん"}, {"商会", "しょうかい"},
                          {"医院", "いいん"},     {"書店", "しょてん"},     {"酒店", "さかてん"}};
constexpr const char* kTown[] = {
    "千代田区丸の内",     "新宿区西新宿",         "大阪市北区梅田",        "名古屋市中区栄",
    "札幌市中央区大通西", "福岡市博多区博多駅前", "横浜市西区みなとみらい"};
constexpr const char* kStaff[] = {"佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺"};
constexpr const char* kPurpose1[] = {"問合せ", "注文", "見積依頼", "修理依頼", "苦情", "その他"};
constexpr const char* kPurpose2[] = {"折り返し要", "対応済", "連絡待ち", "訪問予定"};
constexpr const char* kLabel[] = {"自宅", "会社", "携帯", "FAX"};

template <typename T, size_t N> const T& pick(QRandomGenerator& rng, const T (&a)[N]) {
    return a[rng.bounded(static_cast<quint32>(N))];
}
QString u(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace

bool fill(core::db::Database& data, const Size& size, const QDate& lastDay, QString* error) {
    QRandomGenerator rng(20261210);
    data.executeNative("PRAGMA cache_size = -262144"); // one big write: keep it in memory
    core::db::Transaction tx(data);
    auto fail = [&] {
        *error = data.lastError();
        return false;
    };
    for (int k = 0; k < 6; ++k) {
        if (!data.execute("update コードマスタ set sname = ? where kcode = '担当' and code = ?",
                          {u(kStaff[k]), QString::asprintf("%02d", k + 1)})) {
            return fail();
        }
    }
    QStringList names(size.customers + 1);
    QList<QStringList> numbersOf(size.customers + 1);
    for (int code = 1; code <= size.customers; ++code) {
        const Name& family = pick(rng, kFamily);
        QString name, kana;
        if (code % 3 == 0) {
            const Name& shop = pick(rng, kShop);
            name = u(family.kanji) + u(shop.kanji) + QString::number(code);
            kana = u(family.kana) + u(shop.kana);
        } else {
            const Name& given = pick(rng, kGiven);
            name = u(family.kanji) + u(given.kanji) + QString::number(code);
            kana = u(family.kana) + u(given.kana);
        }
        names[code] = name;
        if (!data.execute("insert into 顧客マスタ (code, 名称, ふりがな, 郵便番号, 住所1, 住所2, "
                          "敬称, Email, 顧客メモ) "
                          "values (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                          {code, name, kana, QString::asprintf("%07u", rng.bounded(10000000u)),
                           u(pick(rng, kTown)),
                           QString::asprintf("%u-%u-%u", rng.bounded(1, 9), rng.bounded(1, 30),
                                             rng.bounded(1, 20)),
                           code % 3 == 0 ? u("御中") : u("様"), QString("c%1@example.jp").arg(code),
                           QVariant()})) {
            return fail();
        }
        for (int n = 1; n <= size.numbersPerCustomer; ++n) {
            // Area code and number, digits only, unique per customer and slot.
            const QString number =
                QString("0%1%2").arg(n).arg(code * 7 + 10000000, 8, 10, QLatin1Char('0'));
            numbersOf[code] << number;
            if (!data.execute("insert into 電話番号 (code, no, 名称, 電話名称, 電話番号) values "
                              "(?, ?, ?, ?, ?)",
                              {code, n, name, u(kLabel[(n - 1) % 4]), number})) {
                return fail();
            }
        }
    }
    const QDateTime end(lastDay, QTime(23, 59, 59));
    const qint64 span = qint64(size.days) * 86400;
    for (int i = 0; i < size.calls; ++i) {
        // Evenly spread, one call per distinct second, jittered.
        const qint64 offset = span - 1 - (span * i) / size.calls - rng.bounded(30);
        const QDateTime when = end.addSecs(-std::max<qint64>(0, offset));
        const bool unknown = rng.bounded(10) == 0;
        const int code =
            unknown ? 0 : 1 + static_cast<int>(rng.bounded(static_cast<quint32>(size.customers)));
        const QString number =
            unknown
                ? QString("0%1").arg(rng.bounded(100000000u, 999999999u))
                : numbersOf[code][static_cast<int>(rng.bounded(quint32(size.numbersPerCustomer)))];
        if (!data.execute("insert into 着信履歴 (日付, code, 名称, 電話番号, 担当, 用件1, 用件2, "
                          "用件メモ, 済) "
                          "values (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                          {when, code, unknown ? u("名称未登録") : names[code], number,
                           u(pick(rng, kStaff)), u(pick(rng, kPurpose1)), u(pick(rng, kPurpose2)),
                           i % 4 == 0 ? QVariant(u("折り返しのお電話をお願いします")) : QVariant(),
                           rng.bounded(3) != 0})) {
            return fail();
        }
    }
    if (!tx.commit()) {
        return fail();
    }
    data.executeNative("ANALYZE");
    return true;
}

} // namespace stress
