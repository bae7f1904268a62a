#pragma once
// Turns what a caller-ID adapter sent into the caller's number, a marker
// ("999999" withheld, "888888" public telephone) or nothing. Each adapter
// model frames its report its own way; the decoder takes any bytes.

#include <QString>
#include <functional>
#include <optional>

namespace callerid {

inline const QString kWithheld = QStringLiteral("999999");
inline const QString kPublicPhone = QStringLiteral("888888");

namespace models {
inline const QString kInsV8 = QStringLiteral("ＩＮＳメイト Ｖ－８ＤＳＵ");
inline const QString kInsV30 = QStringLiteral("ＩＮＳメイト Ｖ－３０ＤＳＵ");
inline const QString kNd30 = QStringLiteral("ナンバーディスプレイアダプタ３０");
inline const QString kAlohaPc1 = QStringLiteral("アロハPC1");
} // namespace models

// mode 0: after the first marker; 2: before it (both: the whole text when
// the marker is missing); 3: the digits of the text.
QString CutStr(const QString& text, const QString& marker, int mode);

class Decoder {
public:
    // The repeat filter's clock in milliseconds: monotonic, so that a clock
    // set back or forward never lets a repeat through or holds a call back.
    // Tests set their own.
    std::function<qint64()> now = [] { return monotonicMs(); };
    static qint64 monotonicMs();

    // Decodes one read from the line. report is shortened as the rules cut
    // it, and left so for the caller.
    QString GetTelNo(const QString& model, QString& report);

    // The repeat filter's memory: the last accepted number and its moment.
    const QString& lastNumber() const { return lastNumber_; }

private:
    QString ruleA(QString& report);
    QString ruleB(QString& report);
    QString ruleC(QString& report);

    QString lastNumber_;
    std::optional<qint64> lastMoment_;
};

} // namespace callerid
