// Sends one caller-ID report as an adapter would, and shows the desk's
// acknowledgement:
//
//   cidsim --adapter MODEL --device PATH (NUMBER | --withheld | --public)

#include "decoder.h"
#include "framing.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <cstdio>

namespace {
int fail(const QString& message, int status) {
    std::fprintf(stderr, "cidsim: %s\n", message.toLocal8Bit().constData());
    return status;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sends one caller-ID report to a serial device."));
    parser.addHelpOption();
    parser.addOption({"adapter", "Adapter model, as in the settings.", "MODEL"});
    parser.addOption({"device", "Serial device to write to.", "PATH"});
    parser.addOption({"withheld", "Report a withheld number."});
    parser.addOption({"public", "Report a call from a public telephone."});
    parser.addPositionalArgument("number", "The caller's number (digits).", "[NUMBER]");
    parser.process(app);

    const QString model = parser.value("adapter");
    const QString device = parser.value("device");
    const QStringList rest = parser.positionalArguments();
    const int choices =
        int(parser.isSet("withheld")) + int(parser.isSet("public")) + int(!rest.isEmpty());
    if (model.isEmpty() || device.isEmpty() || choices != 1) {
        return fail(
            QStringLiteral("give --adapter, --device and one of NUMBER, --withheld, --public"), 2);
    }
    const callerid::Caller caller = parser.isSet("withheld") ? callerid::Caller::Withheld
                                    : parser.isSet("public") ? callerid::Caller::PublicPhone
                                                             : callerid::Caller::Number;
    const QByteArray report = callerid::frameReport(model, caller, rest.value(0));
    if (report.isEmpty()) {
        return fail(
            QStringLiteral("unknown adapter model \"%1\"; known: %2")
                .arg(model, QStringList{callerid::models::kInsV8, callerid::models::kInsV30,
                                        callerid::models::kNd30, callerid::models::kAlohaPc1}
                                .join(", ")),
            2);
    }

    QSerialPort port(device);
    if (!port.open(QIODevice::ReadWrite)) {
        return fail(QStringLiteral("cannot open %1: %2").arg(device, port.errorString()), 2);
    }
    port.setBaudRate(9600);
    port.setParity(QSerialPort::EvenParity);
    port.setDataBits(QSerialPort::Data7);
    port.setStopBits(QSerialPort::OneStop);
    port.clearError();
    port.readAll(); // whatever the desk sent before this report
    port.write(report);
    if (!port.waitForBytesWritten(1000)) {
        return fail(QStringLiteral("cannot write to %1: %2").arg(device, port.errorString()), 2);
    }
    QElapsedTimer t;
    t.start();
    QByteArray answer;
    while (t.elapsed() < 1000) {
        if (port.waitForReadyRead(int(1000 - t.elapsed()))) {
            answer += port.readAll();
            if (answer.contains('\x06')) {
                std::printf("ACK after %lld ms\n", static_cast<long long>(t.elapsed()));
                return 0;
            }
        }
    }
    std::printf("no acknowledgement within 1 second\n");
    return 3;
}
