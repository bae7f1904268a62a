#include "frmcti.h"

#include "database.h"
#include "datebox.h"
#include "dateformat.h"
#include "decoder.h"
#include "handover.h"
#include "intake.h"
#include "lineconfig.h"
#include "lookups.h"
#include "paths.h"
#include "platform.h"
#include "screens.h"
#include "serialline.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "vxcmdbtn.h"
#include "worktablemodel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSoundEffect>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

using core::db::Recordset;
using Kind = core::db::Recordset::Kind;

namespace desk {
namespace {

const QString kUnregistered = core::kUnregisteredName;

core::db::Database& dataDb() {
    return *core::dataDb();
}
core::db::Database& workDb() {
    return *core::workDb();
}

QString text(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

// The phone-name column edits with a drop-down over w電話名称 that also
// takes typed names.
class PhoneNameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("DD電話名称"));
        combo->setEditable(true);
        if (core::workDb()) {
            for (Recordset rs = workDb().openRecordset(QStringLiteral("select * from w電話名称"));
                 !rs.eof(); rs.moveNext()) {
                const QString name = text(rs.field(QStringLiteral("sname")));
                if (!name.isEmpty()) {
                    combo->addItem(name);
                }
            }
        }
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QComboBox*>(editor)->setEditText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }
};

QLabel* label(const QString& t, QWidget* parent) {
    return new QLabel(t, parent);
}

template <typename W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

vx::VxCmdBtn* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new vx::VxCmdBtn(caption, parent);
    b->setObjectName(name);
    b->setMinimumSize(64, 28);
    return b;
}

} // namespace

std::function<void(const QString&)>& FrmCti::soundPlayer() {
    // Started without waiting; a missing file or sound device is skipped.
    static std::function<void(const QString&)> player = [](const QString& path) {
        if (!QFileInfo::exists(path)) {
            return;
        }
        static QSoundEffect* effect = nullptr;
        if (!effect) {
            effect = new QSoundEffect(qApp);
        }
        effect->setSource(QUrl::fromLocalFile(path));
        effect->play();
    };
    return player;
}

std::function<QDateTime()>& FrmCti::clock() {
    static std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    return now;
}

bool& FrmCti::activatedFlag() {
    static bool flag = false;
    return flag;
}

FrmCti::FrmCti(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FrmCti"));
    setWindowTitle(QStringLiteral("顧客管理"));
    build();
    // Opening, in the order of the procedure.
    FormInit();
    openLine();
    SetComb(QStringLiteral("すべて"));
    Clear顧客情報画面();
    Clear用件();
    if (!activatedFlag()) {
        Read着信データ(); // redisplays the list itself
    } else {
        activatedFlag() = false;
        refreshList();
    }
    connectCommands();
}

FrmCti::~FrmCti() = default;

// ------------------------------------------------------------------ building

void FrmCti::build() {
    auto* root = new QGridLayout(this);

    // Customer panel.
    auto* panel = named(new QFrame(this), QStringLiteral("Cn顧客"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* pg = new QGridLayout(panel);
    cmb顧客名_ = named(new QComboBox(panel), QStringLiteral("cmb顧客名"));
    cmb顧客名_->setEditable(true);
    cmb顧客名_->setInsertPolicy(QComboBox::NoInsert);
    cmb顧客名_->setMinimumWidth(220);
    // Sized by its text, not by measuring every customer name in its list.
    cmb顧客名_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmb顧客名_->setMinimumContentsLength(20);
    cmb敬称_ = named(new QComboBox(panel), QStringLiteral("cmb敬称"));
    cmb敬称_->setEditable(true);
    cmb敬称_->setInsertPolicy(QComboBox::NoInsert);
    txtふりがな_ = named(new QLineEdit(panel), QStringLiteral("txtふりがな"));
    txt郵便番号_ = named(new QLineEdit(panel), QStringLiteral("txt郵便番号"));
    txt住所1_ = named(new QLineEdit(panel), QStringLiteral("txt住所1"));
    txt住所2_ = named(new QLineEdit(panel), QStringLiteral("txt住所2"));
    txtEmail_ = named(new QLineEdit(panel), QStringLiteral("txtEmail"));
    txt顧客メモ_ = named(new QLineEdit(panel), QStringLiteral("txt顧客メモ"));
    txt顧客コード_ = named(new QLineEdit(panel), QStringLiteral("txt顧客コード"));
    txt顧客コード_->setReadOnly(true);
    txt顧客コード_->setMaximumWidth(90);
    int r = 0;
    pg->addWidget(label(QStringLiteral("顧客名"), panel), r, 0);
    pg->addWidget(cmb顧客名_, r, 1);
    pg->addWidget(txt顧客コード_, r, 2);
    pg->addWidget(label(QStringLiteral("敬称"), panel), ++r, 0);
    pg->addWidget(cmb敬称_, r, 1);
    pg->addWidget(label(QStringLiteral("ふりがな"), panel), ++r, 0);
    pg->addWidget(txtふりがな_, r, 1, 1, 2);
    pg->addWidget(label(QStringLiteral("郵便番号"), panel), ++r, 0);
    pg->addWidget(txt郵便番号_, r, 1);
    pg->addWidget(button(QStringLiteral("cmd郵便"), QStringLiteral("〒"), panel), r, 2);
    pg->addWidget(label(QStringLiteral("住 所 １"), panel), ++r, 0);
    pg->addWidget(txt住所1_, r, 1, 1, 2);
    pg->addWidget(label(QStringLiteral("住 所 ２"), panel), ++r, 0);
    pg->addWidget(txt住所2_, r, 1, 1, 2);
    pg->addWidget(label(QStringLiteral("E-Mail"), panel), ++r, 0);
    pg->addWidget(txtEmail_, r, 1, 1, 2);
    pg->addWidget(label(QStringLiteral("メ  モ"), panel), ++r, 0);
    pg->addWidget(txt顧客メモ_, r, 1, 1, 2);
    auto* panelButtons = new QHBoxLayout;
    for (auto [n, c] : {std::pair{"cmd登録", "登録"},
                        {"cmd削除", "削除"},
                        {"cmdクリア", "クリア"},
                        {"cmd顧客参照", "顧客"},
                        {"cmdHint", "?"}}) {
        panelButtons->addWidget(button(QString::fromUtf8(n), QString::fromUtf8(c), panel));
    }
    pg->addLayout(panelButtons, ++r, 0, 1, 3);

    // Telephone numbers, inside the panel.
    auto* numbers = named(new QFrame(panel), QStringLiteral("Cn電話番号"));
    auto* ng = new QVBoxLayout(numbers);
    ng->setContentsMargins(0, 0, 0, 0);
    grid電話番号_ = named(new QTableView(numbers), QStringLiteral("Grid電話番号"));
    grid電話番号_->setItemDelegateForColumn(0, new PhoneNameDelegate(grid電話番号_));
    grid電話番号_->verticalHeader()->setDefaultSectionSize(20);
    grid電話番号_->setMinimumWidth(250);
    grid電話番号_->horizontalHeader()->setStretchLastSection(true);
    ng->addWidget(grid電話番号_);
    auto* nb = new QHBoxLayout;
    nb->addWidget(button(QStringLiteral("cmdTelMov"), QStringLiteral("↓着信番号"), numbers));
    nb->addWidget(button(QStringLiteral("cmd電話番号行削除"), QStringLiteral("行削除"), numbers));
    ng->addLayout(nb);
    pg->addWidget(numbers, 0, 3, r + 1, 1);
    root->addWidget(panel, 0, 0);

    // Screen buttons.
    auto* side = new QVBoxLayout;
    for (auto [n, c] : {std::pair{"cmdMain", "メイン"},
                        {"cmd顧客", "顧客"},
                        {"cmdコード表", "コード表"},
                        {"cmd着信一覧", "着信一覧"},
                        {"cmd閉じる", "閉じる"}}) {
        side->addWidget(button(QString::fromUtf8(n), QString::fromUtf8(c), this));
    }
    side->addStretch();
    auto* sideBox = new QHBoxLayout;
    sideBox->addStretch();
    sideBox->addLayout(side);
    root->addLayout(sideBox, 0, 1);

    // Call data.
    auto* call = named(new QFrame(this), QStringLiteral("Cn着信データ"));
    call->setFrameShape(QFrame::StyledPanel);
    auto* cg = new QGridLayout(call);
    cg->addWidget(label(QStringLiteral("着信データ登録"), call), 0, 0, 1, 4);
    lbl顧客名_ = named(new QLabel(call), QStringLiteral("lbl顧客名"));
    frame日付_ = named(new QFrame(call), QStringLiteral("ImFrame3D3"));
    auto* fl = new QHBoxLayout(frame日付_);
    fl->setContentsMargins(0, 0, 0, 0);
    dt日付_ = named(new DateBox(frame日付_), QStringLiteral("dt日付"));
    fl->addWidget(dt日付_);
    dt時間_ = named(new TimeBox(call), QStringLiteral("dt時間"));
    txtTEL_ = named(new QLineEdit(call), QStringLiteral("txtTEL"));
    cmb用件1_ = named(new QComboBox(call), QStringLiteral("cmb用件1"));
    cmb用件2_ = named(new QComboBox(call), QStringLiteral("cmb用件2"));
    cmb担当_ = named(new QComboBox(call), QStringLiteral("cmb担当"));
    for (QComboBox* c : {cmb用件1_, cmb用件2_, cmb担当_}) {
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
    }
    txt用件メモ_ = named(new QLineEdit(call), QStringLiteral("txt用件メモ"));
    chk用件済_ = named(new QCheckBox(QStringLiteral("済"), call), QStringLiteral("Chk用件済"));
    cg->addWidget(label(QStringLiteral("顧客名"), call), 1, 0);
    cg->addWidget(lbl顧客名_, 1, 1, 1, 3);
    cg->addWidget(label(QStringLiteral("日  付"), call), 2, 0);
    cg->addWidget(frame日付_, 2, 1);
    cg->addWidget(label(QStringLiteral("時  間"), call), 2, 2);
    cg->addWidget(dt時間_, 2, 3);
    cg->addWidget(label(QStringLiteral("電話番号"), call), 3, 0);
    cg->addWidget(txtTEL_, 3, 1);
    cg->addWidget(chk用件済_, 3, 2);
    cg->addWidget(label(QStringLiteral("担当"), call), 4, 0);
    cg->addWidget(cmb担当_, 4, 1);
    cg->addWidget(label(QStringLiteral("用件１"), call), 5, 0);
    cg->addWidget(cmb用件1_, 5, 1);
    cg->addWidget(label(QStringLiteral("用件2"), call), 5, 2);
    cg->addWidget(cmb用件2_, 5, 3);
    cg->addWidget(label(QStringLiteral("用件メモ"), call), 6, 0);
    cg->addWidget(txt用件メモ_, 6, 1, 1, 3);
    auto* callButtons = new QHBoxLayout;
    for (auto [n, c] : {std::pair{"cmd着信登録", "登録"},
                        {"cmd履歴削除", "削除"},
                        {"cmd着信クリア", "クリア"},
                        {"cmdMonBef", "◀"},
                        {"cmdMonNext", "▶"},
                        {"cmdHintQ1", "?"}}) {
        callButtons->addWidget(button(QString::fromUtf8(n), QString::fromUtf8(c), call));
    }
    cg->addLayout(callButtons, 7, 0, 1, 4);
    root->addWidget(call, 1, 0);

    // Incoming-call list.
    auto* list = new QVBoxLayout;
    grid着信表示_ = named(new QTableView(this), QStringLiteral("Grid着信表示"));
    grid着信表示_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid着信表示_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid着信表示_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid着信表示_->verticalHeader()->setDefaultSectionSize(20);
    grid着信表示_->horizontalHeader()->setStretchLastSection(true);
    list->addWidget(grid着信表示_);
    auto* lb = new QHBoxLayout;
    lb->addWidget(button(QStringLiteral("cmd着信行削除"), QStringLiteral("着信行削除"), this));
    lb->addWidget(button(QStringLiteral("cmd着信詳細"), QStringLiteral("着信詳細"), this));
    list->addLayout(lb);
    root->addLayout(list, 1, 1);

    root->setColumnStretch(0, 3);
    root->setColumnStretch(1, 4);
    lineStatus_ = named(new QLabel(this), QStringLiteral("lblLineStatus"));
    lineStatus_->setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    lineStatus_->setWordWrap(true);
    lineStatus_->hide();
    root->addWidget(lineStatus_, 2, 0, 1, 2);

    // Message panels over the screen, shown while a longer step runs.
    auto panelWith = [this](const QString& name, const QString& labelName) {
        auto* f = named(new QFrame(this), name);
        f->setFrameShape(QFrame::Box);
        f->setAutoFillBackground(true);
        auto* l = new QVBoxLayout(f);
        l->addWidget(named(new QLabel(f), labelName));
        f->hide();
        return f;
    };
    cn着信Msg_ = panelWith(QStringLiteral("Cn着信Msg"), QStringLiteral("着信Msg"));
    cnMsg_ = panelWith(QStringLiteral("CnMsg"), QStringLiteral("LMsg"));

    // Screens not built yet are not offered.
    for (auto [n, form] : {std::pair{"cmdMain", "FrmHosyu"},
                           {"cmd顧客", "FrmKokyakuList"},
                           {"cmdコード表", "FrmCodeMaster"},
                           {"cmd着信一覧", "FrmTyakusinList"}}) {
        findChild<vx::VxCmdBtn*>(QString::fromUtf8(n))
            ->setEnabled(ui::screens().available(QString::fromUtf8(form)));
    }
    // The finders and the hint window come with their own screens.
    for (const char* n : {"cmd郵便", "cmd顧客参照", "cmdHint", "cmdHintQ1"}) {
        findChild<vx::VxCmdBtn*>(QString::fromUtf8(n))->setEnabled(false);
    }

    // Field chains and checks on leaving fields.
    for (QWidget* w : std::initializer_list<QWidget*>{cmb顧客名_, cmb敬称_, chk用件済_, cmb担当_,
                                                      cmb用件1_, cmb用件2_, txt用件メモ_}) {
        w->installEventFilter(this);
        if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) {
            c->lineEdit()->installEventFilter(this);
        }
    }
    connect(txt郵便番号_, &QLineEdit::textChanged, this, [this] { postalFill(); });
    resize(1180, 680);
}

void FrmCti::connectCommands() {
    auto on = [this](const char* name, std::function<void()> f) {
        connect(findChild<vx::VxCmdBtn*>(QString::fromUtf8(name)), &vx::VxCmdBtn::Click, this, f);
    };
    on("cmdMain", [this] { openScreen(QStringLiteral("FrmHosyu")); });
    on("cmd顧客", [this] { openScreen(QStringLiteral("FrmKokyakuList")); });
    on("cmdコード表", [this] { openScreen(QStringLiteral("FrmCodeMaster")); });
    on("cmd着信一覧", [this] {
        core::screenHistory().FormHistory(QStringLiteral("PUSH"), objectName());
        if (!cmb顧客名_->currentText().isEmpty()) {
            core::handOver().HandOverName = cmb顧客名_->currentText();
        }
        ui::screens().show(QStringLiteral("FrmTyakusinList"));
    });
    on("cmd閉じる", [this] { close(); });
    on("cmd着信行削除", [this] { LineDelete着信表示(); });
    on("cmd着信詳細", [this] { Dsp着信詳細(); });
    on("cmdクリア", [this] { ClearScreen(); });
    on("cmd登録", [this] { RegisterCustomer(); });
    on("cmd削除", [this] { Delete顧客(); });
    on("cmdTelMov", [this] { TelMov(); });
    on("cmd電話番号行削除", [this] { DeleteLine電話番号(); });
    on("cmd着信登録", [this] { Entry着信履歴toWork(true); });
    on("cmd履歴削除", [this] { Delete用件(); });
    on("cmd着信クリア", [this] { Clear用件(); });
    on("cmdMonBef", [this] { Read用件(-1); });
    on("cmdMonNext", [this] { Read用件(1); });
    connect(grid着信表示_, &QTableView::doubleClicked, this, [this] { Dsp着信詳細(); });

    // Function keys act wherever the focus is.
    auto key = [this](QKeySequence k, const char* buttonName) {
        auto* s = new QShortcut(k, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, buttonName] {
            auto* b = findChild<vx::VxCmdBtn*>(QString::fromUtf8(buttonName));
            if (b && b->isEnabled()) {
                b->DoClick();
            }
        });
    };
    key(Qt::Key_F3, "cmd郵便");
    key(Qt::Key_F4, "cmd顧客参照");
    key(Qt::Key_F5, "cmd登録");
    key(Qt::Key_F6, "cmd削除");
    key(Qt::Key_F9, "cmdクリア");
    key(Qt::Key_Escape, "cmd閉じる");
}

void FrmCti::openScreen(const QString& form) {
    ui::screens().open(form, this);
}

// ------------------------------------------------------------------ the line

void FrmCti::openLine() {
    const core::Settings& s = core::settings();
    line_ = std::make_unique<callerid::SerialLine>();
    line_->setDataDir(core::paths().dataDir);
    decoder_ = std::make_unique<callerid::Decoder>();
    lineValues_ = std::make_unique<callerid::LineValues>();
    callerid::LineValues& v = *lineValues_;
    v.ta = s.TA;
    v.nAdapter = s.NAdapter;
    v.parity = s.パリティ.size() == 1 ? s.パリティ.toLower() : callerid::parityLetter(s.パリティ);
    v.dataBits = s.データビット;
    v.baud = s.ボーレート;
    v.port = s.ポート番号;
    v.stopBits = s.ストップビット;
    callerid::SetCommInfo(dataDb(), v, *line_);
    auto showFailure = [this](const QString& why) {
        lineStatus_->setText(QStringLiteral("着信を受けられません: ") + why);
        lineStatus_->show();
    };
    if (!callerid::openLine(*line_, v)) {
        showFailure(line_->lastError());
    }
    connect(line_.get(), &callerid::SerialLine::lineFailed, this, showFailure);
    events_ = std::make_unique<callerid::LineEvents>(*line_, s, *decoder_);
    events_->showNotice = [](const QString& t) { ui::showNotice(QString(), t); };
    connect(events_.get(), &callerid::LineEvents::restoreWindow, this, [this] {
        if (windowState() & Qt::WindowMinimized) {
            setWindowState(windowState() & ~Qt::WindowMinimized);
        }
        showNormal();
        raise();
        activateWindow();
    });
    connect(events_.get(), &callerid::LineEvents::callArrived, this,
            [this](const QString& n) { Proc着信(n); });
}

QString FrmCti::lineStatus() const {
    return lineStatus_->isVisible() || !line_->portOpen() ? lineStatus_->text() : QString();
}

// ------------------------------------------------------------------ the list

void FrmCti::FormInit() {
    numbersModel_ = new core::WorkTableModel(
        workDb(), QStringLiteral("w電話番号"),
        {QStringLiteral("電話名称"), QStringLiteral("電話番号")}, {}, this);
    numbersModel_->setEditableColumns({QStringLiteral("電話名称"), QStringLiteral("電話番号")});
    grid電話番号_->setModel(numbersModel_);
    connect(numbersModel_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& a, const QModelIndex&) {
                if (a.column() == 1) {
                    // After the cell has been saved: the number check.
                    QTimer::singleShot(0, this, [this, row = a.row()] { numberCheck(row); });
                }
            });
    // Loaded once by the opening that follows, not here as well.
    listModel_ = new core::WorkTableModel(workDb(), QStringLiteral("w着信表示"), {}, {}, this,
                                          core::WorkTableModel::Load::Later);
    listModel_->setHeaders(
        {QStringLiteral("code"), QStringLiteral("日付時間"), QStringLiteral("日付"),
         QStringLiteral("時間"), QStringLiteral("電話番号"), QStringLiteral("名      称"),
         QStringLiteral("用件1"), QStringLiteral("用件2"), QStringLiteral("用件メモ"),
         QStringLiteral("担当"), QStringLiteral("済"), QStringLiteral("新規")});
    listModel_->setDisplayFormat(QStringLiteral("日付時間"), [](const QVariant& v) {
        return core::dates::format(v.toDateTime(), QStringLiteral("yyyy/mm/dd hh:mm:ss"));
    });
    listModel_->setDisplayFormat(QStringLiteral("時間"), [](const QVariant& v) {
        return core::dates::format(v.toDateTime(), QStringLiteral("hh:mm:ss"));
    });
    grid着信表示_->setModel(listModel_);
    // The call's identity and the customer code are internal to the list.
    grid着信表示_->setColumnHidden(0, true);
    grid着信表示_->setColumnHidden(1, true);
    applyDateDisplay();
}

void FrmCti::applyDateDisplay() {
    const bool western = core::dates::westernYears(core::settings().年号);
    const QString listFormat =
        western ? QStringLiteral("yyyy/mm/dd") : QStringLiteral("g ee/mm/dd");
    listModel_->setDisplayFormat(QStringLiteral("日付"), [listFormat](const QVariant& v) {
        return core::dates::format(v.toDateTime(), listFormat);
    });
    if (western) {
        dt日付_->setFormats(QStringLiteral("yy/mm/dd"), QStringLiteral("yyyy年 mm月"));
    } else {
        dt日付_->setFormats(QStringLiteral("ggg ee年mm月dd日"), QStringLiteral("ggg ee年 mm月"));
    }
    // Widths in twips of the old screen, 15 twips a pixel.
    dt日付_->setFixedWidth((western ? 1320 : 2340) / 15);
    frame日付_->setFixedWidth((western ? 2350 : 3360) / 15);
}

void FrmCti::refreshList() {
    const int row = currentListRow();
    listModel_->refresh();
    setCurrentListRow(listModel_->rowCount() > 0 ? std::clamp(row, 0, listModel_->rowCount() - 1)
                                                 : -1);
}

void FrmCti::refreshNumbers() {
    numbersModel_->refresh();
}

int FrmCti::currentListRow() const {
    const QModelIndex i = grid着信表示_->currentIndex();
    return i.isValid() ? i.row() : (listModel_->rowCount() > 0 ? 0 : -1);
}

void FrmCti::setCurrentListRow(int row) {
    if (row >= 0 && row < listModel_->rowCount()) {
        grid着信表示_->setCurrentIndex(listModel_->index(row, 0));
    }
}

void FrmCti::Read着信データ() {
    core::db::Transaction tx(workDb());
    workDb().execute(QStringLiteral("delete * from w着信表示"));
    const QString period = core::settings().着信読込;
    QDate first = QDate::currentDate();
    if (period == QStringLiteral("３日以内分")) {
        first = first.addDays(-2);
    } else if (period == QStringLiteral("１週間以内分")) {
        first = first.addDays(-6);
    }
    // One statement copies the period, newest first, from the log.
    workDb().execute(
        QStringLiteral(
            "insert into w着信表示 (日付, code, 日付時間, 時間, 名称, 電話番号, 用件1, 用件2, "
            "用件メモ, 担当, 済, 新規) select substr(日付, 1, 10) & ' 00:00:00', code, 日付, "
            "'1899-12-30 ' & substr(日付, 12, 8), 名称, 電話番号, 用件1, 用件2, 用件メモ, 担当, "
            "済, False from 着信履歴 in '%1' where 日付 > ? order by 日付 DESC;")
            .arg(QString(core::paths().dataDb).replace(QLatin1Char('\''), QLatin1String("''"))),
        {QDateTime(first, QTime(0, 0))});
    tx.commit();
    QCoreApplication::processEvents();
    refreshList();
    setCurrentListRow(0);
}

void FrmCti::Dsp着信詳細() {
    const int row = currentListRow();
    if (row < 0 || listModel_->value(row, QStringLiteral("日付")).isNull()) {
        return;
    }
    auto cell = [&](const char* f) { return listModel_->value(row, QString::fromUtf8(f)); };
    const QString name = text(cell("名称"));
    if (!name.isEmpty()) {
        Clear顧客情報画面();
        core::CurrentCustomer& c = core::currentCustomer();
        c.名称 = name;
        core::Read顧客(dataDb(), QStringLiteral("名称"));
        cmb顧客名_->setEditText(name);
        // code 0 when no customer has that name ("名称未登録", say)
        const bool found = c.code != 0 && c.名称 == name;
        txt顧客コード_->setText(QString::number(found ? c.code : 0));
        if (found) {
            txtふりがな_->setText(c.ふりがな);
            txt住所1_->setText(c.住所1);
            txt住所2_->setText(c.住所2);
            txt郵便番号_->setText(c.郵便番号);
            cmb敬称_->setEditText(c.敬称);
            txtEmail_->setText(c.Email);
            txt顧客メモ_->setText(c.顧客メモ);
        }
        Read電話番号();
    }
    auto setIf = [&](const char* f, auto apply) {
        const QVariant v = cell(f);
        if (!v.isNull() && !v.toString().isEmpty()) {
            apply(v);
        }
    };
    setIf("名称", [&](const QVariant& v) { lbl顧客名_->setText(v.toString()); });
    setIf("日付", [&](const QVariant& v) { dt日付_->setDate(v.toDateTime().date()); });
    setIf("時間", [&](const QVariant& v) { dt時間_->setTime(v.toDateTime().time()); });
    setIf("電話番号", [&](const QVariant& v) { txtTEL_->setText(v.toString()); });
    setIf("用件1", [&](const QVariant& v) { cmb用件1_->setEditText(v.toString()); });
    setIf("用件2", [&](const QVariant& v) { cmb用件2_->setEditText(v.toString()); });
    setIf("用件メモ", [&](const QVariant& v) { txt用件メモ_->setText(v.toString()); });
    setIf("担当", [&](const QVariant& v) { cmb担当_->setEditText(v.toString()); });
    if (const QVariant done = cell("済"); !done.isNull()) {
        chk用件済_->setChecked(done.toBool());
    }
    core::WaitTime(10);
    const QString number = text(cell("電話番号"));
    for (int i = 0; i < numbersModel_->rowCount(); ++i) {
        const QString n = text(numbersModel_->value(i, QStringLiteral("電話番号")));
        if (n == number) {
            break;
        }
        if (n.isEmpty()) {
            numbersModel_->setData(numbersModel_->index(i, 1), number);
            break;
        }
    }
}

void FrmCti::LineDelete着信表示() {
    const int row = currentListRow();
    if (row < 0) {
        return;
    }
    const QVariant code = listModel_->value(row, QStringLiteral("code"));
    if (code.isNull()) {
        return; // a call that has just arrived has no code yet
    }
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("その他確認"),
                     QStringLiteral("指定された着信履歴"))) {
        return;
    }
    const QDate day = listModel_->value(row, QStringLiteral("日付")).toDateTime().date();
    const QTime time = listModel_->value(row, QStringLiteral("時間")).toDateTime().time();
    // A failing step ends the deletion.
    if (!dataDb().execute(QStringLiteral("delete * from 着信履歴 where 日付 = ? and code = ?"),
                          {QDateTime(day, time), code})) {
        return;
    }
    if (!workDb().execute(
            QStringLiteral("delete * from w着信表示 where 日付 = ? and 時間 = ? and code = ?"),
            {QDateTime(day, QTime(0, 0)), time, code})) {
        return;
    }
    Clear用件();
    refreshList();
}

// ------------------------------------------------------------------ activation

void FrmCti::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        Activate();
    }
    QWidget::changeEvent(e);
}

void FrmCti::Activate() {
    activatedFlag() = true;
    core::HandOver& h = core::handOver();
    if (h.HandOverCode != 0) {
        txt顧客コード_->setText(QString::number(h.HandOverCode));
    }
    if (!h.HandOverName.isEmpty()) {
        cmb顧客名_->setEditText(h.HandOverName);
        QCoreApplication::processEvents();
        nameFocusIn();
        nameLookup(); // leaving the name field on the way to the honorific
        cmb敬称_->setFocus();
    }
    if (h.HandOverCallTime.isValid() && !h.HandOverName.isEmpty()) {
        dt日付_->setDate(h.HandOverCallTime.date());
        dt時間_->setTime(h.HandOverCallTime.time());
        Read着信履歴();
    }
    h.HandOverName.clear();
    h.HandOverCallTime = QDateTime();
    h.HandOverCode = 0;
}

void FrmCti::closeEvent(QCloseEvent* e) {
    if (!closing_) {
        closing_ = true;
        Entry着信履歴toMaster();
    }
    e->accept();
}

// ------------------------------------------------------------------ fields

bool FrmCti::eventFilter(QObject* o, QEvent* e) {
    QWidget* w = qobject_cast<QWidget*>(o);
    // A combo's line edit speaks for its combo.
    if (auto* le = qobject_cast<QLineEdit*>(o);
        le && qobject_cast<QComboBox*>(le->parentWidget())) {
        w = le->parentWidget();
    }
    if (e->type() == QEvent::FocusIn && w == cmb顧客名_ && o == cmb顧客名_) {
        nameFocusIn();
    }
    if (e->type() == QEvent::FocusOut && o == w) {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (w == cmb顧客名_) {
                nameLookup();
            } else if (w == cmb敬称_) {
                honorificCheck();
            } else if (w == cmb担当_) {
                comboCheck(cmb担当_, 40, QStringLiteral("担当"));
            } else if (w == cmb用件1_) {
                comboCheck(cmb用件1_, 100, QStringLiteral("用件1"));
            } else if (w == cmb用件2_) {
                comboCheck(cmb用件2_, 100, QStringLiteral("用件2"));
            }
        }
    }
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        const bool right = k->key() == Qt::Key_Right, left = k->key() == Qt::Key_Left;
        QWidget* next = nullptr;
        QWidget* back = nullptr;
        if (w == cmb顧客名_) {
            next = cmb敬称_;
        } else if (w == cmb敬称_) {
            if (enter && cmb敬称_->currentText().isEmpty() && cmb敬称_->count() > 0) {
                cmb敬称_->setEditText(cmb敬称_->itemText(0));
            }
            next = txtふりがな_;
            back = cmb顧客名_;
        } else if (w == chk用件済_) {
            next = cmb担当_;
            back = dt時間_;
        } else if (w == cmb担当_) {
            next = cmb用件1_;
            back = chk用件済_;
        } else if (w == cmb用件1_) {
            next = cmb用件2_;
            back = dt時間_;
        } else if (w == cmb用件2_) {
            next = txt用件メモ_;
            back = cmb用件1_;
        } else if (w == txt用件メモ_) {
            if (right) {
                next = cmb顧客名_;
            }
            back = cmb用件2_;
            if (enter) {
                return QWidget::eventFilter(o, e);
            }
        }
        if (next && (enter || right)) {
            next->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (back && left) {
            back->setFocus(Qt::BacktabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

bool FrmCti::lengthCheck(QWidget* control, int limit) {
    auto* combo = qobject_cast<QComboBox*>(control);
    auto* edit = qobject_cast<QLineEdit*>(control);
    const QString t = combo ? combo->currentText() : edit ? edit->text() : QString();
    const core::TextLenResult r = core::CheckTextLen(t, limit);
    if (r.ok) {
        return true;
    }
    QApplication::beep();
    if (combo) {
        combo->setEditText(r.text);
    } else if (edit) {
        edit->setText(r.text);
    }
    QTimer::singleShot(0, control, [control] { control->setFocus(); });
    return false;
}

void FrmCti::nameFocusIn() {
    nameWasUnregistered_ = cmb顧客名_->currentText() == kUnregistered;
}

void FrmCti::nameLookup() {
    if (!lengthCheck(cmb顧客名_, 50)) {
        return;
    }
    const QString name = cmb顧客名_->currentText();
    if (name == kUnregistered || nameWasUnregistered_) {
        return;
    }
    if (name.isEmpty()) {
        Clear顧客情報画面();
        return;
    }
    core::CurrentCustomer& c = core::currentCustomer();
    c.名称 = name;
    core::Read顧客(dataDb(), QStringLiteral("名称"));
    if (c.code != 0) {
        txt顧客コード_->setText(QString::number(c.code));
        txtふりがな_->setText(c.ふりがな);
        txt住所1_->setText(c.住所1);
        txt住所2_->setText(c.住所2);
        txt郵便番号_->setText(c.郵便番号);
        cmb敬称_->setEditText(c.敬称);
        txtEmail_->setText(c.Email);
        txt顧客メモ_->setText(c.顧客メモ);
    } else {
        txt顧客コード_->setText(QString::number(nextCustomerCode()));
    }
    Read電話番号();
    Clear用件();
}

void FrmCti::honorificCheck() {
    comboCheck(cmb敬称_, 40, QStringLiteral("敬称"));
}

void FrmCti::comboCheck(QComboBox* combo, int limit, const QString& kind) {
    if (!lengthCheck(combo, limit)) {
        return;
    }
    const QString t = combo->currentText();
    if (t.isEmpty()) {
        return;
    }
    // EntryAutoCode checks the kind's own switch.
    if (core::EntryAutoCode(dataDb(), core::settings(), kind, t)) {
        SetComb(kind);
        combo->setEditText(t);
    }
}

void FrmCti::postalFill() {
    const QString code = txt郵便番号_->text();
    if (!code.isEmpty() && txt住所1_->text().isEmpty()) {
        txt住所1_->setText(core::GetAddress(core::paths().postalDb, code));
    }
}

qint32 FrmCti::nextCustomerCode() const {
    const QVariant top =
        dataDb().scalar(QStringLiteral("select TOP 1 code from 顧客マスタ order by code DESC;"));
    return top.isNull() ? 1 : top.toInt() + 1;
}


// ------------------------------------------------------------------ customer panel

void FrmCti::SeekTelNo(const QString& tel, std::optional<QDate> day, std::optional<QTime> time) {
    if (tel.isEmpty()) {
        return;
    }
    QVariant code = 0;
    {
        Recordset rs = dataDb().openRecordset(
            QStringLiteral("select * from 電話番号 where 電話番号 = ?"), Kind::Snapshot, {tel});
        if (rs.isOpen() && !rs.eof()) {
            code = rs.field(QStringLiteral("code"));
        }
    }
    core::CurrentCustomer& c = core::currentCustomer();
    c.code = code.toInt();
    core::Read顧客(dataDb(), QStringLiteral("code"));
    if (c.code != 0) {
        txt顧客コード_->setText(QString::number(c.code));
        cmb顧客名_->setEditText(c.名称);
        txtふりがな_->setText(c.ふりがな);
        txt住所1_->setText(c.住所1);
        txt住所2_->setText(c.住所2);
        txt郵便番号_->setText(c.郵便番号);
        cmb敬称_->setEditText(c.敬称);
        txtEmail_->setText(c.Email);
        txt顧客メモ_->setText(c.顧客メモ);
        lbl顧客名_->setText(c.名称);
        Read電話番号();
    } else {
        cmb顧客名_->setEditText(kUnregistered);
        // The field may hold the focus already: it now reads "名称未登録" as
        // if it had just received it, so typing the caller's name over it
        // looks nothing up and keeps the caller's number in the grid.
        if (cmb顧客名_->hasFocus()) {
            nameWasUnregistered_ = true;
        }
        const int row = std::max(0, grid電話番号_->currentIndex().row());
        if (row < numbersModel_->rowCount()) {
            numbersModel_->setData(numbersModel_->index(row, 0), QString());
            numbersModel_->setData(numbersModel_->index(row, 1), tel);
        }
    }
    if (day) {
        dt日付_->setDate(*day);
    }
    if (time) {
        dt時間_->setTime(*time);
    }
    txtTEL_->setText(tel);
    cmb担当_->setEditText(QString());
    cmb用件1_->setEditText(QString());
    cmb用件2_->setEditText(QString());
    txt用件メモ_->clear();
}

void FrmCti::Clear顧客情報画面() {
    for (QLineEdit* e : {txtEmail_, txtふりがな_, txt住所1_, txt住所2_, txt顧客メモ_,
                         txt顧客コード_, txt郵便番号_}) {
        e->clear();
    }
    cmb敬称_->setEditText(QString());
    cmb顧客名_->setEditText(QString());
    Clear電話番号();
    ReadTelName();
    nameWasUnregistered_ = false;
}

void FrmCti::RegisterCustomer() {
    const QString name = cmb顧客名_->currentText();
    if (name.isEmpty()) {
        return;
    }
    if (name == kUnregistered) {
        ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("その他"),
                    QStringLiteral("名称未登録は登録できません"));
        cmb顧客名_->setFocus();
        return;
    }
    Entry顧客マスタ(name);
    SetComb(QStringLiteral("顧客"));
    Clear顧客情報画面();
    Clear用件();
}

void FrmCti::Entry顧客マスタ(const QString& name) {
    if (name.isEmpty()) {
        return;
    }
    if (!ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("確認"), name)) {
        return;
    }
    // The customer, its numbers and the attribution of its earlier calls
    // are stored together or not at all.
    core::db::Transaction tx(dataDb());
    Recordset rs = dataDb().openRecordset(QStringLiteral("select * from 顧客マスタ where 名称 = ?"),
                                          Kind::Dynaset, {name});
    if (rs.isOpen() && !rs.eof()) {
        rs.edit();
    } else {
        const qint32 code = nextCustomerCode();
        txt顧客コード_->setText(QString::number(code));
        rs = dataDb().openRecordset(QStringLiteral("select * from 顧客マスタ where code = ?"),
                                    Kind::Dynaset, {code});
        rs.addNew();
        rs.setField(QStringLiteral("code"), code);
    }
    rs.setField(QStringLiteral("名称"), cmb顧客名_->currentText());
    rs.setField(QStringLiteral("ふりがな"), txtふりがな_->text());
    rs.setField(QStringLiteral("郵便番号"), txt郵便番号_->text());
    rs.setField(QStringLiteral("住所1"), txt住所1_->text());
    rs.setField(QStringLiteral("住所2"), txt住所2_->text());
    rs.setField(QStringLiteral("敬称"), cmb敬称_->currentText());
    rs.setField(QStringLiteral("Email"), txtEmail_->text());
    rs.setField(QStringLiteral("顧客メモ"), txt顧客メモ_->text());
    rs.update();
    rs.close();
    Entry電話番号();
    if (core::settings().電話名称登録) {
        for (int i = 0; i < numbersModel_->rowCount(); ++i) {
            const QString label = text(numbersModel_->value(i, QStringLiteral("電話名称")));
            if (label.isEmpty()) {
                break;
            }
            core::EntryAutoCode(dataDb(), core::settings(), QStringLiteral("電話名称"), label);
        }
    }
    ReEntry着信名称();
    tx.commit();
    Read着信データ();
    cmb顧客名_->setFocus();
}

void FrmCti::Delete顧客() {
    if (txt顧客コード_->text().isEmpty()) {
        return;
    }
    const QString name = cmb顧客名_->currentText();
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("伝票確認2"), name)) {
        return;
    }
    if (dataDb()
            .scalar(QStringLiteral("select count(*) from 着信履歴 where 名称 = ?"), {name})
            .toInt() > 0) {
        ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("削除不可"), QStringLiteral("着信履歴"));
        return;
    }
    {
        core::db::Transaction tx(dataDb());
        dataDb().execute(QStringLiteral("delete * from 顧客マスタ where 名称 = ?"), {name});
        dataDb().execute(QStringLiteral("delete * from 電話番号 where 名称 = ?"), {name});
        tx.commit();
    }
    Clear顧客情報画面();
    SetComb(QStringLiteral("顧客"));
    cmb顧客名_->setFocus();
}

void FrmCti::ClearScreen() {
    Clear顧客情報画面();
    Clear用件();
    Read着信データ();
    cmb顧客名_->setFocus();
}

// ------------------------------------------------------------------ numbers

void FrmCti::Clear電話番号() {
    core::db::Transaction tx(workDb());
    workDb().execute(QStringLiteral("delete * from w電話番号"));
    for (int i = 0; i < 10; ++i) {
        workDb().execute(QStringLiteral("insert into w電話番号 (電話名称) values (null)"));
    }
    tx.commit();
    refreshNumbers();
}

void FrmCti::ReadTelName() {
    workDb().execute(QStringLiteral("delete * from w電話名称"));
    workDb().execute(
        QStringLiteral("insert into w電話名称 select sname from コードマスタ in '%1' where kcode = "
                       "'電話名称' order by code;")
            .arg(QString(core::paths().dataDb).replace(QLatin1Char('\''), QLatin1String("''"))));
}

void FrmCti::Read電話番号() {
    const QString name = cmb顧客名_->currentText();
    if (name.isEmpty() || txt顧客コード_->text().isEmpty()) {
        return;
    }
    core::db::Transaction tx(workDb());
    workDb().execute(QStringLiteral("delete * from w電話番号"));
    int rows = 0;
    for (Recordset rs = dataDb().openRecordset(
             QStringLiteral("select * from 電話番号 where 名称 = ?"), Kind::Snapshot, {name});
         !rs.eof() && rows < 10; rs.moveNext(), ++rows) {
        workDb().execute(
            QStringLiteral("insert into w電話番号 (電話名称, 電話番号) values (?, ?)"),
            {rs.field(QStringLiteral("電話名称")), rs.field(QStringLiteral("電話番号"))});
    }
    for (; rows < 10; ++rows) {
        workDb().execute(QStringLiteral("insert into w電話番号 (電話名称) values (null)"));
    }
    tx.commit();
    refreshNumbers();
}

void FrmCti::Entry電話番号() {
    const QString codeText = txt顧客コード_->text();
    if (codeText.isEmpty()) {
        return;
    }
    const qint32 code = codeText.toInt();
    const QString name = cmb顧客名_->currentText();
    int counter = 1;
    for (Recordset row = workDb().openRecordset(QStringLiteral("select * from w電話番号"));
         !row.eof(); row.moveNext()) {
        const QString number = text(row.field(QStringLiteral("電話番号")));
        if (number.isEmpty()) {
            continue;
        }
        const QString label = text(row.field(QStringLiteral("電話名称")));
        // A row without a phone name is matched by its number, so that it is
        // not added again at every registration.
        Recordset rs =
            label.isEmpty()
                ? dataDb().openRecordset(
                      QStringLiteral("select * from 電話番号 where code = ? and 名称 = ? "
                                     "and (電話名称 is null or 電話名称 = '') and 電話番号 = ?"),
                      Kind::Dynaset, {code, name, number})
                : dataDb().openRecordset(
                      QStringLiteral(
                          "select * from 電話番号 where code = ? and 名称 = ? and 電話名称 = ?"),
                      Kind::Dynaset, {code, name, label});
        if (rs.isOpen() && !rs.eof()) {
            rs.edit();
        } else {
            rs = dataDb().openRecordset(QStringLiteral("電話番号"), Kind::Dynaset);
            rs.addNew();
        }
        rs.setField(QStringLiteral("code"), code);
        rs.setField(QStringLiteral("no"), counter);
        rs.setField(QStringLiteral("名称"), name);
        rs.setField(QStringLiteral("電話名称"), label);
        rs.setField(QStringLiteral("電話番号"), number);
        rs.update();
        ++counter;
    }
}

void FrmCti::DeleteLine電話番号() {
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("その他確認"),
                     QStringLiteral("指定された電話番号"))) {
        return;
    }
    const int row = std::max(0, grid電話番号_->currentIndex().row());
    const QString number = text(numbersModel_->value(row, QStringLiteral("電話番号")));
    const QString name = cmb顧客名_->currentText();
    if (!name.isEmpty()) {
        dataDb().execute(QStringLiteral("delete * from 電話番号 where 名称 = ? and 電話番号 = ?"),
                         {name, number});
    }
    workDb().execute(QStringLiteral("delete * from w電話番号 where 電話番号 = ?"), {number});
    refreshNumbers();
}

void FrmCti::TelMov() {
    const int row = currentListRow();
    if (row < 0) {
        return;
    }
    const QString number = text(listModel_->value(row, QStringLiteral("電話番号")));
    for (int i = 0; i < numbersModel_->rowCount(); ++i) {
        if (text(numbersModel_->value(i, QStringLiteral("電話番号"))).isEmpty()) {
            numbersModel_->setData(numbersModel_->index(i, 1), number);
            return;
        }
    }
}

void FrmCti::numberCheck(int row) {
    if (row < 0 || row >= numbersModel_->rowCount()) {
        return;
    }
    QString number = text(numbersModel_->value(row, QStringLiteral("電話番号")));
    if (number.contains(QLatin1Char('-'))) {
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                    QStringLiteral("電話番号には - を使用しないで下さい"));
        number.clear();
        numbersModel_->setData(numbersModel_->index(row, 1), QVariant());
    }
    if (!number.isEmpty() && number.size() < 7) {
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                    QStringLiteral("電話番号には市外局番を必ず付けて下さい"));
        numbersModel_->setData(numbersModel_->index(row, 1), QVariant());
    }
}

// ------------------------------------------------------------------ call records

std::optional<QDateTime> FrmCti::callMoment() const {
    if (!dt日付_->date() || !dt時間_->time()) {
        return std::nullopt;
    }
    return QDateTime(*dt日付_->date(), *dt時間_->time());
}

void FrmCti::Clear用件() {
    lbl顧客名_->clear();
    const QTime now = QTime::currentTime();
    dt時間_->setTime(QTime(now.hour(), now.minute(), now.second()));
    dt日付_->setDate(QDate::currentDate());
    txtTEL_->clear();
    cmb担当_->setEditText(QString());
    cmb用件1_->setEditText(QString());
    cmb用件2_->setEditText(QString());
    txt用件メモ_->clear();
    // The done box keeps its state.
}

void FrmCti::Entry着信データ(const QString& tel) {
    const auto t = callMoment();
    if (!t) {
        return;
    }
    Recordset rs = dataDb().openRecordset(QStringLiteral("select * from 着信履歴 where 日付 = ?"),
                                          Kind::Dynaset, {*t});
    if (!rs.isOpen()) {
        return;
    }
    if (!rs.eof()) {
        rs.edit();
    } else {
        rs.addNew();
    }
    const QString name = cmb顧客名_->currentText();
    rs.setField(QStringLiteral("code"),
                name == kUnregistered ? QVariant(0) : QVariant(txt顧客コード_->text()));
    rs.setField(QStringLiteral("名称"), name);
    rs.setField(QStringLiteral("日付"), *t);
    rs.setField(QStringLiteral("電話番号"), tel);
    rs.update();
}

void FrmCti::Entry着信履歴toWork(bool check) {
    const QString name = cmb顧客名_->currentText();
    if (name.isEmpty()) {
        ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("その他"),
                    QStringLiteral("顧客名が不明です。顧客を指定してください。"));
        return;
    }
    if (name == kUnregistered) {
        ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("その他"),
                    QStringLiteral("名称未登録は登録できません。相手の名称を登録してください。"));
        return;
    }
    if (check && cmb用件1_->currentText().isEmpty() && cmb用件2_->currentText().isEmpty() &&
        txt用件メモ_->text().isEmpty()) {
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                    QStringLiteral("用件、もしくはメモが記入されていないと登録できません。"));
        return;
    }
    const auto t = callMoment();
    if (txt顧客コード_->text().isEmpty() || !t) {
        showPanel(cn着信Msg_, false);
        return;
    }
    const QString code = txt顧客コード_->text();
    auto fill = [&](Recordset& rs) {
        rs.setField(QStringLiteral("code"), code);
        rs.setField(QStringLiteral("名称"), name);
        rs.setField(QStringLiteral("電話番号"), txtTEL_->text());
        rs.setField(QStringLiteral("担当"), cmb担当_->currentText());
        rs.setField(QStringLiteral("用件1"), cmb用件1_->currentText());
        rs.setField(QStringLiteral("用件2"), cmb用件2_->currentText());
        rs.setField(QStringLiteral("用件メモ"), txt用件メモ_->text());
        rs.setField(QStringLiteral("済"), chk用件済_->isChecked());
    };
    {
        Recordset rs = dataDb().openRecordset(
            QStringLiteral("select * from 着信履歴 where 日付 = ?"), Kind::Dynaset, {*t});
        if (rs.isOpen()) {
            rs.eof() ? rs.addNew() : rs.edit();
            fill(rs);
            rs.setField(QStringLiteral("日付"), *t);
            rs.update();
        }
    }
    {
        Recordset rs = workDb().openRecordset(
            QStringLiteral("select * from w着信表示 where 日付時間 = ?"), Kind::Dynaset, {*t});
        if (rs.isOpen()) {
            rs.eof() ? rs.addNew() : rs.edit();
            fill(rs);
            rs.setField(QStringLiteral("日付"), t->date());
            rs.setField(QStringLiteral("時間"), t->time());
            rs.setField(QStringLiteral("日付時間"), *t);
            rs.setField(QStringLiteral("新規"), true);
            rs.update();
        }
    }
    refreshList();
    Entry顧客マスタ(name);
    dataDb().execute(QStringLiteral("delete * from 着信履歴 where 日付 = ? and code = 0"), {*t});
}

void FrmCti::showPanel(QFrame* panel, bool on) {
    if (on) {
        panel->adjustSize();
        panel->move((width() - panel->width()) / 2, (height() - panel->height()) / 2);
        panel->raise();
        panel->show();
        panel->repaint();
        QCoreApplication::processEvents();
    } else {
        panel->hide();
    }
}

void FrmCti::Entry着信履歴toMaster() {
    if (!core::workDb() || !core::dataDb()) {
        return;
    }
    Recordset rows =
        workDb().openRecordset(QStringLiteral("select * from w着信表示 where 新規 = True"));
    if (!rows.isOpen() || rows.eof()) {
        showPanel(cnMsg_, false);
        return;
    }
    cnMsg_->findChild<QLabel*>(QStringLiteral("LMsg"))
        ->setText(QStringLiteral("着信履歴を更新中です。お待ち下さい･･･"));
    showPanel(cnMsg_, true);
    core::db::Transaction tx(dataDb());
    for (; !rows.eof(); rows.moveNext()) {
        const QDateTime t(rows.field(QStringLiteral("日付")).toDateTime().date(),
                          rows.field(QStringLiteral("時間")).toDateTime().time());
        Recordset rs = dataDb().openRecordset(
            QStringLiteral("select * from 着信履歴 where 日付 = ?"), Kind::Dynaset, {t});
        if (!rs.isOpen()) {
            continue;
        }
        rs.eof() ? rs.addNew() : rs.edit();
        for (const char* f :
             {"code", "名称", "電話番号", "担当", "用件1", "用件2", "用件メモ", "済"}) {
            rs.setField(QString::fromUtf8(f), rows.field(QString::fromUtf8(f)));
        }
        rs.setField(QStringLiteral("日付"), t);
        rs.update();
    }
    tx.commit();
    showPanel(cnMsg_, false);
}

void FrmCti::Read着信履歴() {
    const auto t = callMoment();
    if (txt顧客コード_->text().isEmpty() || !t) {
        return;
    }
    cn着信Msg_->findChild<QLabel*>(QStringLiteral("着信Msg"))
        ->setText(QStringLiteral("着信履歴を読込中です･･･"));
    showPanel(cn着信Msg_, true);
    Recordset rs =
        dataDb().openRecordset(QStringLiteral("select * from 着信履歴 where 名称 = ? and 日付 = ?"),
                               Kind::Snapshot, {cmb顧客名_->currentText(), *t});
    if (rs.isOpen() && !rs.eof()) {
        auto copy = [&](const char* f, auto apply) {
            const QString v = text(rs.field(QString::fromUtf8(f)));
            if (!v.isEmpty()) {
                apply(v);
            }
        };
        copy("担当", [&](const QString& v) { cmb担当_->setEditText(v); });
        copy("用件1", [&](const QString& v) { cmb用件1_->setEditText(v); });
        copy("用件2", [&](const QString& v) { cmb用件2_->setEditText(v); });
        copy("用件メモ", [&](const QString& v) { txt用件メモ_->setText(v); });
    }
    showPanel(cn着信Msg_, false);
}

void FrmCti::Read用件(int dir) {
    const QString name = cmb顧客名_->currentText();
    const auto t = callMoment();
    if (name.isEmpty() || !t) {
        return;
    }
    const QString sql =
        dir == 1
            ? QStringLiteral(
                  "select TOP 1 * from 着信履歴 where 名称 = ? and 日付 > ? order by 日付;")
            : QStringLiteral(
                  "select TOP 1 * from 着信履歴 where 名称 = ? and 日付 < ? order by 日付 DESC;");
    Recordset rs = dataDb().openRecordset(sql, Kind::Snapshot, {name, *t});
    if (!rs.isOpen() || rs.eof()) {
        return;
    }
    const QDateTime when = rs.field(QStringLiteral("日付")).toDateTime();
    dt日付_->setDate(when.date());
    dt時間_->setTime(when.time());
    lbl顧客名_->setText(name);
    cmb用件1_->setEditText(text(rs.field(QStringLiteral("用件1"))));
    cmb用件2_->setEditText(text(rs.field(QStringLiteral("用件2"))));
    txt用件メモ_->setText(text(rs.field(QStringLiteral("用件メモ"))));
    cmb担当_->setEditText(text(rs.field(QStringLiteral("担当"))));
    if (const QVariant done = rs.field(QStringLiteral("済")); !done.isNull()) {
        chk用件済_->setChecked(done.toBool());
    }
}

void FrmCti::Delete用件() {
    const auto t = callMoment();
    if (txt顧客コード_->text().isEmpty() || !t) {
        return;
    }
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("伝票確認2"),
                     QStringLiteral("着信履歴"))) {
        return;
    }
    dataDb().execute(QStringLiteral("delete * from 着信履歴 where 名称 = ? and 日付 = ?"),
                     {cmb顧客名_->currentText(), *t});
    Clear用件();
    Read着信データ();
    cmb顧客名_->setFocus();
}

void FrmCti::ReEntry着信名称() {
    const QString name = cmb顧客名_->currentText();
    if (name.isEmpty()) {
        return;
    }
    QStringList numbers;
    for (Recordset rs = dataDb().openRecordset(
             QStringLiteral("select * from 電話番号 where 名称 = ?"), Kind::Snapshot, {name});
         !rs.eof(); rs.moveNext()) {
        numbers << text(rs.field(QStringLiteral("電話番号")));
    }
    for (const QString& n : numbers) {
        dataDb().execute(QStringLiteral("update 着信履歴 set 名称 = ?, code = ? where 電話番号 = ? "
                                        "and 名称 = '名称未登録'"),
                         {name, txt顧客コード_->text(), n});
    }
}

void FrmCti::SetComb(const QString& kind) {
    const bool all = kind == QStringLiteral("すべて");
    auto fillCodes = [&](QComboBox* combo, const QString& k) {
        QStringList items;
        for (Recordset rs = dataDb().openRecordset(
                 QStringLiteral("select * from コードマスタ where kcode = ? order by cnt,code;"),
                 Kind::Snapshot, {k});
             !rs.eof(); rs.moveNext()) {
            const QString v = text(rs.field(QStringLiteral("sname")));
            if (!v.isEmpty()) {
                items << v;
            }
        }
        combo->clear();
        combo->addItems(items);
        combo->setEditText(QString());
    };
    for (const QString& k : {QStringLiteral("担当"), QStringLiteral("用件1"),
                             QStringLiteral("用件2"), QStringLiteral("敬称")}) {
        if (all || kind == k) {
            QComboBox* combo = k == QStringLiteral("担当")    ? cmb担当_
                               : k == QStringLiteral("用件1") ? cmb用件1_
                               : k == QStringLiteral("用件2") ? cmb用件2_
                                                              : cmb敬称_;
            fillCodes(combo, k);
        }
    }
    if (all || kind == QStringLiteral("顧客")) {
        QStringList names;
        for (Recordset rs = dataDb().openRecordset(
                 QStringLiteral("select 名称 from 顧客マスタ order by ふりがな,code;"));
             !rs.eof(); rs.moveNext()) {
            const QString v = text(rs.storedValue(0));
            if (!v.isEmpty()) {
                names << v;
            }
        }
        // A model takes a hundred thousand names at once; items one by one do not.
        auto* model = qobject_cast<QStringListModel*>(cmb顧客名_->model());
        if (!model) {
            model = new QStringListModel(cmb顧客名_);
            cmb顧客名_->setModel(model);
        }
        model->setStringList(names);
        cmb顧客名_->setCurrentIndex(-1);
        cmb顧客名_->setEditText(QString());
    }
}

// ------------------------------------------------------------------ intake

void FrmCti::PlayCallSound() {
    if (core::settings().着信サウンド && soundPlayer()) {
        soundPlayer()(core::settings().着信サウンドパス);
    }
}

void FrmCti::Proc着信(const QString& number) {
    ui::NudgeMouse();
    PlayCallSound();
    Clear顧客情報画面();
    QVariant code;
    QString name;
    core::GetTelOwner(dataDb(), number, code, name);
    // The list's rebuild is one unit of work on the work database.
    core::db::Transaction listTx(workDb());
    workDb().execute(QStringLiteral("delete * from w着信表示ソート"));
    workDb().execute(QStringLiteral(
        "insert into w着信表示ソート select * from w着信表示 order by 日付時間 DESC;"));
    const QDateTime now = clock()();
    const QDate day = now.date();
    const QTime time(now.time().hour(), now.time().minute(), now.time().second());
    const QDateTime moment(day, time);
    {
        Recordset rs = workDb().openRecordset(
            QStringLiteral(
                "select * from w着信表示ソート where 日付時間 = ? order by 日付時間 DESC;"),
            Kind::Dynaset, {moment});
        if (rs.isOpen() && rs.eof()) {
            rs.addNew();
            rs.setField(QStringLiteral("日付時間"), moment);
            rs.setField(QStringLiteral("日付"), day);
            rs.setField(QStringLiteral("時間"), time);
            rs.setField(QStringLiteral("電話番号"), number == callerid::kWithheld ? kNotified
                                                    : number == callerid::kPublicPhone
                                                        ? kPublicPhoneText
                                                        : number);
            rs.setField(QStringLiteral("名称"), name);
            rs.setField(QStringLiteral("新規"), true);
            rs.update();
        }
    }
    workDb().execute(QStringLiteral("delete * from w着信表示"));
    workDb().execute(QStringLiteral(
        "insert into w着信表示 select * from w着信表示ソート order by 日付時間 DESC;"));
    listTx.commit();
    refreshList();
    setCurrentListRow(0);
    SeekTelNo(number, day, time);
    Entry着信データ(number);
}

} // namespace desk
