#pragma once
// Works out the port and line settings from the settings record or, failing
// that, from the adapter table, and opens the line as each model needs.

#include <QString>

namespace core::db {
class Database;
}

namespace callerid {

class SerialLine;

// The working line values held while the desk is loaded.
struct LineValues {
    QString ta;
    QString nAdapter;
    QString parity; // letter: n, e or o
    int dataBits = 0;
    int baud = 0;
    int port = 0;
    int stopBits = 0;

    // speed,parity,data,stop e.g. "9600,e,7,1"
    QString settingsText() const;
};

// The stored parity ("なし", "偶数", "奇数") as a letter; empty for other text.
QString parityLetter(const QString& stored);

// SetCommInfo: fills the values and sets the line's port and settings.
void SetCommInfo(core::db::Database& data, LineValues& values, SerialLine& line);

// Opens the line when it is not open: the two INS terminal adapters get the
// start-up command "AT$12=0", every other set-up runs at "9600,E,7,1".
bool openLine(SerialLine& line, const LineValues& values);

bool isInsTerminalAdapter(const QString& ta);

} // namespace callerid
