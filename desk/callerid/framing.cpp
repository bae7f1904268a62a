#include "framing.h"

#include "decoder.h"

namespace callerid {

QByteArray frameReport(const QString& model, Caller caller, const QString& number) {
    const QByteArray digits = number.toLatin1();
    if (model == models::kInsV8 || model == models::kInsV30) {
        // The caller's field follows the second "G" field of the line.
        const QByteArray field = caller == Caller::Withheld      ? QByteArray("P")
                                 : caller == Caller::PublicPhone ? QByteArray("C")
                                                                 : digits;
        return "\r\nNMBR G0 G1 " + field + "\r\n";
    }
    // The STX/ETX adapters: a nine-character header, then the number.
    const QByteArray body = caller == Caller::Withheld      ? QByteArray("P")
                            : caller == Caller::PublicPhone ? QByteArray("C")
                                                            : digits;
    if (model == models::kNd30) {
        return "\x02"
               "010000001" +
               body + "\x03";
    }
    if (model == models::kAlohaPc1) {
        return "\x02"
               "100012030" +
               body + "\x03";
    }
    return {};
}

} // namespace callerid
