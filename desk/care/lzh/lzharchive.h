#pragma once
// LZH archives: written with our own -lh5- coder and level-2 headers, read
// through liblhasa. Extraction is all or nothing: a member whose name could
// land outside the target folder, or that was not asked for, refuses the
// whole archive before anything is written.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace lzh {

struct Result {
    bool ok = true;
    QString error; // names the file and the fault
    explicit operator bool() const { return ok; }
    static Result failure(const QString& why) { return {false, why}; }
};

struct Source {
    QString path;       // the file to store
    QString storedName; // its name in the archive (no folders)
};

struct Member {
    QString name;   // folder and file name as stored, '/' separated
    QString method; // "-lh5-", "-lh0-", …
    qint64 size = 0;
    qint64 packedSize = 0;
    quint16 crc = 0;
    QDateTime modified;
};

// Writes a new archive at archivePath (a complete file replaces an older one
// only once it is written). A member that would not shrink is stored.
Result create(const QString& archivePath, const QList<Source>& sources);

Result list(const QString& archivePath, QList<Member>* members);

// Decodes every member and checks its length and CRC; writes nothing.
Result verify(const QString& archivePath);

// Extracts the members named in `wanted` (compared ignoring case, written
// under the wanted spelling) into targetDir, each checked by CRC before it
// replaces a file there.
Result extract(const QString& archivePath, const QString& targetDir, const QStringList& wanted);

// Whether a stored name is a bare file name that stays inside its folder.
bool isSafeMemberName(const QString& name);

} // namespace lzh
