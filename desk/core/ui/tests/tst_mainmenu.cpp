#include <QAccessible>
#include <QCloseEvent>
#include <QLabel>
#include <QTest>

#include "deskapp.h"
#include "frmmainmenu.h"
#include "lookups.h"
#include "platform.h"
#include "screens.h"
#include "showmsg.h"
#include "startup.h"
#include "testfiles.h"
#include "vxcmdbtn.h"

namespace {

// A screen that notes its own closing, as real screens run their logic.
class TestScreen : public QWidget {
public:
    explicit TestScreen(QStringList* log)
        : log_(log) {}

protected:
    void closeEvent(QCloseEvent* e) override {
        *log_ << objectName() + QStringLiteral(" closed, data open: ") +
                     (core::dataDb() ? QStringLiteral("yes") : QStringLiteral("no"));
        e->accept();
    }

private:
    QStringList* log_;
};

} // namespace

class TestMainMenu : public QObject {
    Q_OBJECT
    QStringList log_;
    int ended_ = -1;

private slots:
    void init() {
        ui::MessageBoxes::script();
        ui::processEnder() = [this](int status) { ended_ = status; };
        ended_ = -1;
        log_.clear();
        ui::screens().clear();
        core::screenHistory().clear();
    }
    void cleanup() {
        ui::MessageBoxes::unscript();
        core::shutDown();
    }

    void menuOffersOnlyBuiltScreens() {
        TestFiles files;
        ui::screens().registerScreen("FrmCti", [this] { return new TestScreen(&log_); });
        std::unique_ptr<ui::FrmMainMenu> menu;
        QCOMPARE(ui::startDesk(files.paths, &menu), 0);
        QCOMPARE(menu->windowTitle(), "RBCTI Pro");
        QCOMPARE(menu->findChild<QLabel*>("LblVersion")->text(), " Ver 2.18");
        const QList<QPair<const char*, const char*>> buttons = {
            {"cmdコード表", "コード表"}, {"cmd顧客", "顧客"}, {"cmd顧客管理", "顧客管理"},
            {"cmd着信一覧", "着信一覧"}, {"cmd保守", "保守"}, {"cmd閉じる", "閉じる"}};
        for (const auto& [name, caption] : buttons) {
            auto* b = menu->findChild<vx::VxCmdBtn*>(QString::fromUtf8(name));
            QVERIFY2(b, name);
            QCOMPARE(b->caption(), QString::fromUtf8(caption));
            // Announced as a push button by its caption.
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
            QCOMPARE(a->role(), QAccessible::PushButton);
            QCOMPARE(a->text(QAccessible::Name), QString::fromUtf8(caption));
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(menu.get())->text(QAccessible::Name),
                 "RBCTI Pro");
        QVERIFY(menu->findChild<vx::VxCmdBtn*>("cmd顧客管理")->isEnabled());
        QVERIFY(!menu->findChild<vx::VxCmdBtn*>("cmd保守")->isEnabled());
        QVERIFY(menu->findChild<vx::VxCmdBtn*>("cmd閉じる")->isEnabled());
        QVERIFY(core::dataDb() && core::workDb());
    }

    void openingAScreenPushesAndReuses() {
        TestFiles files;
        int made = 0;
        ui::screens().registerScreen("FrmCti", [&] {
            ++made;
            return new TestScreen(&log_);
        });
        std::unique_ptr<ui::FrmMainMenu> menu;
        QCOMPARE(ui::startDesk(files.paths, &menu), 0);
        auto* open = menu->findChild<vx::VxCmdBtn*>("cmd顧客管理");
        open->DoClick();
        QWidget* desk = ui::screens().loaded("FrmCti");
        QVERIFY(desk && desk->isVisible());
        QCOMPARE(core::screenHistory().entry(0), "FrmMainMenu");
        desk->showMinimized();
        open->DoClick(); // again: the same window, brought back, pushed again
        QCOMPARE(made, 1);
        QCOMPARE(ui::screens().loaded("FrmCti"), desk);
        QVERIFY(!(desk->windowState() & Qt::WindowMinimized));
        QCOMPARE(core::screenHistory().entry(1), "FrmMainMenu");
        // A POP from the screen history shows the form through the manager.
        QCOMPARE(core::screenHistory().FormHistory("POP", "FrmCti"), std::optional<bool>(true));
    }

    void closingTheMenuClosesEverythingInOrder() {
        TestFiles files;
        for (const char* name : {"FrmCti", "FrmHosyu", "FrmCodeMaster"}) {
            ui::screens().registerScreen(name, [this] { return new TestScreen(&log_); });
        }
        std::unique_ptr<ui::FrmMainMenu> menu;
        QCOMPARE(ui::startDesk(files.paths, &menu), 0);
        ui::screens().open("FrmCti", menu.get());
        ui::screens().open("FrmCodeMaster", menu.get());
        ui::screens().open("FrmHosyu", menu.get());
        menu->findChild<vx::VxCmdBtn*>("cmd閉じる")->DoClick();
        QCOMPARE(log_, (QStringList{"FrmHosyu closed, data open: no",
                                    "FrmCodeMaster closed, data open: no",
                                    "FrmCti closed, data open: no"}));
        QVERIFY(!core::dataDb() && !core::workDb());
        QCOMPARE(ended_, 0);
    }

    void aDatabaseThatCannotBeOpenedEndsTheStart() {
        TestFiles files;
        QVERIFY(QFile::remove(files.paths.dataDb));
        std::unique_ptr<ui::FrmMainMenu> menu;
        QCOMPARE(ui::startDesk(files.paths, &menu), 1);
        QVERIFY(!menu);
        const auto asked = ui::MessageBoxes::asked();
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked.first().text.contains("RbCtiData2K.mdb"), qPrintable(asked.first().text));
        QVERIFY(!QFileInfo::exists(files.paths.dataDb));
    }
};

QTEST_MAIN(TestMainMenu)
#include "tst_mainmenu.moc"
