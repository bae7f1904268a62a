#include "startup.h"

#include "settings.h"
#include "upgrade.h"

#include <memory>

namespace core {
namespace {

std::unique_ptr<db::Database>& dataHandle() {
    static std::unique_ptr<db::Database> h;
    return h;
}
std::unique_ptr<db::Database>& workHandle() {
    static std::unique_ptr<db::Database> h;
    return h;
}

} // namespace

bool startUp(const Paths& p, QString* error) {
    shutDown();
    setPaths(p);
    auto work = db::Database::open(p.workDb, error);
    if (!work) {
        return false;
    }
    auto data = db::Database::open(p.dataDb, error);
    if (!data) {
        return false;
    }
    createNewTable(*data, *work);
    loadSettings(*data, settings(), p.defaultSoundPath());
    workHandle() = std::move(work);
    dataHandle() = std::move(data);
    return true;
}

void shutDown() {
    dataHandle().reset();
    workHandle().reset();
}

db::Database* dataDb() {
    return dataHandle().get();
}
db::Database* workDb() {
    return workHandle().get();
}

std::unique_ptr<db::Database> releaseDataDb() {
    return std::move(dataHandle());
}
void installDataDb(std::unique_ptr<db::Database> data) {
    dataHandle() = std::move(data);
}

} // namespace core
