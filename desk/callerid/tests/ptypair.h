#pragma once
// A pseudo-terminal pair standing in for a serial cable: the line under
// test opens the slave side, the test plays the adapter on the master side.

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

struct PtyPair {
    int master = -1;
    int slave = -1;
    QString slavePath;

    PtyPair() {
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        if (openpty(&master, &slave, name, &raw, nullptr) == 0) {
            slavePath = QString::fromLocal8Bit(name);
        }
    }
    ~PtyPair() {
        if (master >= 0) {
            ::close(master);
        }
        if (slave >= 0) {
            ::close(slave);
        }
    }
    bool ok() const { return master >= 0; }
    void send(const QByteArray& bytes) const {
        [[maybe_unused]] auto n = ::write(master, bytes.constData(), size_t(bytes.size()));
    }
    // What the line sent, gathered for up to ms milliseconds (or until
    // stopAt appears).
    QByteArray receive(int ms, char stopAt = 0) const {
        QByteArray got;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, int(ms - t.elapsed())) > 0 && (p.revents & POLLIN)) {
                char buf[4096];
                const auto n = ::read(master, buf, sizeof buf);
                if (n > 0) {
                    got.append(buf, n);
                    if (stopAt && got.contains(stopAt)) {
                        break;
                    }
                }
            }
        }
        return got;
    }
};
