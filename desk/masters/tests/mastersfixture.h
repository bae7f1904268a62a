#pragma once
// The program's databases over temporary copies of the shipped files, its
// boxes answered by script, and no hint window left behind.

#include <QFile>
#include <QTest>

#include "hint.h"
#include "lookups.h"
#include "showmsg.h"
#include "startup.h"
#include "testfiles.h"
#include "upgrade.h"

struct MastersFixture {
    TestFiles files;

    explicit MastersFixture(const std::function<void(core::db::Database& data)>& prepare = {}) {
        // No serial port is ever opened by a desk made in these tests.
        QFile conf(files.paths.dataDir + "ports.conf");
        conf.open(QIODevice::WriteOnly);
        for (int port = 1; port <= 16; ++port) {
            conf.write(QString("%1=%2noport\n").arg(port).arg(files.paths.dataDir).toLocal8Bit());
        }
        conf.close();
        {
            auto data = files.data();
            auto work = files.work();
            core::createNewTable(*data, *work);
            if (prepare) {
                prepare(*data);
            }
        }
        QString error;
        if (!core::startUp(files.paths, &error)) {
            qFatal("%s", qPrintable(error));
        }
        ui::MessageBoxes::script();
        core::screenHistory().clear();
    }
    ~MastersFixture() {
        delete masters::hintWindow();
        ui::MessageBoxes::unscript();
        core::shutDown();
    }
    core::db::Database& data() const { return *core::dataDb(); }
    core::db::Database& work() const { return *core::workDb(); }

    // Texts of the boxes shown so far.
    static QStringList asked() {
        QStringList out;
        for (const ui::MessageBoxes::Asked& a : ui::MessageBoxes::asked()) {
            out << a.text;
        }
        return out;
    }
};
