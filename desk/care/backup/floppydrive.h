#pragma once
// Drive "A:" of the backup set on a system without drive letters: a folder
// named by a line "A=/path" of drives.conf in the data directory (a USB
// floppy drive's mount point, a stick, a share), else the first mounted
// removable medium.

#include <QString>

namespace care {

// The folder standing for drive A, or empty when there is none.
QString floppyRoot(const QString& dataDir);
// The configured line alone, empty without one.
QString configuredFloppyRoot(const QString& dataDir);
// The mount point of the first mounted removable medium, read from the
// system's mount table; empty when none is mounted.
QString firstRemovableMount(const QString& mountTable = QStringLiteral("/proc/self/mounts"),
                            const QString& sysBlock = QStringLiteral("/sys/class/block"));

// Whether root lies on what is mounted there: false when the file-system
// table names a mount point at or above root that the mount table lacks
// (an unplugged floppy or stick leaves its empty mount folder behind, and
// a backup written there would land on the local disk).
bool mediumMounted(const QString& root, const QString& fsTable = QStringLiteral("/etc/fstab"),
                   const QString& mountTable = QStringLiteral("/proc/self/mounts"));
// The folder exists, is a readable folder on a mounted medium and its file
// system answers.
bool GoodDrive(const QString& root);
// A probe file can be written there and removed again.
bool WriteTest(const QString& root);

} // namespace care
