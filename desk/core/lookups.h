#pragma once
// Operations several screens share: the caller behind a number, the current
// customer, the address of a postal code, code lists that grow on demand,
// the length rule for typed text, ticked rows, the screen history and the
// pause that keeps events running.

#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <optional>

namespace core {
namespace db {
class Database;
class Recordset;
} // namespace db
struct Settings;

// The customer the screens are working on.
struct CurrentCustomer {
    qint32 code = 0; // 0: no customer
    QString 名称;
    QString ふりがな;
    QString 郵便番号;
    QString 住所1;
    QString 住所2;
    QString 顧客メモ;
    QString Email;
    QString 敬称;
};
CurrentCustomer& currentCustomer();

inline const QString kUnregisteredName = QStringLiteral("名称未登録");

// Finds the customer of a telephone number. Not found: code becomes Null
// and name "名称未登録". A failed query leaves both as they were.
void GetTelOwner(db::Database& data, const QString& number, QVariant& code, QString& name);

// Fills the record from 顧客マスタ by its code (key "code") or its name
// (key "名称"). Not found: code 0, the rest unchanged.
void Read顧客(db::Database& data, const QString& key, CurrentCustomer& record = currentCustomer());

// Prefecture, city and town of a postal code, joined; empty when the
// dictionary or the code is missing.
QString GetAddress(const QString& postalDbPath, const QString& postalCode);

// Puts a typed value into the first free slot of a code list when the
// matching setting allows it. True when the value was added.
bool EntryAutoCode(db::Database& data, const Settings& s, const QString& kind,
                   const QString& value);

// The length rule for typed text: measured at two bytes a character.
struct TextLenResult {
    bool ok = true;
    QString text; // the text to keep: cut when it was too long
};
int measuredTextLen(const QString& text);
TextLenResult CheckTextLen(const QString& text, int limit);

// 1 when a row of the record set has the field True, else 0.
int FindChecked(db::Recordset& rs, const QString& fieldName);

// The five-entry history of screens behind "PUSH" and "POP".
class ScreenHistory {
public:
    static constexpr int kSize = 5;
    // The program shell supplies how forms are shown.
    std::function<void(const QString& form)> showForm;
    std::function<void()> showCallDesk;

    // "PUSH": true; "POP": false when empty (the call desk is shown), else
    // true; any other operation: true; an empty form name: nothing.
    std::optional<bool> FormHistory(const QString& op, const QString& form);
    QString entry(int i) const { return entries_.at(static_cast<size_t>(i)); }
    void clear() { entries_ = {}; }

private:
    std::array<QString, kSize> entries_;
};
ScreenHistory& screenHistory();

// Pauses for ms milliseconds while window and serial events keep running.
// Measured on a monotonic clock, so midnight and clock changes do not matter.
void WaitTime(int ms);

} // namespace core
