#pragma once
// The settings record: the one row of 自社情報, held in memory for every
// screen. Loaded at start-up and again after the settings screen stores it.

#include <QString>

namespace core {
namespace db {
class Database;
}

struct Settings {
    QString 年号; // "西暦" selects Gregorian years; anything else era years
    bool 着信認識 = false;
    bool 担当登録 = false;
    bool 敬称登録 = false;
    bool 用件1登録 = false;
    bool 用件2登録 = false;
    bool 電話名称登録 = false;
    QString 履歴自動削除;
    QString 着信読込;
    QString 着信フォーム;
    bool 着信サウンド = false;
    QString 着信サウンドパス;
    QString TA;
    QString NAdapter;
    QString パリティ; // as stored ("偶数"), or the letter "e" when no row exists
    qint16 データビット = 0;
    qint32 ボーレート = 0;
    qint16 ポート番号 = 0;
    qint16 ストップビット = 0;
    qint16 受信モード = 0;
};

// The in-memory settings of this run.
Settings& settings();

// Reads the settings row into s, field by field, with the Null rules; a
// field that cannot be read leaves its value as it was.
void loadSettings(db::Database& data, Settings& s, const QString& defaultSoundPath);

// The name the settings screen shows for the default sound; stored, it means
// "the default sound".
inline const QString kDefaultSoundName = QStringLiteral("The Microsoft Sound.wav");

} // namespace core
