// The データ保守 tab's floppy rows: the backup set on drive A.

#include "frmhosyu.h"

#include "floppybackup.h"
#include "floppydrive.h"
#include "paths.h"

#include <QLabel>

namespace care {
namespace {

FloppyBackup floppyJob(FrmHosyu* screen) {
    auto* fddMsg = screen->findChild<QLabel*>(QStringLiteral("FddMsg"));
    const QString dataDir = core::paths().dataDir;
    return FloppyBackup(dataDir, floppyRoot(dataDir), [fddMsg](const QString& text) {
        fddMsg->setText(text);
        fddMsg->setVisible(!text.isEmpty());
    });
}

} // namespace

void FrmHosyu::FDDBuckUp() {
    floppyJob(this).FDDBuckUp();
}

// The data database stays open until the restored file has been checked,
// and is open again afterwards whatever happened.
void FrmHosyu::RestoreFromFloppy() {
    floppyJob(this).RestoreRB();
}

} // namespace care
