// Caller-ID latency over a pseudo-terminal: from the last byte of a report
// to the number handed on, and to the acknowledgement seen on the line.
// Prints median and worst over many reports (the 200 ms pause included).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "decoder.h"
#include "framing.h"
#include "intake.h"
#include "serialline.h"
#include "settings.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int reports = argc > 1 ? std::atoi(argv[1]) : 60;
    int master = -1, slave = -1;
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master, &slave, name, &raw, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    core::Settings settings;
    settings.着信認識 = true;
    settings.受信モード = 1;
    settings.NAdapter = callerid::models::kAlohaPc1;
    callerid::SerialLine line;
    line.setDevice(QString::fromLocal8Bit(name));
    if (!line.setPortOpen(true)) {
        std::fprintf(stderr, "%s\n", qPrintable(line.lastError()));
        return 1;
    }
    callerid::Decoder decoder;
    callerid::LineEvents events(line, settings, decoder);

    std::vector<double> toNumber, toAck;
    QElapsedTimer clock;
    qint64 handedAt = 0;
    QObject::connect(&events, &callerid::LineEvents::callArrived,
                     [&](const QString&) { handedAt = clock.nsecsElapsed(); });
    for (int i = 0; i < reports; ++i) {
        const QByteArray report =
            callerid::frameReport(callerid::models::kAlohaPc1, callerid::Caller::Number,
                                  QString("03%1").arg(10000000 + i));
        handedAt = 0;
        [[maybe_unused]] auto n = ::write(master, report.constData(), size_t(report.size()));
        clock.start();
        qint64 ackAt = 0;
        while (clock.elapsed() < 2000 && (ackAt == 0 || handedAt == 0)) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 0) > 0) {
                char buf[64];
                const auto got = ::read(master, buf, sizeof buf);
                if (got > 0 && std::find(buf, buf + got, '\x06') != buf + got) {
                    ackAt = clock.nsecsElapsed();
                }
            }
        }
        toNumber.push_back(handedAt / 1e6);
        toAck.push_back(ackAt / 1e6);
    }
    auto report = [](const char* what, std::vector<double> v) {
        std::sort(v.begin(), v.end());
        std::printf("%-34s median %7.1f ms   worst %7.1f ms   (%zu reports)\n", what,
                    v[v.size() / 2], v.back(), v.size());
    };
    report("last byte -> number handed on", toNumber);
    report("last byte -> acknowledgement", toAck);
    ::close(master);
    ::close(slave);
    return 0;
}
