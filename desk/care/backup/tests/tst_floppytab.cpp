#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include "frmhosyu.h"
#include "showmsg.h"
#include "startup.h"
#include "testfiles.h"
#include "vxcmdbtn.h"

// The maintenance screen's floppy rows, with drive A a folder named in
// drives.conf: a backup from the button and its restore.
class TestFloppyTab : public QObject {
    Q_OBJECT
private slots:
    void backupAndRestoreFromTheTab() {
        TestFiles files;
        QTemporaryDir floppy;
        {
            QFile conf(files.paths.dataDir + "drives.conf");
            QVERIFY(conf.open(QIODevice::WriteOnly));
            conf.write("A=" + floppy.path().toUtf8() + "\n");
        }
        QString error;
        QVERIFY2(core::startUp(files.paths, &error), qPrintable(error));
        {
            care::FrmHosyu screen;
            auto* save = screen.findChild<vx::VxCmdBtn*>("cmdFD書込");
            auto* read = screen.findChild<vx::VxCmdBtn*>("cmdFD読込");
            QVERIFY(save && read && save->isEnabled() && read->isEnabled());
            ui::MessageBoxes::script({true, true});
            save->DoClick();
            QVERIFY(QFile::exists(floppy.filePath("Ctictl")));
            QVERIFY(QFile::exists(floppy.filePath("ctidata.lzh")));
            QVERIFY(screen.findChild<QLabel*>("FddMsg")->isHidden());

            QVERIFY(core::dataDb()->execute("delete * from 通信マスタ"));
            ui::MessageBoxes::script({true, true, true});
            read->DoClick();
            QVERIFY(core::dataDb());
            QVERIFY(core::dataDb()->scalar("select count(*) from 通信マスタ").toInt() > 0);
        }
        ui::MessageBoxes::unscript();
        core::shutDown();
    }
};

QTEST_MAIN(TestFloppyTab)
#include "tst_floppytab.moc"
