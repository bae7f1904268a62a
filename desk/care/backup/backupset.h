#pragma once
// The files of a backup set: the control file "Ctictl" holding
// "CtiFddNum = N", and the archive "ctidata.lzh" whole (one disk) or cut into
// pieces "cti_d001"… of 1,440,000 bytes (one a disk). Sets already on the
// office's disks keep this layout, so it never changes.

#include <QString>
#include <QStringList>
#include <optional>

namespace care {

inline constexpr qint64 kPieceSize = 1440000;
inline const QString kControlFile = QStringLiteral("Ctictl");
inline const QString kArchiveFile = QStringLiteral("ctidata.lzh");
// How the data file is named inside the archive.
inline const QString kArchivedDataName = QStringLiteral("RbCtidata2K.mdb");

// "cti_d" and k in three digits.
QString pieceName(int k);
// Disks needed for an archive of that size (at least one).
int diskCount(qint64 archiveSize);
// "CtiFddNum = N", no line end.
QByteArray controlText(int disks);
// The disk count from at most the first 100 bytes, read from the 13th
// character on with blanks ignored; nothing when it holds no count.
std::optional<int> readControlFile(const QString& path);
// Ctictl, ctidata.lzh and cti_d + three digits, in any letter case.
bool isBackupSetFile(const QString& fileName);
// The name of a file in dir compared without regard to letter case (disks
// written elsewhere may spell it otherwise); empty when there is none.
QString findFile(const QString& dir, const QString& name);

// Cuts the archive into pieces in dir, each written anew; the piece names
// in order, or nothing when a piece could not be written.
std::optional<QStringList> cutPieces(const QString& archive, const QString& dir);
// Removes the backup-set files of dir and no other file; false when one
// of them could not be removed.
bool eraseBackupSet(const QString& dir);

} // namespace care
