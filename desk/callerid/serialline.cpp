#include "serialline.h"

#include "lookups.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace callerid {

std::optional<LineSettings> LineSettings::parse(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) {
        return std::nullopt;
    }
    LineSettings s;
    bool ok = false;
    s.baud = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baud <= 0) {
        return std::nullopt;
    }
    const QString p = parts[1].trimmed().toLower();
    if (p == QLatin1String("n")) {
        s.parity = QSerialPort::NoParity;
    } else if (p == QLatin1String("e")) {
        s.parity = QSerialPort::EvenParity;
    } else if (p == QLatin1String("o")) {
        s.parity = QSerialPort::OddParity;
    } else if (p == QLatin1String("m")) {
        s.parity = QSerialPort::MarkParity;
    } else if (p == QLatin1String("s")) {
        s.parity = QSerialPort::SpaceParity;
    } else {
        return std::nullopt;
    }
    const int bits = parts[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8) {
        return std::nullopt;
    }
    s.dataBits = static_cast<QSerialPort::DataBits>(bits);
    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1")) {
        s.stopBits = QSerialPort::OneStop;
    } else if (stop == QLatin1String("1.5")) {
        s.stopBits = QSerialPort::OneAndHalfStop;
    } else if (stop == QLatin1String("2")) {
        s.stopBits = QSerialPort::TwoStop;
    } else {
        return std::nullopt;
    }
    return s;
}

QString deviceForPort(int port, const QString& dataDir) {
    QFile conf(dataDir + QStringLiteral("/ports.conf"));
    if (conf.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&conf);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (line.startsWith(QLatin1Char('#'))) {
                continue;
            }
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq > 0 && line.left(eq).trimmed().toInt() == port) {
                return line.mid(eq + 1).trimmed();
            }
        }
    }
    const QString usb = QStringLiteral("/dev/ttyUSB%1").arg(port - 1);
    if (QFileInfo::exists(usb)) {
        return usb;
    }
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

SerialLine::SerialLine(QObject* parent)
    : QObject(parent) {
    settingsText_ = QStringLiteral("9600,e,7,1");
    // The event runs after readyRead has returned: the port does not emit
    // readyRead again while a handler of it is still running, and the intake
    // pauses and lets events run, so bytes arriving meanwhile would raise no
    // event of their own and wait for the next call.
    connect(
        &serial_, &QSerialPort::readyRead, this, [this] { raiseEvent(events::kReceive); },
        Qt::QueuedConnection);
    connect(&serial_, &QSerialPort::errorOccurred, this, &SerialLine::onError);
    pinPoll_.setInterval(50);
    connect(&pinPoll_, &QTimer::timeout, this, &SerialLine::pollPins);
}

SerialLine::~SerialLine() = default;

QString SerialLine::device() const {
    return device_.isEmpty() ? deviceForPort(port_, dataDir_) : device_;
}

bool SerialLine::setSettings(const QString& text) {
    const auto parsed = LineSettings::parse(text);
    if (!parsed) {
        error_ = QStringLiteral("回線設定「%1」を読み取れません").arg(text);
        return false;
    }
    settings_ = *parsed;
    settingsText_ = text;
    if (serial_.isOpen()) {
        // Each refusal is harmless: a pseudo-terminal has no parity, say.
        serial_.setBaudRate(settings_.baud);
        serial_.setParity(settings_.parity);
        serial_.setDataBits(settings_.dataBits);
        serial_.setStopBits(settings_.stopBits);
        serial_.clearError();
    }
    return true;
}

bool SerialLine::setPortOpen(bool open) {
    if (!open) {
        pinPoll_.stop();
        serial_.close();
        return true;
    }
    if (serial_.isOpen()) {
        return true;
    }
    const QString dev = device();
    serial_.setPortName(dev);
    if (!serial_.open(QIODevice::ReadWrite)) {
        error_ = QStringLiteral("ポート %1 (%2) を開けません: %3")
                     .arg(port_)
                     .arg(dev, serial_.errorString());
        serial_.clearError();
        emit lineFailed(error_);
        return false;
    }
    serial_.setBaudRate(settings_.baud);
    serial_.setParity(settings_.parity);
    serial_.setDataBits(settings_.dataBits);
    serial_.setStopBits(settings_.stopBits);
    serial_.setFlowControl(QSerialPort::NoFlowControl);
    serial_.clearError();
    error_.clear();
    // Only a device that reports its modem lines gets the CTS watch.
    lastCts_.reset();
    const auto pins = serial_.pinoutSignals();
    if (serial_.error() == QSerialPort::NoError) {
        lastCts_ = pins.testFlag(QSerialPort::ClearToSendSignal);
        pinPoll_.start();
    }
    serial_.clearError();
    return true;
}

QByteArray SerialLine::input() {
    return serial_.isOpen() ? serial_.readAll() : QByteArray();
}

bool SerialLine::output(const QByteArray& bytes) {
    if (!serial_.isOpen()) {
        return false;
    }
    const bool ok = serial_.write(bytes) == bytes.size();
    serial_.flush();
    return ok;
}

void SerialLine::resetDtr() {
    if (!serial_.isOpen()) {
        return;
    }
    serial_.setDataTerminalReady(false);
    core::WaitTime(10);
    serial_.setDataTerminalReady(true);
    serial_.clearError();
}

void SerialLine::clearOutput() {
    if (serial_.isOpen()) {
        serial_.clear(QSerialPort::Output);
        serial_.clearError();
    }
}

void SerialLine::raiseEvent(int code) {
    event_ = code;
    emit commEventRaised();
}

void SerialLine::onError(QSerialPort::SerialPortError e) {
    switch (e) {
    case QSerialPort::NoError:
        return;
    case QSerialPort::ResourceError:
        // The device went away (adapter unplugged): close and say so.
        error_ = QStringLiteral("ポート %1 (%2) が使えなくなりました: %3")
                     .arg(port_)
                     .arg(serial_.portName(), serial_.errorString());
        serial_.clearError();
        pinPoll_.stop();
        serial_.close();
        emit lineFailed(error_);
        return;
    default:
        // Errors of single calls (a refused setting) leave the line as it is.
        return;
    }
}

void SerialLine::pollPins() {
    if (!serial_.isOpen() || !lastCts_) {
        return;
    }
    const bool cts = serial_.pinoutSignals().testFlag(QSerialPort::ClearToSendSignal);
    serial_.clearError();
    if (cts != *lastCts_) {
        lastCts_ = cts;
        raiseEvent(events::kCts);
    }
}

} // namespace callerid
