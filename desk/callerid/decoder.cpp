#include "decoder.h"

#include <QElapsedTimer>

namespace callerid {
namespace {

const QString kStx(QChar(2));
const QString kEtx(QChar(3));
const QString kBlank(QChar(' '));

// The P and C tests of the STX/ETX framings: anywhere but the first character.
QString markerOf(const QString& report) {
    if (report.indexOf(QLatin1Char('P'), 1) >= 1) {
        return kWithheld;
    }
    if (report.indexOf(QLatin1Char('C'), 1) >= 1) {
        return kPublicPhone;
    }
    return {};
}

// A repeat of the same report within this time is the adapter sending it
// again, not a new call.
constexpr qint64 kRepeatMs = 2000;

} // namespace

qint64 Decoder::monotonicMs() {
    static const QElapsedTimer start = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return start.elapsed();
}

QString CutStr(const QString& text, const QString& marker, int mode) {
    if (mode == 3) {
        QString digits;
        for (QChar c : text) {
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
                digits += c;
            }
        }
        return digits;
    }
    const qsizetype at = marker.isEmpty() ? -1 : text.indexOf(marker);
    if (at < 0) {
        return text;
    }
    if (mode == 0) {
        return text.mid(at + marker.size());
    }
    if (mode == 2) {
        return text.left(at);
    }
    return text;
}

QString Decoder::GetTelNo(const QString& model, QString& report) {
    if (model == models::kInsV8 || model == models::kInsV30) {
        return ruleA(report);
    }
    if (model == models::kNd30) {
        return ruleB(report);
    }
    if (model == models::kAlohaPc1) {
        return ruleC(report);
    }
    return {};
}

QString Decoder::ruleA(QString& report) {
    report = CutStr(report, QStringLiteral("G"), 0);
    report = CutStr(report, QStringLiteral("G"), 0);
    report = CutStr(report, kBlank, 0);
    if (report.startsWith(QLatin1Char('P'))) {
        return kWithheld;
    }
    if (report.startsWith(QLatin1Char('C'))) {
        return kPublicPhone;
    }
    report = CutStr(report, {}, 3);
    return report;
}

QString Decoder::ruleB(QString& report) {
    if (QString marker = markerOf(report); !marker.isEmpty()) {
        return marker;
    }
    report = CutStr(report, kStx, 0);
    if (report.size() <= 9) {
        return {};
    }
    report = report.mid(9);
    report = CutStr(report, kEtx, 2);
    report = CutStr(report, kBlank, 2);
    // Elapsed time, not second boundaries crossed: counting boundaries let a
    // repeat 1.3 s later through whenever it straddled two of them.
    const qint64 now = this->now();
    QString accepted;
    if (!lastMoment_) {
        accepted = report; // the first report of the run is taken as it stands
    } else if (report == lastNumber_ && now - *lastMoment_ < kRepeatMs) {
        return {}; // the same report again
    } else {
        accepted = CutStr(report, {}, 3);
    }
    lastNumber_ = accepted;
    lastMoment_ = now;
    return accepted;
}

QString Decoder::ruleC(QString& report) {
    if (QString marker = markerOf(report); !marker.isEmpty()) {
        return marker;
    }
    report = CutStr(report, kStx, 0);
    report = CutStr(report, kEtx, 2);
    report = CutStr(report, {}, 3);
    if (report.size() <= 9) {
        return {};
    }
    return report.mid(9);
}

} // namespace callerid
