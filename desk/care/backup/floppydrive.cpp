#include "floppydrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <sys/statvfs.h>

namespace care {
namespace {

// Mount tables escape blanks and tabs in paths as octal.
QString unescapeMount(const QString& field) {
    QString out;
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == QLatin1Char('\\') && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

// "sdb1" → whether the disk it belongs to reports itself removable.
bool removableDevice(const QString& sysBlock, const QString& name) {
    const QString dev = sysBlock + QLatin1Char('/') + name;
    for (const QString& f :
         {dev + QStringLiteral("/removable"), dev + QStringLiteral("/../removable")}) {
        QFile file(f);
        if (file.open(QIODevice::ReadOnly)) {
            return file.readAll().trimmed() == "1";
        }
    }
    return false;
}

// The mount points (second fields) of a table in fstab's format.
QStringList mountPoints(const QString& table) {
    QStringList points;
    QFile file(table);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return points;
    }
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QStringList f =
            line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (f.size() >= 2 && f[1].startsWith(QLatin1Char('/'))) {
            points << QDir::cleanPath(unescapeMount(f[1]));
        }
    }
    return points;
}

} // namespace

bool mediumMounted(const QString& root, const QString& fsTable, const QString& mountTable) {
    const QFileInfo info(root);
    const QString path = info.canonicalFilePath().isEmpty()
                             ? QDir::cleanPath(info.absoluteFilePath())
                             : info.canonicalFilePath();
    QString owner; // the deepest mount point the table names for root
    for (const QString& m : mountPoints(fsTable)) {
        if (m != QStringLiteral("/") && (path == m || path.startsWith(m + QLatin1Char('/'))) &&
            m.size() > owner.size()) {
            owner = m;
        }
    }
    return owner.isEmpty() || mountPoints(mountTable).contains(owner);
}

QString configuredFloppyRoot(const QString& dataDir) {
    QFile conf(QDir(dataDir).filePath(QStringLiteral("drives.conf")));
    if (!conf.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    QTextStream in(&conf);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 &&
            line.left(eq).trimmed().compare(QStringLiteral("A"), Qt::CaseInsensitive) == 0) {
            return QDir::cleanPath(line.mid(eq + 1).trimmed());
        }
    }
    return {};
}

QString firstRemovableMount(const QString& mountTable, const QString& sysBlock) {
    QFile table(mountTable);
    if (!table.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    QTextStream in(&table);
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() < 2 || !f[0].startsWith(QStringLiteral("/dev/"))) {
            continue;
        }
        const QString device = QFileInfo(f[0]).canonicalFilePath().isEmpty()
                                   ? f[0]
                                   : QFileInfo(f[0]).canonicalFilePath();
        if (removableDevice(sysBlock, QFileInfo(device).fileName())) {
            return unescapeMount(f[1]);
        }
    }
    return {};
}

QString floppyRoot(const QString& dataDir) {
    const QString configured = configuredFloppyRoot(dataDir);
    return configured.isEmpty() ? firstRemovableMount() : configured;
}

bool GoodDrive(const QString& root) {
    if (root.isEmpty()) {
        return false;
    }
    const QFileInfo info(root);
    if (!info.isDir() || !info.isReadable() || !mediumMounted(root)) {
        return false;
    }
    struct statvfs fs {};
    return statvfs(QFile::encodeName(root).constData(), &fs) == 0;
}

bool WriteTest(const QString& root) {
    if (!GoodDrive(root)) {
        return false;
    }
    QFile probe(QDir(root).filePath(QStringLiteral(".rbcti-write-test")));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const bool written = probe.write("RBCTI", 5) == 5 && probe.flush();
    probe.close();
    return probe.remove() && written;
}

} // namespace care
