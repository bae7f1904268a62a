#pragma once
// A call desk over temporary copies of the shipped files, its line on a
// pseudo-terminal, its boxes answered by script and its sound silent.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>

#include "datebox.h"
#include "dateformat.h"
#include "decoder.h"
#include "frmcti.h"
#include "handover.h"
#include "lookups.h"
#include "platform.h"
#include "ptypair.h"
#include "screens.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "testfiles.h"
#include "upgrade.h"
#include "vxcmdbtn.h"
#include "worktablemodel.h"

struct DeskFixture {
    TestFiles files;
    PtyPair pty;
    std::unique_ptr<desk::FrmCti> desk;
    QStringList sounds;

    explicit DeskFixture(const std::function<void(core::db::Database& data)>& prepare = {}) {
        QFile conf(files.paths.dataDir + "ports.conf");
        conf.open(QIODevice::WriteOnly);
        conf.write(("1=" + pty.slavePath + "\n").toLocal8Bit());
        conf.close();
        {
            auto data = files.data();
            auto work = files.work();
            core::createNewTable(*data, *work);
            data->execute("update 自社情報 set NAdapter = 'アロハPC1', 年号 = '西暦', 着信読込 = "
                          "'１週間以内分'");
            if (prepare) {
                prepare(*data);
            }
        }
        QString error;
        if (!core::startUp(files.paths, &error)) {
            qFatal("%s", qPrintable(error));
        }
        ui::MessageBoxes::script();
        desk::FrmCti::soundPlayer() = [this](const QString& path) { sounds << path; };
        desk::FrmCti::activatedFlag() = false;
        desk::FrmCti::decoder() = callerid::Decoder{};
        core::handOver() = {};
    }
    ~DeskFixture() {
        desk.reset();
        ui::MessageBoxes::unscript();
        desk::FrmCti::clock() = [] { return QDateTime::currentDateTime(); };
        core::shutDown();
    }
    desk::FrmCti& open() {
        desk = std::make_unique<desk::FrmCti>();
        return *desk;
    }

    template <typename T> T* child(const char* name) const {
        T* w = desk->findChild<T*>(QString::fromUtf8(name));
        if (!w) {
            qFatal("no control %s", name);
        }
        return w;
    }
    QString text(const char* name) const {
        if (auto* c = desk->findChild<QComboBox*>(QString::fromUtf8(name))) {
            return c->currentText();
        }
        if (auto* e = desk->findChild<QLineEdit*>(QString::fromUtf8(name))) {
            return e->text();
        }
        if (auto* l = desk->findChild<QLabel*>(QString::fromUtf8(name))) {
            return l->text();
        }
        qFatal("no text control %s", name);
    }
    void type(const char* name, const QString& value) const {
        if (auto* c = desk->findChild<QComboBox*>(QString::fromUtf8(name))) {
            c->setEditText(value);
        } else {
            child<QLineEdit>(name)->setText(value);
        }
    }
    void click(const char* name) const { child<vx::VxCmdBtn>(name)->DoClick(); }
    // The operator types a number into a cell of the numbers grid and
    // presses Enter; the desk's checks then run as they do for a person.
    void typeNumber(int row, const QString& value) const {
        auto* grid = child<QTableView>("Grid電話番号");
        const QModelIndex cell = desk->numbersModel()->index(row, 1);
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        if (!editor) {
            qFatal("no editor on the numbers grid");
        }
        editor->setText(value);
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor commits once events run; the check follows it at once.
        QPointer<QLineEdit> open = editor;
        if (!QTest::qWaitFor([open] { return !open || open->isHidden(); }, 2000)) {
            qFatal("the numbers grid's editor did not close");
        }
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // Shown and active, so that focus, keys and shortcuts act as for a person.
    bool showActive() const {
        desk->show();
        QApplication::setActiveWindow(desk.get());
        return QTest::qWaitForWindowActive(desk.get());
    }
    core::db::Database& data() const { return *core::dataDb(); }
    core::db::Database& work() const { return *core::workDb(); }
    QStringList numbers() const {
        QStringList out;
        for (int i = 0; i < desk->numbersModel()->rowCount(); ++i) {
            out << desk->numbersModel()->value(i, "電話番号").toString();
        }
        return out;
    }
    QVariant listValue(int row, const char* field) const {
        return desk->listModel()->value(row, QString::fromUtf8(field));
    }
};

// A log row of the call log.
inline void logCall(core::db::Database& data, const QDateTime& when, int code, const QString& name,
                    const QString& number, const QString& purpose = {}) {
    if (!data.execute(
            "insert into 着信履歴 (日付, code, 名称, 電話番号, 用件1, 済) values (?, ?, ?, ?, ?, "
            "False)",
            {when, code, name, number, purpose.isEmpty() ? QVariant() : QVariant(purpose)})) {
        qFatal("%s", qPrintable(data.lastError()));
    }
}

inline void addCustomer(core::db::Database& data, int code, const QString& name,
                        const QStringList& numbers, const QString& kana = {}) {
    data.execute("insert into 顧客マスタ (code, 名称, ふりがな, 住所1) values (?, ?, ?, '東京都')",
                 {code, name, kana.isEmpty() ? name : kana});
    int no = 1;
    for (const QString& n : numbers) {
        data.execute(
            "insert into 電話番号 (code, no, 名称, 電話名称, 電話番号) values (?, ?, ?, '会社', ?)",
            {code, no++, name, n});
    }
}
