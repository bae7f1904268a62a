#include "intake.h"

#include "lookups.h"
#include "serialline.h"
#include "settings.h"

#include <QCoreApplication>
#include <QPointer>

namespace callerid {

namespace {
constexpr char kAck = 6;

// Codes the line reports that carry nothing for the intake.
bool ignored(int code) {
    switch (code) {
    case 1001:
    case 1004:
    case 1005:
    case 1006:
    case 1008:
    case 1009:
    case 1010:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 100:
        return true;
    default:
        return false;
    }
}
} // namespace

LineEvents::LineEvents(SerialLine& line, const core::Settings& settings, Decoder& decoder,
                       QObject* parent)
    : QObject(parent)
    , line_(line)
    , settings_(settings)
    , decoder_(decoder) {
    connect(&line_, &SerialLine::commEventRaised, this, &LineEvents::onCommEvent);
}

bool LineEvents::acceptable(const QString& number) {
    // Compared as text, code unit by code unit, as the old system did.
    return (number.compare(QLatin1String("0")) >= 0 && number.compare(QLatin1String("9")) <= 0) ||
           number == kWithheld || number == kPublicPhone;
}

void LineEvents::onCommEvent() {
    if (!settings_.着信認識) {
        return;
    }
    // This event's own code: a later event raised during the pause must not
    // change what this one carries.
    const int code = line_.commEvent();
    // The pause lets other events run, so this can be entered again; the
    // guard notices when the owner went away meanwhile.
    QPointer<LineEvents> self(this);
    core::WaitTime(200);
    if (!self) {
        return;
    }
    const int mode = settings_.受信モード;
    const bool report =
        (code == events::kReceive && mode != 2) || (code == events::kCts && mode != 1);
    if (report) {
        emit restoreWindow();
        QString text = QString::fromLatin1(line_.input());
        if (text.isEmpty()) {
            return;
        }
        const QString number = decoder_.GetTelNo(settings_.NAdapter, text);
        if (!number.isEmpty()) {
            line_.resetDtr();
            if (!self) {
                return;
            }
            QCoreApplication::processEvents();
            if (!self) {
                return;
            }
            line_.clearOutput();
            line_.output(QByteArray(1, kAck));
            emit acknowledged(number);
        }
        if (acceptable(number)) {
            emit callArrived(number);
        }
        return;
    }
    if (ignored(code) || code == events::kReceive || code == events::kCts) {
        return;
    }
    if (showNotice) {
        showNotice(kOtherError);
    }
}

} // namespace callerid
