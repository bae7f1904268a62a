#pragma once
// The serial line to the caller-ID adapter, on Qt SerialPort, with the
// behaviour the desk relies on: a port by number, line settings as text
// ("9600,e,7,1"), an event with code 2 when characters arrive (3 when the
// CTS line changes), everything received since the last read, writes that
// go out at once, and the line reset before an acknowledgement.

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <optional>

namespace callerid {

// Event codes of the line, as the intake knows them.
namespace events {
constexpr int kReceive = 2;
constexpr int kCts = 3;
} // namespace events

struct LineSettings {
    qint32 baud = 9600;
    QSerialPort::Parity parity = QSerialPort::EvenParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data7;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    // "9600,e,7,1": speed, parity letter (n, e, o, m, s; either case), data
    // bits 5 to 8, stop bits 1, 1.5 or 2.
    static std::optional<LineSettings> parse(const QString& text);
};

// The device of port number n: a line "n=/dev/..." of ports.conf in the data
// directory, else /dev/ttyUSB(n-1) when it exists, else /dev/ttyS(n-1).
QString deviceForPort(int port, const QString& dataDir);

class SerialLine : public QObject {
    Q_OBJECT
public:
    explicit SerialLine(QObject* parent = nullptr);
    ~SerialLine() override;

    // Where port numbers are looked up (ports.conf).
    void setDataDir(const QString& dir) { dataDir_ = dir; }

    void setCommPort(int port) { port_ = port; }
    int commPort() const { return port_; }
    // Opens this device instead of the port number's (tools and tests).
    void setDevice(const QString& path) { device_ = path; }
    QString device() const;

    // Applies at once when open; a device that refuses one setting (a
    // pseudo-terminal refuses parity) stays open. False for unreadable text.
    bool setSettings(const QString& text);
    QString settings() const { return settingsText_; }

    bool setPortOpen(bool open);
    bool portOpen() const { return serial_.isOpen(); }
    QString lastError() const { return error_; }

    // The code of the event being reported.
    int commEvent() const { return event_; }
    // Everything received and not yet read.
    QByteArray input();
    // Sends at once.
    bool output(const QByteArray& bytes);
    // Drops DTR for 10 ms and raises it again, letting events run meanwhile.
    void resetDtr();
    // Drops whatever is still waiting to be sent.
    void clearOutput();

    // Raises an event as the line would (tests, and the CTS poll).
    void raiseEvent(int code);

signals:
    void commEventRaised();
    // The line failed (device gone, cannot be opened): said to the owner.
    void lineFailed(const QString& message);

private:
    void onError(QSerialPort::SerialPortError e);
    void pollPins();

    QSerialPort serial_;
    QString dataDir_;
    QString device_;
    int port_ = 1;
    QString settingsText_;
    LineSettings settings_;
    int event_ = 0;
    QString error_;
    QTimer pinPoll_;
    std::optional<bool> lastCts_;
};

} // namespace callerid
