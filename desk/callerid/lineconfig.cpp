#include "lineconfig.h"

#include "database.h"
#include "decoder.h"
#include "serialline.h"

namespace callerid {

QString LineValues::settingsText() const {
    return QStringLiteral("%1,%2,%3,%4").arg(baud).arg(parity).arg(dataBits).arg(stopBits);
}

QString parityLetter(const QString& stored) {
    if (stored == QStringLiteral("なし")) {
        return QStringLiteral("n");
    }
    if (stored == QStringLiteral("偶数")) {
        return QStringLiteral("e");
    }
    if (stored == QStringLiteral("奇数")) {
        return QStringLiteral("o");
    }
    return {};
}

bool isInsTerminalAdapter(const QString& ta) {
    return ta == models::kInsV30 || ta == models::kInsV8;
}

namespace {

// Numbers may be stored as digits in text fields.
void number(const core::db::Recordset& rs, const char* field, int& target) {
    const QVariant v = rs.field(QString::fromUtf8(field));
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    if (!v.isNull() && ok) {
        target = n;
    }
}

void parity(const core::db::Recordset& rs, QString& target) {
    const QString letter = parityLetter(rs.field(QStringLiteral("パリティ")).toString());
    if (!letter.isEmpty()) {
        target = letter;
    }
}

} // namespace

void SetCommInfo(core::db::Database& data, LineValues& v, SerialLine& line) {
    {
        core::db::Recordset rs = data.openRecordset(QStringLiteral("SELECT * FROM 自社情報 "));
        if (rs.isOpen() && !rs.eof()) {
            v.ta = rs.field(QStringLiteral("TA")).toString();
            if (const QVariant a = rs.field(QStringLiteral("NAdapter")); !a.isNull()) {
                v.nAdapter = a.toString();
            }
            number(rs, "データビット", v.dataBits);
            number(rs, "ボーレート", v.baud);
            number(rs, "ポート番号", v.port);
            number(rs, "ストップビット", v.stopBits);
            parity(rs, v.parity);
        }
    }
    if (v.ta.isEmpty()) {
        core::db::Recordset rs = data.openRecordset(QStringLiteral(
            "select * from 通信マスタ where NAdapter= 'ナンバーディスプレイアダプタ３０'"));
        if (rs.isOpen() && !rs.eof()) {
            v.ta = rs.field(QStringLiteral("TA")).toString();
            v.nAdapter = rs.field(QStringLiteral("NAdapter")).toString();
            parity(rs, v.parity);
            number(rs, "データビット", v.dataBits);
            number(rs, "ボーレート", v.baud);
            number(rs, "ポート番号", v.port);
            number(rs, "ストップビット", v.stopBits);
        }
    }
    line.setCommPort(v.port);
    line.setSettings(v.settingsText());
}

bool openLine(SerialLine& line, const LineValues& values) {
    if (line.portOpen()) {
        return true;
    }
    if (!line.setPortOpen(true)) {
        return false;
    }
    if (!isInsTerminalAdapter(values.ta)) {
        line.setSettings(QStringLiteral("9600,E,7,1"));
    } else {
        line.output(QByteArrayLiteral("AT$12=0\r"));
    }
    return true;
}

} // namespace callerid
