// Watches the caller-ID line as the desk does and prints each decoded
// result; runs until interrupted.
//
//   cidmon --adapter MODEL --device PATH [--mode 1|2|3]
//   cidmon [--mode 1|2|3]          (adapter and port from the settings)

#include "database.h"
#include "decoder.h"
#include "intake.h"
#include "lineconfig.h"
#include "paths.h"
#include "serialline.h"
#include "settings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

int signalPipe[2];
void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(signalPipe[1], &c, 1);
}

int fail(const QString& message, int status) {
    std::fprintf(stderr, "cidmon: %s\n", message.toLocal8Bit().constData());
    return status;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the numbers a caller-ID adapter reports."));
    parser.addHelpOption();
    parser.addOption({"adapter", "Adapter model (default: from the settings).", "MODEL"});
    parser.addOption({"device", "Serial device (default: the settings' port).", "PATH"});
    parser.addOption({"mode", "Reception mode 1, 2 or 3.", "MODE", "1"});
    parser.process(app);

    const int mode = parser.value("mode").toInt();
    if (mode < 1 || mode > 3) {
        return fail(QStringLiteral("--mode takes 1, 2 or 3"), 2);
    }
    const core::Paths paths =
        core::Paths::resolve(QCoreApplication::applicationDirPath(), QDir::homePath());
    std::unique_ptr<core::db::Database> data;
    if (QFileInfo::exists(paths.dataDb)) {
        QString error;
        data = core::db::Database::open(paths.dataDb, &error);
    }

    core::Settings settings;
    settings.着信認識 = true;
    settings.受信モード = static_cast<qint16>(mode);
    callerid::SerialLine line;
    line.setDataDir(paths.dataDir);
    callerid::LineValues values;
    values.parity = "e";
    values.dataBits = 7;
    values.baud = 9600;
    values.port = 1;
    values.stopBits = 1;
    if (parser.isSet("adapter") || parser.isSet("device")) {
        if (!parser.isSet("adapter") || !parser.isSet("device")) {
            return fail(QStringLiteral("give both --adapter and --device, or neither"), 2);
        }
        values.nAdapter = parser.value("adapter");
        values.ta = values.nAdapter;
        settings.NAdapter = values.nAdapter;
        if (data) {
            // The adapter table's serial defaults for this model.
            core::db::Recordset rs =
                data->openRecordset(QStringLiteral("select * from 通信マスタ where NAdapter = ?"),
                                    core::db::Recordset::Kind::Snapshot, {values.nAdapter});
            if (!rs.eof()) {
                values.ta = rs.field("TA").toString();
                values.parity = callerid::parityLetter(rs.field("パリティ").toString());
                values.dataBits = rs.field("データビット").toInt();
                values.baud = rs.field("ボーレート").toInt();
                values.stopBits = rs.field("ストップビット").toInt();
            }
        }
        line.setDevice(parser.value("device"));
        line.setSettings(values.settingsText());
    } else {
        if (!data) {
            return fail(
                QStringLiteral("no settings: %1 cannot be read; give --adapter and --device")
                    .arg(paths.dataDb),
                2);
        }
        core::loadSettings(*data, settings, paths.defaultSoundPath());
        settings.着信認識 = true;
        settings.受信モード = static_cast<qint16>(mode);
        callerid::SetCommInfo(*data, values, line);
    }
    // Reports are read with the settings' adapter model, as the desk reads
    // them, even when the line itself is set up from the adapter table's
    // fall-back row.
    if (!callerid::openLine(line, values)) {
        return fail(line.lastError(), 1);
    }

    callerid::Decoder decoder;
    callerid::LineEvents events(line, settings, decoder);
    events.showNotice = [](const QString& text) {
        std::fprintf(stderr, "cidmon: %s\n", qPrintable(text));
    };
    QObject::connect(&events, &callerid::LineEvents::acknowledged, [](const QString& number) {
        std::printf("%s\n", number.toLocal8Bit().constData());
        std::fflush(stdout);
    });
    QObject::connect(&line, &callerid::SerialLine::lineFailed, [&](const QString& message) {
        std::fprintf(stderr, "cidmon: %s\n", message.toLocal8Bit().constData());
        app.exit(1);
    });

    if (::pipe(signalPipe) == 0) {
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }
    QSocketNotifier stop(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, [&] { app.quit(); });
    std::fprintf(stderr, "cidmon: listening on %s (%s, mode %d)\n",
                 line.device().toLocal8Bit().constData(),
                 settings.NAdapter.toLocal8Bit().constData(), mode);
    return app.exec();
}
