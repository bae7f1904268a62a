#pragma once
// The record source a button navigates when its DataMethod is set. The
// control knows only this interface; the program supplies an adapter over
// its own record sets.

#include <QByteArray>

namespace vx {

class DataSource {
public:
    enum class Result {
        Ok,
        InvalidBookmark,
        RowDeleted,
        UpdateInProgress,
        CannotLock,
        NotSupported,
        RowChanged,
        RuleViolation,
        OutOfMemory,
        Failed,
    };
    virtual ~DataSource() = default;
    virtual Result addNew() = 0;
    virtual Result remove() = 0;
    virtual Result update() = 0;
    virtual Result moveToBookmark(const QByteArray& bookmark) = 0;
    virtual Result moveFirst() = 0;
    virtual Result moveLast() = 0;
    virtual Result moveNext() = 0;
    virtual Result movePrevious() = 0;
};

} // namespace vx
