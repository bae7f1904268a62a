#pragma once
// The three values by which the lists send the call desk to a customer and
// a call; the desk applies and clears them when it next becomes active.

#include <QDateTime>
#include <QString>

namespace core {

struct HandOver {
    qint32 HandOverCode = 0;    // 0: none
    QString HandOverName;       // empty: none
    QDateTime HandOverCallTime; // invalid: none
};

inline HandOver& handOver() {
    static HandOver h;
    return h;
}

} // namespace core
