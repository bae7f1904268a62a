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

// The folder exists, is a readable folder and its file system answers.
bool GoodDrive(const QString& root);
// A probe file can be written there and removed again.
bool WriteTest(const QString& root);

} // namespace care
