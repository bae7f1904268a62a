#include "paths.h"

#include <QDir>
#include <QFileInfo>

namespace core {
namespace {

QString withSlash(QString dir) {
    dir = QDir::cleanPath(dir);
    if (!dir.endsWith(QLatin1Char('/'))) {
        dir += QLatin1Char('/');
    }
    return dir;
}

Paths& current() {
    static Paths p;
    return p;
}

} // namespace

Paths Paths::forDataDir(const QString& dataDir) {
    Paths p;
    p.dataDir = withSlash(dataDir);
    p.dataDb = p.dataDir + kDataDbName;
    p.workDb = p.dataDir + kWorkDbName;
    p.postalDb = p.dataDir + kPostalDbName;
    return p;
}

Paths Paths::resolve(const QString& programDir, const QString& homeDir) {
    const QString home = withSlash(homeDir);
    // The marker is looked for once, by its exact name.
    if (QFileInfo(home + QStringLiteral("Kivdevelop.txt")).isFile()) {
        Paths p = forDataDir(home + QStringLiteral("develop/rb/rbcti/data/"));
        p.postalDb = home + QStringLiteral("develop/rb/yubin/") + kPostalDbName;
        p.development = true;
        return p;
    }
    return forDataDir(withSlash(programDir) + QStringLiteral("data/"));
}

QString Paths::dataFile(const QString& name) const {
    if (name.compare(kDataDbName, Qt::CaseInsensitive) == 0) {
        return dataDb;
    }
    if (name.compare(kWorkDbName, Qt::CaseInsensitive) == 0) {
        return workDb;
    }
    return dataDir + name;
}

QString Paths::defaultSoundPath() const {
    return dataDir + kSoundFileName;
}

const Paths& paths() {
    return current();
}
void setPaths(const Paths& p) {
    current() = p;
}

} // namespace core
