// The call desk on the stress data set: opening it (first load, a week's
// list), a call from the line until the customer is shown and the log row
// written, and registering a customer with ten numbers.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "decoder.h"
#include "framing.h"
#include "frmcti.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "stressfiles.h"
#include "worktablemodel.h"

namespace {
QString numberOf(int code, int slot) {
    return QString("0%1%2").arg(slot).arg(code * 7 + 10000000, 8, 10, QLatin1Char('0'));
}
void report(const char* what, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::printf("%-58s median %7.1f ms  worst %7.1f ms  (%zu runs)\n", what, v[v.size() / 2],
                v.back(), v.size());
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const core::Paths paths = stressPaths();
    int master = -1, slave = -1;
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    openpty(&master, &slave, name, &raw, nullptr);
    {
        QFile conf(paths.dataDir + "ports.conf");
        conf.open(QIODevice::WriteOnly);
        conf.write(QByteArray("1=") + name + "\n");
    }
    {
        QString error;
        auto data = Database::open(paths.dataDb, &error);
        data->execute("update 自社情報 set NAdapter = 'アロハPC1', 着信読込 = '１週間以内分'");
        data->execute("delete * from 顧客マスタ where 名称 like 'ベンチ登録*'");
    }
    QString error;
    if (!core::startUp(paths, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    ui::MessageBoxes::script();

    // Opening: the first load rebuilds the week's list and fills the pick lists.
    std::vector<double> opening;
    int listed = 0;
    for (int i = 0; i < 5; ++i) {
        desk::FrmCti::activatedFlag() = false;
        QElapsedTimer t;
        t.start();
        auto desk = std::make_unique<desk::FrmCti>();
        desk->show();
        QCoreApplication::processEvents(); // laid out and painted
        opening.push_back(t.nsecsElapsed() / 1e6);
        listed = desk->listModel()->rowCount();
        desk->close();
    }
    std::printf("stress data: %d customers, %d numbers, %d calls; the week's list holds %d calls\n",
                kSize.customers, kSize.customers * kSize.numbersPerCustomer, kSize.calls, listed);
    report("open the desk (first load, one-week list)", opening);

    desk::FrmCti::activatedFlag() = false;
    if (qEnvironmentVariableIsSet("BENCH_SILENT")) {
        desk::FrmCti::soundPlayer() = [](const QString&) {};
    }
    desk::FrmCti desk;
    desk.show();
    QCoreApplication::processEvents();
    auto* nameBox = desk.findChild<QComboBox*>("cmb顧客名");
    std::vector<double> intake, soundStart;
    for (int i = 0; i < 8; ++i) {
        const int code = 1 + (i * 12347) % kSize.customers;
        const QString number = numberOf(code, 1 + i % 3);
        const QString expected =
            core::dataDb()->scalar("select 名称 from 顧客マスタ where code = ?", {code}).toString();
        const QByteArray bytes =
            callerid::frameReport(callerid::models::kAlohaPc1, callerid::Caller::Number, number);
        while (QTime::currentTime().msec() > 300) { // clear of a second boundary: one call a second
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        [[maybe_unused]] auto n = ::write(master, bytes.constData(), size_t(bytes.size()));
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            if (nameBox->currentText() == expected &&
                core::dataDb()
                        ->scalar("select count(*) from 着信履歴 where 電話番号 = ? and 日付 >= ?",
                                 {number, QDateTime::currentDateTime().addSecs(-5)})
                        .toInt() > 0) {
                break;
            }
        }
        intake.push_back(t.nsecsElapsed() / 1e6);
        char ack[16];
        [[maybe_unused]] auto r = ::read(master, ack, sizeof ack);
        QElapsedTimer s;
        s.start();
        desk.PlayCallSound();
        soundStart.push_back(s.nsecsElapsed() / 1e6);
    }
    report("last byte -> customer shown and log row written", intake);
    report("  of which starting the call sound", soundStart);

    // Two reports 300 ms apart: the second arrives while the first is still
    // being taken in. Timed from the second's last byte until both are logged.
    std::vector<double> overlapping;
    for (int i = 0; i < 5; ++i) {
        const QString first = numberOf(1 + (i * 7919) % kSize.customers, 1);
        const QString second = numberOf(1 + (i * 104729 + 17) % kSize.customers, 2);
        auto bytesOf = [](const QString& number) {
            return callerid::frameReport(callerid::models::kAlohaPc1, callerid::Caller::Number,
                                         number);
        };
        auto logged = [&](const QString& number) {
            return core::dataDb()
                       ->scalar("select count(*) from 着信履歴 where 電話番号 = ? and 日付 >= ?",
                                {number, QDateTime::currentDateTime().addSecs(-10)})
                       .toInt() > 0;
        };
        const QByteArray a = bytesOf(first), b = bytesOf(second);
        [[maybe_unused]] auto n1 = ::write(master, a.constData(), size_t(a.size()));
        QElapsedTimer gap;
        gap.start();
        while (gap.elapsed() < 300) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        [[maybe_unused]] auto n2 = ::write(master, b.constData(), size_t(b.size()));
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000 && !(logged(first) && logged(second))) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        overlapping.push_back(logged(first) && logged(second) ? t.nsecsElapsed() / 1e6 : 1e9);
        for (pollfd p{master, POLLIN, 0}; ::poll(&p, 1, 50) > 0;) { // the two acknowledgements
            char ack[16];
            if (::read(master, ack, sizeof ack) <= 0) {
                break;
            }
        }
        QElapsedTimer settle; // the next pair in fresh seconds
        settle.start();
        while (settle.elapsed() < 1500) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    report("two reports 300 ms apart: second's last byte -> both logged", overlapping);

    // Registering a customer with ten numbers: store, attribute, rebuild.
    std::vector<double> registering;
    for (int i = 0; i < 5; ++i) {
        desk.Clear顧客情報画面();
        const QString newName = QString("ベンチ登録%1").arg(i);
        nameBox->setEditText(newName);
        for (int k = 0; k < 10; ++k) {
            desk.numbersModel()->setData(desk.numbersModel()->index(k, 1),
                                         QString("06%1%2").arg(i).arg(k, 7, 10, QChar('0')));
        }
        QCoreApplication::processEvents();
        ui::MessageBoxes::script({true});
        QElapsedTimer t;
        t.start();
        desk.Entry顧客マスタ(newName);
        registering.push_back(t.nsecsElapsed() / 1e6);
    }
    report("register a customer with 10 numbers, attribute, rebuild", registering);
    desk.close();
    ::close(master);
    ::close(slave);
    return 0;
}
