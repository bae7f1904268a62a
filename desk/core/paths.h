#pragma once
// Where the data files are. Fixed once at start-up and read everywhere.

#include <QString>

namespace core {

struct Paths {
    QString dataDir;  // ends with '/'
    QString dataDb;   // RbCtiData2K.mdb
    QString workDb;   // RbctiWork2K.mdb
    QString postalDb; // yubin2000.mdb
    bool development = false;

    // A normal installation keeps its data in data/ beside the program. The
    // development marker, c:\Kivdevelop.txt on Windows, is
    // ~/Kivdevelop.txt here; with it the data lives under ~/develop/rb/,
    // the drive root c:\ standing for the home directory.
    static Paths resolve(const QString& programDir, const QString& homeDir);
    static Paths forDataDir(const QString& dataDir);

    // The data database is also named "RbctiData2K.mdb" and "RbCtidata2K.mdb";
    // on a case-sensitive file system each spelling must reach the one file.
    QString dataFile(const QString& name) const;

    // The shipped call sound, used when the settings name none.
    QString defaultSoundPath() const;
};

inline const QString kDataDbName = QStringLiteral("RbCtiData2K.mdb");
inline const QString kWorkDbName = QStringLiteral("RbctiWork2K.mdb");
inline const QString kPostalDbName = QStringLiteral("yubin2000.mdb");
inline const QString kSoundFileName = QStringLiteral("chime.wav");

// The paths of this run, set once by start-up.
const Paths& paths();
void setPaths(const Paths& p);

} // namespace core
