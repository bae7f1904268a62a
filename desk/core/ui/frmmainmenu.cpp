#include "frmmainmenu.h"

#include "accessible.h"
#include "platform.h"
#include "schema.h"
#include "screens.h"
#include "startup.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QVBoxLayout>

namespace ui {
namespace {

struct MenuEntry {
    const char* button;
    const char* caption;
    const char* screen;
};
constexpr MenuEntry kEntries[] = {
    {"cmd顧客管理", "顧客管理", "FrmCti"}, {"cmd着信一覧", "着信一覧", "FrmTyakusinList"},
    {"cmd顧客", "顧客", "FrmKokyakuList"}, {"cmdコード表", "コード表", "FrmCodeMaster"},
    {"cmd保守", "保守", "FrmHosyu"},
};

} // namespace

QString FrmMainMenu::screenOf(const QString& buttonName) {
    for (const MenuEntry& e : kEntries) {
        if (buttonName == QString::fromUtf8(e.button)) {
            return QString::fromUtf8(e.screen);
        }
    }
    return {};
}

FrmMainMenu::FrmMainMenu(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FrmMainMenu"));
    setWindowTitle(QStringLiteral("RBCTI Pro"));
    ui::nameWindow(this);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int i = 0;
    for (const MenuEntry& e : kEntries) {
        vx::VxCmdBtn* b = addButton(QString::fromUtf8(e.button), QString::fromUtf8(e.caption));
        const QString screen = QString::fromUtf8(e.screen);
        // A screen that is not built yet is not offered.
        b->setEnabled(screens().available(screen));
        connect(b, &vx::VxCmdBtn::Click, this, [this, screen] { screens().open(screen, this); });
        grid->addWidget(b, i / 2, i % 2);
        ++i;
    }
    vx::VxCmdBtn* close = addButton(QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"));
    connect(close, &vx::VxCmdBtn::Click, this, &QWidget::close);
    grid->addWidget(close, i / 2, i % 2);
    layout->addLayout(grid);
    auto* version = new QLabel(QStringLiteral(" Ver ") + core::schema::kVersion, this);
    version->setObjectName(QStringLiteral("LblVersion"));
    version->setAlignment(Qt::AlignRight);
    layout->addWidget(version);
    resize(360, 220);
}

vx::VxCmdBtn* FrmMainMenu::addButton(const QString& name, const QString& caption) {
    auto* b = new vx::VxCmdBtn(caption, this);
    b->setObjectName(name);
    b->setMinimumSize(150, 48);
    b->setFontSize(12);
    return b;
}

void FrmMainMenu::closeEvent(QCloseEvent* e) {
    if (closing_) {
        e->accept();
        return;
    }
    closing_ = true;
    // Data database, then work database.
    core::shutDown();
    screens().closeAllBut(this);
    e->accept();
    EndWindowProcess(this);
}

} // namespace ui
