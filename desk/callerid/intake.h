#pragma once
// The communication event of the line: waits briefly, reads what arrived,
// decodes it, acknowledges it, and hands an accepted number to whoever takes
// calls in. Owned by the call desk while it is loaded.

#include <QObject>
#include <QString>
#include <functional>

#include "decoder.h"

namespace core {
struct Settings;
}

namespace callerid {

class SerialLine;

class LineEvents : public QObject {
    Q_OBJECT
public:
    LineEvents(SerialLine& line, const core::Settings& settings, Decoder& decoder,
               QObject* parent = nullptr);

    // Shows "Oter Error " for an event code it does not know; the desk puts
    // a message box here, the tools print it.
    std::function<void(const QString& text)> showNotice;

    // The acceptance test of a decoded number: "0" <= number <= "9" as text,
    // or one of the two markers.
    static bool acceptable(const QString& number);

    // Runs the handling of one communication event (connected to the line).
    void onCommEvent();

signals:
    // The desk window is to be restored (a report is being read).
    void restoreWindow();
    // A decoded number was acknowledged on the line.
    void acknowledged(const QString& number);
    // A number to take in (Proc着信).
    void callArrived(const QString& number);

private:
    SerialLine& line_;
    const core::Settings& settings_;
    Decoder& decoder_;
};

inline const QString kOtherError = QStringLiteral("Oter Error ");

} // namespace callerid
