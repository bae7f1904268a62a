// The ナンバーディスプレイ tab: reception mode, terminal adapter, caller-ID
// adapter and the serial settings, with each adapter's defaults.

#include "frmhosyu.h"

#include "accessible.h"
#include "database.h"
#include "paths.h"
#include "serialline.h"
#include "settings.h"
#include "startup.h"
#include "vxcmdbtn.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>

using core::db::Recordset;

namespace care {
namespace {

const QString kDefaultAdapter = QStringLiteral("アロハPC1");

// The serial and adapter boxes, as the desk's lists: typed into or picked,
// read and written through their text.
QComboBox* lineBox(QWidget* parent, const char* name, const QStringList& items, bool digits) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromUtf8(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setEditText(QString());
    if (digits) {
        // The program reads these as numbers.
        c->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}")), c));
    }
    return c;
}

QString text(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

} // namespace

QWidget* FrmHosyu::buildLineTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("Tabナンバーディスプレイ"));
    auto* g = new QGridLayout(tab);
    auto* modes = new QButtonGroup(tab);
    // The three options stand in one row.
    int col = 0;
    for (auto [name, caption] : {std::pair{"Opt受信モード1", "受信モード　１"},
                                 {"Opt受信モード2", "受信モード　２"},
                                 {"Opt受信モード3", "受信モード　３"}}) {
        auto* o = new QRadioButton(QString::fromUtf8(caption), tab);
        o->setObjectName(QString::fromUtf8(name));
        modes->addButton(o);
        g->addWidget(o, 0, col++);
    }
    opt受信モード1_ = tab->findChild<QRadioButton*>(QStringLiteral("Opt受信モード1"));
    opt受信モード2_ = tab->findChild<QRadioButton*>(QStringLiteral("Opt受信モード2"));
    opt受信モード3_ = tab->findChild<QRadioButton*>(QStringLiteral("Opt受信モード3"));

    cmbTA_ = lineBox(tab, "cmbTA", {}, false);
    cmbNAdapter_ = lineBox(tab, "cmbNAdapter", {}, false);
    cmbポート番号_ = lineBox(tab, "cmbポート番号", {"1", "2", "3", "4"}, true);
    cmbボーレート_ = lineBox(
        tab, "cmbボーレート",
        {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400"}, true);
    cmbパリティ_ = lineBox(tab, "cmbパリティ", {"なし", "偶数", "奇数"}, false);
    cmbデータビット_ = lineBox(tab, "cmbデータビット", {"7", "8"}, true);
    cmbストップビット_ = lineBox(tab, "cmbストップビット", {"1", "2"}, true);
    lblPortDevice_ = new QLabel(tab);
    lblPortDevice_->setObjectName(QStringLiteral("lblPortDevice"));

    int r = 1;
    auto labelled = [&](QComboBox* box, const char* caption) {
        auto* l = new QLabel(QString::fromUtf8(caption), tab);
        g->addWidget(l, r, 0);
        g->addWidget(box, r, 1, 1, 2);
        ui::nameByLabel(box, l);
        ++r;
    };
    labelled(cmbTA_, "ターミナルアダプタ");
    labelled(cmbNAdapter_, "ナンバーディスプレイアダプタ");
    labelled(cmbポート番号_, "ポート番号");
    g->addWidget(lblPortDevice_, r - 1, 3);
    labelled(cmbボーレート_, "ボーレート");
    labelled(cmbパリティ_, "パリティ");
    labelled(cmbデータビット_, "データビット");
    labelled(cmbストップビット_, "ストップビット");
    auto* hint = makeButton(QStringLiteral("cmdHint3"), QStringLiteral("?"), tab);
    hint->setEnabled(false); // the hint window comes with its own screen
    g->addWidget(hint, r++, 3, Qt::AlignRight);
    g->setRowStretch(r, 1);
    g->setColumnStretch(3, 1);

    for (QComboBox* c : {cmbTA_, cmbNAdapter_}) {
        c->installEventFilter(this);
    }
    connect(cmbポート番号_, &QComboBox::currentTextChanged, this, [this] { showPortDevice(); });
    return tab;
}

// The serial device the port number stands for on this machine, so the
// operator sees what the desk will open.
void FrmHosyu::showPortDevice() {
    bool ok = false;
    const int port = cmbポート番号_->currentText().toInt(&ok);
    lblPortDevice_->setText(ok && port > 0
                                ? QStringLiteral("デバイス: ") +
                                      callerid::deviceForPort(port, core::paths().dataDir)
                                : QString());
}

void FrmHosyu::readLineBoxes(const Recordset& rs) {
    auto f = [&rs](const char* name) { return rs.field(QString::fromUtf8(name)); };
    const QVariant mode = f("受信モード");
    const int m = mode.isNull() ? 1 : mode.toString().trimmed().toInt();
    (m == 3 ? opt受信モード3_ : m == 2 ? opt受信モード2_ : opt受信モード1_)->setChecked(true);
    cmbTA_->setEditText(text(f("TA")));
    auto show = [&](QComboBox* box, const char* field, const char* whenNull) {
        const QVariant v = f(field);
        box->setEditText(v.isNull() ? QString::fromUtf8(whenNull) : v.toString());
    };
    show(cmbNAdapter_, "NAdapter", "アロハPC1");
    show(cmbポート番号_, "ポート番号", "1");
    show(cmbボーレート_, "ボーレート", "9600");
    show(cmbパリティ_, "パリティ", "偶数");
    show(cmbデータビット_, "データビット", "7");
    show(cmbストップビット_, "ストップビット", "1");
}

void FrmHosyu::entryLineBoxes(Recordset& rs) {
    rs.setField(QStringLiteral("受信モード"),
                opt受信モード3_->isChecked() ? 3 : opt受信モード2_->isChecked() ? 2 : 1);
    // An emptied box keeps what is stored.
    for (auto [box, field] : {std::pair{cmbTA_, "TA"},
                              {cmbNAdapter_, "NAdapter"},
                              {cmbポート番号_, "ポート番号"},
                              {cmbボーレート_, "ボーレート"},
                              {cmbパリティ_, "パリティ"},
                              {cmbデータビット_, "データビット"},
                              {cmbストップビット_, "ストップビット"}}) {
        if (!box->currentText().isEmpty()) {
            rs.setField(QString::fromUtf8(field), box->currentText());
        }
    }
}

void FrmHosyu::clearLineBoxes() {
    opt受信モード1_->setChecked(true);
    cmbNAdapter_->setEditText(kDefaultAdapter);
    cmbポート番号_->setEditText(QStringLiteral("1"));
    cmbボーレート_->setEditText(QStringLiteral("9600"));
    cmbパリティ_->setEditText(QStringLiteral("偶数"));
    cmbデータビット_->setEditText(QStringLiteral("7"));
    cmbストップビット_->setEditText(QStringLiteral("1"));
}

void FrmHosyu::SetNDspDefaultset(std::optional<int> sw) {
    const bool toMemory = !sw || *sw == 10;
    const QString adapter = toMemory ? kDefaultAdapter : cmbNAdapter_->currentText();
    Recordset rs = core::dataDb()->openRecordset(
        QStringLiteral("select * from 通信マスタ where NAdapter= ?"), Recordset::Kind::Snapshot,
        {adapter});
    if (!rs.isOpen() || rs.eof()) {
        return;
    }
    auto f = [&rs](const char* name) { return text(rs.field(QString::fromUtf8(name))); };
    cmbTA_->setEditText(f("TA"));
    cmbNAdapter_->setEditText(f("NAdapter"));
    cmbストップビット_->setEditText(f("ストップビット"));
    cmbデータビット_->setEditText(f("データビット"));
    cmbパリティ_->setEditText(f("パリティ"));
    cmbポート番号_->setEditText(f("ポート番号"));
    cmbボーレート_->setEditText(f("ボーレート"));
    if (toMemory) {
        core::Settings& s = core::settings();
        s.TA = f("TA");
        s.NAdapter = f("NAdapter");
        s.パリティ = f("パリティ");
        s.データビット = static_cast<qint16>(f("データビット").toInt());
        s.ポート番号 = static_cast<qint16>(f("ポート番号").toInt());
        s.ストップビット = static_cast<qint16>(f("ストップビット").toInt());
        s.ボーレート = f("ボーレート").toInt();
    }
}

// Leaving the adapter boxes loads the chosen adapter's serial defaults.
void FrmHosyu::lineBoxLeft(QObject* box) {
    if (box == cmbNAdapter_) {
        SetNDspDefaultset(cmbNAdapter_->currentText() == kDefaultAdapter ? 10 : 0);
    } else if (box == cmbTA_) {
        const QString ta = cmbTA_->currentText();
        if (ta == QStringLiteral("ＩＮＳメイト Ｖ－８ＤＳＵ") ||
            ta == QStringLiteral("ＩＮＳメイト Ｖ－３０ＤＳＵ")) {
            SetNDspDefaultset(0);
        }
    }
}

} // namespace care
