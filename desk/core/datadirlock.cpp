#include "datadirlock.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace core {

std::unique_ptr<DataDirLock> DataDirLock::tryLock(const QString& dataDir, Mode mode,
                                                  QString* error) {
    const QString path = QDir(dataDir).filePath(QStringLiteral(".rbcti.lock"));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error) {
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path),
                                                  QString::fromLocal8Bit(std::strerror(errno)));
        }
        return nullptr;
    }
    if (::flock(fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        ::close(fd);
        if (error) {
            *error =
                mode == Mode::Shared
                    ? QStringLiteral("%1 is being restored").arg(QDir::toNativeSeparators(dataDir))
                    : QStringLiteral("the desk is running on %1")
                          .arg(QDir::toNativeSeparators(dataDir));
        }
        return nullptr;
    }
    return std::unique_ptr<DataDirLock>(new DataDirLock(fd));
}

DataDirLock::~DataDirLock() {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

} // namespace core
