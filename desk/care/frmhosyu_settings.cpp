// The 設定 tab, and reading, writing and clearing the settings row.

#include "frmhosyu.h"

#include "accessible.h"
#include "database.h"
#include "paths.h"
#include "platform.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "vxcmdbtn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <sqlite3.h>

using core::db::Recordset;

namespace care {
namespace {

QString text(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

// A field shows its box on only when it holds True; fallback is for Null.
void showFlag(QCheckBox* box, const QVariant& v, bool whenNull = false) {
    box->setChecked(v.isNull() ? whenNull : v.toBool());
}

// A drop-down list shows a stored text it offers; any other text is refused
// and the box stays as it was. Null empties it.
void showListText(QComboBox* box, const QVariant& v) {
    if (v.isNull()) {
        box->setCurrentIndex(-1);
        return;
    }
    const int i = box->findText(v.toString());
    if (i >= 0) {
        box->setCurrentIndex(i);
    }
}

QVariant nullWhenEmpty(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}

} // namespace

QWidget* FrmHosyu::buildSettingsTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("Tab設定"));
    auto* g = new QGridLayout(tab);
    auto named = [tab](auto* w, const char* name) {
        w->setObjectName(QString::fromUtf8(name));
        return w;
    };
    auto check = [&](const char* name, const char* caption) {
        return named(new QCheckBox(QString::fromUtf8(caption), tab), name);
    };
    auto labelled = [&](QWidget* control, const char* caption, int row, int col, int span = 1) {
        auto* l = new QLabel(QString::fromUtf8(caption), tab);
        g->addWidget(l, row, col);
        g->addWidget(control, row, col + 1, 1, span);
        ui::nameByLabel(control, l);
    };

    cmb年号_ = named(new QComboBox(tab), "cmb年号");
    chkYubinEria_ = check("chkYubinEria", "郵便番号辞書エリア");
    txtYubinEriaName_ = named(new QLineEdit(tab), "txtYubinEriaName");
    chk着信認識_ = check("chk着信認識", "着信認識する");
    chk敬称_ = check("Chk敬称", "敬称の自動登録");
    chk担当_ = check("Chk担当", "担当の自動登録");
    chk用件1_ = check("Chk用件1", "用件１の自動登録");
    chk用件2_ = check("Chk用件2", "用件２の自動登録");
    chk電話名称_ = check("Chk電話名称", "電話名称の自動登録");
    cmb履歴自動削除_ = named(new QComboBox(tab), "cmb履歴自動削除");
    cmb着信読込_ = named(new QComboBox(tab), "cmb着信読込");
    cmb着信フォーム_ = named(new QComboBox(tab), "cmb着信フォーム");
    chk着信サウンド_ = check("Chk着信サウンド", "着信時サウンド");
    txtWaveFileName_ = named(new QLineEdit(tab), "txtWaveFileName");

    int r = 0;
    labelled(cmb年号_, "年   号", r++, 0);
    g->addWidget(chkYubinEria_, r, 0, 1, 2);
    labelled(txtYubinEriaName_, " エリア名", r++, 2);
    g->addWidget(chk敬称_, r, 0, 1, 2);
    g->addWidget(chk担当_, r++, 2, 1, 2);
    g->addWidget(chk用件1_, r, 0, 1, 2);
    g->addWidget(chk用件2_, r++, 2, 1, 2);
    g->addWidget(chk電話名称_, r++, 0, 1, 2);
    g->addWidget(chk着信認識_, r++, 0, 1, 2);
    labelled(cmb履歴自動削除_, "着信履歴の自動削除", r++, 0);
    labelled(cmb着信読込_, "着信読込", r++, 0);
    labelled(cmb着信フォーム_, "着信待画面", r++, 0);
    g->addWidget(chk着信サウンド_, r++, 0, 1, 2);
    labelled(txtWaveFileName_, "サウンドファイル名", r, 0, 2);
    g->addWidget(makeButton(QStringLiteral("cmdWaveFilePath"), QStringLiteral("参照..."), tab), r++,
                 3);
    auto* hint = makeButton(QStringLiteral("cmdHint1"), QStringLiteral("?"), tab);
    hint->setEnabled(false); // the hint window comes with its own screen
    g->addWidget(hint, r++, 3, Qt::AlignRight);
    g->setRowStretch(r, 1);
    g->setColumnStretch(3, 1);

    for (QWidget* w : std::initializer_list<QWidget*>{cmb年号_, chkYubinEria_, chk敬称_, chk担当_,
                                                      chk用件1_, chk用件2_, chk着信認識_,
                                                      cmb履歴自動削除_, cmb着信フォーム_}) {
        w->installEventFilter(this);
    }
    return tab;
}

bool FrmHosyu::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (settingsKey(o, k->key())) {
            return true;
        }
        // The era is chosen from the drop-down list only: typing, arrows and
        // every other key are dropped; Tab still moves on, and Alt+Down or
        // F4 still opens the list.
        if (o == cmb年号_ && k->key() != Qt::Key_Tab && k->key() != Qt::Key_Backtab &&
            k->key() != Qt::Key_F4 &&
            !(k->key() == Qt::Key_Down && (k->modifiers() & Qt::AltModifier))) {
            return true;
        }
    } else if (e->type() == QEvent::FocusOut) {
        auto* f = static_cast<QFocusEvent*>(e);
        if (f->reason() != Qt::PopupFocusReason) {
            lineBoxLeft(o);
        }
    }
    return QWidget::eventFilter(o, e);
}

// The key chains of the 設定 tab; true when the key moved the focus.
bool FrmHosyu::settingsKey(QObject* o, int key) {
    struct Chain {
        QWidget* from;
        QWidget* next;
        int forward;
        QWidget* previous;
        int backward;
    };
    const Chain chains[] = {
        {cmb年号_, chkYubinEria_, Qt::Key_Right, nullptr, 0},
        {chkYubinEria_, txtYubinEriaName_, Qt::Key_Down, cmb年号_, Qt::Key_Up},
        {chk敬称_, chk担当_, Qt::Key_Down, txtYubinEriaName_, Qt::Key_Up},
        {chk担当_, chk用件1_, Qt::Key_Down, chk敬称_, Qt::Key_Up},
        {chk用件1_, chk用件2_, Qt::Key_Down, chk担当_, Qt::Key_Up},
        {chk用件2_, chk着信認識_, Qt::Key_Down, chk用件1_, Qt::Key_Up},
        {chk着信認識_, cmb履歴自動削除_, Qt::Key_Down, chk用件2_, Qt::Key_Up},
        {cmb履歴自動削除_, cmb着信読込_, Qt::Key_Right, chk着信認識_, Qt::Key_Left},
        {cmb着信フォーム_, cmb年号_, Qt::Key_Right, cmb履歴自動削除_, Qt::Key_Left},
    };
    for (const Chain& c : chains) {
        if (o != c.from) {
            continue;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == c.forward) {
            c.next->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (c.previous && key == c.backward) {
            c.previous->setFocus(Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void FrmHosyu::Read自社情報() {
    Recordset rs = core::dataDb()->openRecordset(QStringLiteral("select * from 自社情報"));
    if (!rs.isOpen() || rs.eof()) {
        return; // no row: the controls keep what they show
    }
    auto f = [&rs](const char* name) { return rs.field(QString::fromUtf8(name)); };
    if (const QVariant v = f("年号"); !v.isNull()) {
        showListText(cmb年号_, v);
    }
    showFlag(chkYubinEria_, f("yubinlocalEriaSw"));
    txtYubinEriaName_->setText(text(f("YubinLocalEria")));
    showFlag(chk着信認識_, f("着信認識"));
    showFlag(chk敬称_, f("敬称登録"));
    showFlag(chk担当_, f("担当登録"));
    showFlag(chk用件1_, f("用件1登録"));
    showFlag(chk用件2_, f("用件2登録"));
    showFlag(chk電話名称_, f("電話名称登録"));
    showListText(cmb履歴自動削除_, f("履歴自動削除"));
    showListText(cmb着信読込_, f("着信読込"));
    showListText(cmb着信フォーム_, f("着信フォーム"));
    showFlag(chk着信サウンド_, f("着信サウンド"), true);
    const QVariant sound = f("着信サウンドパス");
    txtWaveFileName_->setText(sound.isNull() ? core::kDefaultSoundName : sound.toString());
    readLineBoxes(rs);
}

void FrmHosyu::Entry自社情報() {
    if (!ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("確認"), QStringLiteral("設定"))) {
        return;
    }
    core::db::Database& data = *core::dataDb();
    Recordset rs = data.openRecordset(QStringLiteral("select * from 自社情報"),
                                      Recordset::Kind::Dynaset);
    const bool isNew = !rs.isOpen() || rs.eof();
    const bool started = isNew ? rs.addNew() : rs.edit();
    auto set = [&rs](const char* name, const QVariant& v) {
        rs.setField(QString::fromUtf8(name), v); // a value the field refuses is skipped
    };
    if (!cmb年号_->currentText().isEmpty()) {
        set("年号", cmb年号_->currentText());
    }
    set("yubinlocalEriaSw", chkYubinEria_->isChecked());
    set("YubinLocalEria", nullWhenEmpty(txtYubinEriaName_->text()));
    set("着信認識", chk着信認識_->isChecked());
    set("敬称登録", chk敬称_->isChecked());
    set("担当登録", chk担当_->isChecked());
    set("用件1登録", chk用件1_->isChecked());
    set("用件2登録", chk用件2_->isChecked());
    set("電話名称登録", chk電話名称_->isChecked());
    set("履歴自動削除", nullWhenEmpty(cmb履歴自動削除_->currentText()));
    set("着信読込", nullWhenEmpty(cmb着信読込_->currentText()));
    set("着信フォーム", nullWhenEmpty(cmb着信フォーム_->currentText()));
    set("着信サウンド", chk着信サウンド_->isChecked());
    set("着信サウンドパス", txtWaveFileName_->text().isEmpty() ? core::kDefaultSoundName
                                                               : txtWaveFileName_->text());
    entryLineBoxes(rs);
    // A row that was not stored is said so: the office must not believe its
    // new adapter or port is in use when it is not.
    if (!started || !rs.update()) {
        QString why = rs.lastError();
        if (why.isEmpty()) {
            why = data.lastError();
        }
        rs.cancelUpdate();
        ui::ShowMsg(QStringLiteral("データ保守"), QStringLiteral("登録失敗"),
                    QStringLiteral("設定: ") + why);
        cmb年号_->setFocus();
        return;
    }
    rs.close();
    ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("完了"), QStringLiteral("設定"));
    cmb年号_->setFocus();
}

void FrmHosyu::Clear保守画面() {
    cmb年号_->setCurrentIndex(cmb年号_->findText(QStringLiteral("西暦")));
    chkYubinEria_->setChecked(false);
    txtYubinEriaName_->clear();
    for (QCheckBox* b : {chk着信認識_, chk敬称_, chk担当_, chk用件1_, chk用件2_, chk電話名称_,
                         chk着信サウンド_}) {
        b->setChecked(true);
    }
    cmb履歴自動削除_->setCurrentIndex(cmb履歴自動削除_->findText(QStringLiteral("自動削除しない")));
    cmb着信読込_->setCurrentIndex(cmb着信読込_->findText(QStringLiteral("本日分のみ")));
    cmb着信フォーム_->setCurrentIndex(cmb着信フォーム_->findText(QStringLiteral("簡易画面")));
    txtWaveFileName_->setText(core::kDefaultSoundName);
    clearLineBoxes();
}

void FrmHosyu::GetWaveFile() {
    ui::DialogRecord r;
    r.title = QStringLiteral("着信サウンドファイルを指定する");
    r.filter = QStringLiteral("WAV ファイル(*.wav)|*.wav|");
    r.filterIndex = 1;
    // There is no drive root to start from here; the shipped sound lives in
    // the data directory.
    r.initialDir = core::paths().dataDir;
    if (ui::ShowOpenDialog(this, r)) {
        txtWaveFileName_->setText(r.path);
    }
}

} // namespace care
