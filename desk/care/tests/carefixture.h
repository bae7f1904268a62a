#pragma once
// The maintenance screen over temporary copies of the shipped files, its
// boxes and file dialogs answered by script.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "fkeyrow.h"
#include "frmhosyu.h"
#include "lookups.h"
#include "platform.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "testfiles.h"
#include "upgrade.h"
#include "vxcmdbtn.h"

struct CareFixture {
    TestFiles files;
    std::unique_ptr<care::FrmHosyu> screen;

    explicit CareFixture(const std::function<void(core::db::Database& data)>& prepare = {}) {
        {
            auto data = files.data();
            auto work = files.work();
            core::createNewTable(*data, *work);
            if (prepare) {
                prepare(*data);
            }
        }
        QString error;
        if (!core::startUp(files.paths, &error)) {
            qFatal("%s", qPrintable(error));
        }
        ui::MessageBoxes::script();
        ui::FileDialogs::script({});
        core::screenHistory().clear();
    }
    ~CareFixture() {
        screen.reset();
        ui::MessageBoxes::unscript();
        ui::FileDialogs::unscript();
        core::shutDown();
    }
    care::FrmHosyu& open() {
        screen = std::make_unique<care::FrmHosyu>();
        return *screen;
    }

    template <typename T> T* child(const char* name) const {
        T* w = screen->findChild<T*>(QString::fromUtf8(name));
        if (!w) {
            qFatal("no control %s", name);
        }
        return w;
    }
    QString text(const char* name) const {
        if (auto* c = screen->findChild<QComboBox*>(QString::fromUtf8(name))) {
            return c->currentText();
        }
        return child<QLineEdit>(name)->text();
    }
    void type(const char* name, const QString& value) const {
        if (auto* c = screen->findChild<QComboBox*>(QString::fromUtf8(name))) {
            if (c->isEditable()) {
                c->setEditText(value);
            } else {
                c->setCurrentIndex(c->findText(value));
            }
        } else {
            child<QLineEdit>(name)->setText(value);
        }
    }
    bool checked(const char* name) const {
        if (auto* r = screen->findChild<QRadioButton*>(QString::fromUtf8(name))) {
            return r->isChecked();
        }
        return child<QCheckBox>(name)->isChecked();
    }
    void click(const char* name) const { child<vx::VxCmdBtn>(name)->DoClick(); }
    core::db::Database& data() const { return *core::dataDb(); }
    QVariant stored(const char* field) const {
        return data().scalar(
            QStringLiteral("select %1 from 自社情報").arg(QString::fromUtf8(field)));
    }
    int count(const char* table) const {
        return data()
            .scalar(QStringLiteral("select count(*) from ") + QString::fromUtf8(table))
            .toInt();
    }
    QStringList askedTexts() const {
        QStringList out;
        for (const auto& a : ui::MessageBoxes::asked()) {
            out << a.text;
        }
        return out;
    }
};

inline void addCustomer(core::db::Database& data, int code, const QString& name,
                        const QStringList& numbers) {
    data.execute("insert into 顧客マスタ (code, 名称, ふりがな) values (?, ?, ?)",
                 {code, name, name});
    int no = 1;
    for (const QString& n : numbers) {
        data.execute("insert into 電話番号 (code, no, 名称, 電話番号) values (?, ?, ?, ?)",
                     {code, no++, name, n});
    }
}

inline void logCall(core::db::Database& data, const QDateTime& when, int code, const QString& name,
                    const QString& number) {
    if (!data.execute(
            "insert into 着信履歴 (日付, code, 名称, 電話番号, 済) values (?, ?, ?, ?, False)",
            {when, code, name, number})) {
        qFatal("%s", qPrintable(data.lastError()));
    }
}
