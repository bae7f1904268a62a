#pragma once
// Who is using a data directory. Each running desk holds a shared lock on
// the file ".rbcti.lock" there for its whole run; a restore from outside
// the desk takes it exclusively, so it cannot replace the data file under
// a running desk. The system drops the lock of a process that dies.

#include <QString>
#include <memory>

namespace core {

class DataDirLock {
public:
    enum class Mode { Shared, Exclusive };
    // Null with *error set when the lock is held the other way (or the
    // folder cannot hold the lock file).
    static std::unique_ptr<DataDirLock> tryLock(const QString& dataDir, Mode mode, QString* error);
    ~DataDirLock();
    DataDirLock(const DataDirLock&) = delete;
    DataDirLock& operator=(const DataDirLock&) = delete;

private:
    explicit DataDirLock(int fd)
        : fd_(fd) {}
    int fd_;
};

} // namespace core
