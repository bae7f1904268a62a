// PrjTelban: the caller-ID customer desk.

#include "datadirlock.h"
#include "deskapp.h"
#include "frmcodemaster.h"
#include "frmcti.h"
#include "frmhosyu.h"
#include "frmkokyakulist.h"
#include "frmmainmenu.h"
#include "frmtyakusinlist.h"
#include "screens.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RBCTI Pro"));
    ui::installJapaneseFonts();
    ui::screens().registerScreen(QStringLiteral("FrmCti"), [] { return new desk::FrmCti; });
    ui::screens().registerScreen(QStringLiteral("FrmHosyu"), [] { return new care::FrmHosyu; });
    ui::screens().registerScreen(QStringLiteral("FrmTyakusinList"),
                                 [] { return new desk::FrmTyakusinList; });
    ui::screens().registerScreen(QStringLiteral("FrmKokyakuList"),
                                 [] { return new desk::FrmKokyakuList; });
    ui::screens().registerScreen(QStringLiteral("FrmCodeMaster"),
                                 [] { return new masters::FrmCodeMaster; });
    std::unique_ptr<ui::FrmMainMenu> menu;
    const core::Paths paths =
        core::Paths::resolve(QCoreApplication::applicationDirPath(), QDir::homePath());
    // While the desk runs, a restore from outside it refuses to replace the
    // data file; the lock goes with the process.
    const auto inUse = core::DataDirLock::tryLock(paths.dataDir, core::DataDirLock::Mode::Shared, nullptr);
    const int status = ui::startDesk(paths, &menu);
    if (status != 0) {
        return status;
    }
    return app.exec();
}
