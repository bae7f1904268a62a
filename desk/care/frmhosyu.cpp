#include "frmhosyu.h"

#include "accessible.h"
#include "fkeyrow.h"
#include "hint.h"
#include "lookups.h"
#include "paths.h"
#include "screens.h"
#include "settings.h"
#include "startup.h"
#include "vxcmdbtn.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace care {

vx::VxCmdBtn* makeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new vx::VxCmdBtn(caption, parent);
    b->setObjectName(name);
    b->setMinimumSize(72, 28);
    return b;
}

FrmHosyu::FrmHosyu(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FrmHosyu"));
    setWindowTitle(QStringLiteral("保守"));
    auto* root = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->addTab(buildSettingsTab(), QStringLiteral("設定"));
    tabs_->addTab(buildDataCareTab(), QStringLiteral("データ保守"));
    tabs_->addTab(buildLineTab(), QStringLiteral("ナンバーディスプレイ"));
    tabs_->addTab(buildDeletionTab(), QStringLiteral("データ一括削除"));
    tabs_->addTab(buildInfoTab(), QStringLiteral("Info"));
    root->addWidget(tabs_, 1);

    root->addWidget(new ui::FunctionKeyRow(
        {{Qt::Key_F1, QStringLiteral("戻る"), QStringLiteral("cmd戻る")},
         {Qt::Key_F2, QStringLiteral("メイン"), QStringLiteral("cmdメニュー")},
         {Qt::Key_F5, QStringLiteral("登録"), QStringLiteral("cmd登録")},
         {Qt::Key_F9, QStringLiteral("クリア"), QStringLiteral("cmdクリア")},
         {Qt::Key_Escape, QStringLiteral("閉じる"), QStringLiteral("cmd閉じる")}},
        this));
    auto* buttons = new QHBoxLayout;
    for (auto [n, c] : {std::pair{"cmd戻る", "戻る"},
                        {"cmdメニュー", "メイン"},
                        {"cmdクリア", "クリア"},
                        {"cmd登録", "登録"},
                        {"cmd閉じる", "閉じる"}}) {
        buttons->addWidget(makeButton(QString::fromUtf8(n), QString::fromUtf8(c), this));
    }
    root->addLayout(buttons);
    ui::nameWindow(this);
    connectCommands();

    // Opening, in the order of the procedure.
    fillFixedLists();
    Read自社情報();
    core::loadSettings(*core::dataDb(), core::settings(), core::paths().defaultSoundPath());
    if (cmbNAdapter_->currentText().isEmpty()) {
        SetNDspDefaultset(); // no settings row yet
    }
    resize(640, 520);
}

FrmHosyu::~FrmHosyu() = default;

void FrmHosyu::fillFixedLists() {
    cmb年号_->clear();
    cmb年号_->addItems({QStringLiteral("西暦"), QStringLiteral("和暦")});
    cmb年号_->setCurrentIndex(0);
    cmb履歴自動削除_->clear();
    cmb履歴自動削除_->addItems(
        {QStringLiteral("自動削除しない"), QStringLiteral("1週間より前は削除"),
         QStringLiteral("１ヶ月より前は削除"), QStringLiteral("３ヶ月より前は削除")});
    cmb履歴自動削除_->setCurrentIndex(-1);
    cmb着信読込_->clear();
    cmb着信読込_->addItems({QStringLiteral("本日分のみ"), QStringLiteral("３日以内分"),
                            QStringLiteral("１週間以内分")});
    cmb着信読込_->setCurrentIndex(-1);
    cmb着信フォーム_->clear();
    cmb着信フォーム_->addItems({QStringLiteral("簡易画面"), QStringLiteral("通常画面")});
    cmb着信フォーム_->setCurrentIndex(-1);
    cmbNAdapter_->clear();
    cmbNAdapter_->addItems(
        {QStringLiteral("アロハPC1"), QStringLiteral("ＩＮＳメイト Ｖ－８ＤＳＵ"),
         QStringLiteral("ＩＮＳメイト Ｖ－３０ＤＳＵ"),
         QStringLiteral("ナンバーディスプレイアダプタ３０"), QStringLiteral("その他")});
    cmbNAdapter_->setEditText(QString());
}

void FrmHosyu::connectCommands() {
    auto on = [this](const char* name, std::function<void()> f) {
        connect(findChild<vx::VxCmdBtn*>(QString::fromUtf8(name)), &vx::VxCmdBtn::Click, this, f);
    };
    on("cmd戻る", [this] { back(); });
    on("cmdメニュー", [this] { toMainMenu(); });
    on("cmdクリア", [this] {
        Clear保守画面();
        cmb年号_->setFocus();
    });
    on("cmd登録", [this] {
        Entry自社情報();
        core::loadSettings(*core::dataDb(), core::settings(), core::paths().defaultSoundPath());
    });
    on("cmd閉じる", [this] { close(); });
    on("cmdWaveFilePath", [this] { GetWaveFile(); });
    on("cmdFD書込", [this] { FDDBuckUp(); });
    on("cmdFD読込", [this] { RestoreFromFloppy(); });
    on("cmdHD書込", [this] { SaveDataFileToHdd(); });
    on("cmdHD読込", [this] { ReadDataFileFromHdd(); });
    on("cmd一括削除5", [this] { DeleteAllData(); });
    on("cmd一括削除2", [this] { DeleteAllKokyaku(true); });
    on("cmd一括削除3", [this] { DeleteCodeTables(); });
    on("cmd一括削除4", [this] { DeleteAll着信履歴(); });
    on("cmd一括削除1", [this] { DelSiteiKokyaku(txt顧客コード_->text()); });
    on("cmd顧客参照", [this] { PickKokyaku(); });
    for (const char* hint : {"cmdHint1", "cmdHint2", "cmdHint3", "cmdHint4"}) {
        on(hint, [this, hint] { masters::OpenHint(this, QString::fromUtf8(hint)); });
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int i) {
        if (tabs_->tabText(i) == QStringLiteral("Info")) {
            RefreshInfo();
        }
    });
}

void FrmHosyu::back() {
    const std::optional<bool> popped =
        core::screenHistory().FormHistory(QStringLiteral("POP"), objectName());
    if (!popped.value_or(false)) {
        return; // the history was empty: the call desk has been shown instead
    }
    if (ui::screens().openWindows().size() < 2) {
        ui::screens().show(QStringLiteral("FrmCti"));
    }
    close();
}

void FrmHosyu::toMainMenu() {
    core::screenHistory().FormHistory(QStringLiteral("PUSH"), objectName());
    ui::Screens::showMainMenu();
}

} // namespace care
