#include "frmtyakusinlist.h"

#include "accessible.h"
#include "clsgojuren.h"
#include "datebox.h"
#include "dateformat.h"
#include "fkeyrow.h"
#include "handover.h"
#include "hint.h"
#include "lookups.h"
#include "pagedtablemodel.h"
#include "paths.h"
#include "screens.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "vxcmdbtn.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace desk {
namespace {

template <typename W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

vx::VxCmdBtn* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = named(new vx::VxCmdBtn(caption, parent), name);
    b->setMinimumSize(64, 28);
    return b;
}

QComboBox* combo(const QString& name, bool typed, QWidget* parent) {
    auto* c = named(new QComboBox(parent), name);
    c->setEditable(typed);
    if (typed) {
        c->setInsertPolicy(QComboBox::NoInsert);
    }
    c->setMinimumWidth(160);
    return c;
}

// A field with its label, named for assistive technology by the label.
void addField(QGridLayout* g, int row, int col, const QString& caption, QWidget* field,
              int span = 1) {
    auto* l = new QLabel(caption, field->parentWidget());
    g->addWidget(l, row, col);
    g->addWidget(field, row, col + 1, 1, span);
    ui::nameByLabel(field, l);
}

} // namespace

std::function<QDate()>& FrmTyakusinList::today() {
    static std::function<QDate()> f = [] { return QDate::currentDate(); };
    return f;
}

FrmTyakusinList::FrmTyakusinList(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FrmTyakusinList"));
    setWindowTitle(QStringLiteral("着信一覧"));
    build();
    connectCommands();
    ui::nameWindow(this);
    FormInit();
    Clear着信履歴();
    SetComb(QStringLiteral("すべて"));
}

FrmTyakusinList::~FrmTyakusinList() = default;

void FrmTyakusinList::build() {
    auto* root = new QVBoxLayout(this);

    // Main view: customer, period with month steps, staff, and the commands.
    auto* top = new QGridLayout;
    cmb顧客名_ = combo(QStringLiteral("cmb顧客名"), true, this);
    cmb顧客名_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmb顧客名_->setMinimumContentsLength(20);
    dt開始_ = named(new DateBox(this), QStringLiteral("dt開始"));
    dt終了_ = named(new DateBox(this), QStringLiteral("dt終了"));
    cmb担当_ = combo(QStringLiteral("cmb担当"), true, this);
    addField(top, 0, 0, QStringLiteral("顧客名"), cmb顧客名_, 3);
    auto* periodLabel = new QLabel(QStringLiteral("期 間"), this);
    top->addWidget(periodLabel, 1, 0);
    auto* period = new QHBoxLayout;
    auto* bef = button(QStringLiteral("cmdMonBef"), QStringLiteral("◀"), this);
    bef->setToolTipText(QStringLiteral("前月"));
    auto* next = button(QStringLiteral("cmdMonNext"), QStringLiteral("▶"), this);
    next->setToolTipText(QStringLiteral("翌月"));
    bef->setFixedSize(36, 28);
    next->setFixedSize(36, 28);
    period->addWidget(bef);
    period->addWidget(dt開始_);
    period->addWidget(new QLabel(QStringLiteral("～"), this));
    period->addWidget(dt終了_);
    period->addWidget(next);
    top->addLayout(period, 1, 1, 1, 3);
    ui::nameByLabel(dt開始_, periodLabel);
    ui::nameByLabel(dt終了_, QStringLiteral("期間 終了"));
    addField(top, 2, 0, QStringLiteral("担  当"), cmb担当_);
    auto* hint = button(QStringLiteral("cmdHint"), QStringLiteral("?"), this);
    hint->setFixedSize(36, 28);
    top->addWidget(hint, 0, 5);
    top->setColumnStretch(4, 1);
    root->addLayout(top);

    auto* commands = new QHBoxLayout;
    for (auto [n, c] : {std::pair{"cmd戻る", "戻る"},
                        {"cmdメニュー", "メイン"},
                        {"cmd顧客参照", "顧客"},
                        {"cmd読込", "読込"},
                        {"cmd集計条件", "検索条件"},
                        {"cmd削除", "削除"},
                        {"cmd印刷", "印刷"},
                        {"cmdクリア", "クリア"},
                        {"cmd全選択", "全選択"},
                        {"cmd全解除", "全解除"},
                        {"cmd閉じる", "閉じる"}}) {
        commands->addWidget(button(QString::fromUtf8(n), QString::fromUtf8(c), this));
    }
    commands->addStretch();
    root->addLayout(commands);

    // The print panel.
    selEnt_ = named(new QFrame(this), QStringLiteral("SelEnt"));
    selEnt_->setFrameShape(QFrame::Box);
    auto* sl = new QHBoxLayout(selEnt_);
    int index = 0;
    for (const char* c : {"ﾌﾟﾚﾋﾞｭｰ", "印刷", "ｷｬﾝｾﾙ"}) {
        auto* b = button(QStringLiteral("cmd印刷サブ"), QString::fromUtf8(c), selEnt_);
        b->setProperty("Index", index++);
        sl->addWidget(b);
    }
    sl->addStretch();
    selEnt_->hide();
    root->addWidget(selEnt_);

    // The search panel.
    cn検索条件_ = named(new QFrame(this), QStringLiteral("Cn検索条件"));
    cn検索条件_->setFrameShape(QFrame::StyledPanel);
    auto* sg = new QGridLayout(cn検索条件_);
    auto* sTitle = new QLabel(QStringLiteral("検索条件設定"), cn検索条件_);
    sg->addWidget(sTitle, 0, 0, 1, 4);
    cmb顧客名検索_ = combo(QStringLiteral("cmb顧客名検索"), true, cn検索条件_);
    dt開始検索_ = named(new DateBox(cn検索条件_), QStringLiteral("dt開始検索"));
    dt終了検索_ = named(new DateBox(cn検索条件_), QStringLiteral("dt終了検索"));
    cmb担当検索_ = combo(QStringLiteral("cmb担当検索"), false, cn検索条件_);
    cmb用件1検索_ = combo(QStringLiteral("cmb用件1検索"), true, cn検索条件_);
    cmb用件2検索_ = combo(QStringLiteral("cmb用件2検索"), true, cn検索条件_);
    txt用件メモ検索_ = named(new QLineEdit(cn検索条件_), QStringLiteral("txt用件メモ検索"));
    cmbチェック検索_ = combo(QStringLiteral("cmbチェック検索"), false, cn検索条件_);
    addField(sg, 1, 0, QStringLiteral("顧 客 名"), cmb顧客名検索_, 3);
    auto* sPeriodLabel = new QLabel(QStringLiteral("期　　 間"), cn検索条件_);
    sg->addWidget(sPeriodLabel, 2, 0);
    auto* sPeriod = new QHBoxLayout;
    sPeriod->addWidget(dt開始検索_);
    sPeriod->addWidget(new QLabel(QStringLiteral("～"), cn検索条件_));
    sPeriod->addWidget(dt終了検索_);
    sPeriod->addStretch();
    sg->addLayout(sPeriod, 2, 1, 1, 3);
    ui::nameByLabel(dt開始検索_, sPeriodLabel);
    ui::nameByLabel(dt終了検索_, QStringLiteral("期間 終了"));
    addField(sg, 3, 0, QStringLiteral("担  当"), cmb担当検索_);
    addField(sg, 3, 2, QStringLiteral("チェック"), cmbチェック検索_);
    addField(sg, 4, 0, QStringLiteral("用 件 １"), cmb用件1検索_);
    addField(sg, 4, 2, QStringLiteral("用 件 2"), cmb用件2検索_);
    addField(sg, 5, 0, QStringLiteral("用件メモ"), txt用件メモ検索_, 3);
    auto* sb = new QHBoxLayout;
    for (auto [n, c] : {std::pair{"cmd読込検索", "読込"},
                        {"cmdクリア検索", "クリア"},
                        {"cmd閉じる検索", "閉じる"}}) {
        sb->addWidget(button(QString::fromUtf8(n), QString::fromUtf8(c), cn検索条件_));
    }
    sb->addStretch();
    sg->addLayout(sb, 6, 0, 1, 4);
    cn検索条件_->hide();
    root->addWidget(cn検索条件_);

    lblMsg_ =
        named(new QLabel(QStringLiteral("読み込み中です･････"), this), QStringLiteral("lblMsg"));
    lblMsg_->setAlignment(Qt::AlignCenter);
    lblMsg_->setFrameShape(QFrame::Box);
    lblMsg_->hide();
    root->addWidget(lblMsg_);

    grid明細_ = named(new QTableView(this), QStringLiteral("Grid明細"));
    grid明細_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid明細_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid明細_->verticalHeader()->setDefaultSectionSize(22);
    // Rows all have one height: the grid never measures a million of them.
    grid明細_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui::nameByLabel(grid明細_, QStringLiteral("着信一覧"));
    root->addWidget(grid明細_, 1);

    root->addWidget(
        new ui::FunctionKeyRow({{Qt::Key_F1, QStringLiteral("戻る"), "cmd戻る"},
                                {Qt::Key_F2, QStringLiteral("メイン"), "cmdメニュー"},
                                {Qt::Key_F3, QStringLiteral("顧客"), "cmd顧客参照"},
                                {Qt::Key_F6, QStringLiteral("削除"), "cmd削除"},
                                {Qt::Key_F7, QStringLiteral("印刷"), "cmd印刷"},
                                {Qt::Key_F9, QStringLiteral("クリア"), "cmdクリア"},
                                {Qt::Key_F11, QStringLiteral("全選択"), "cmd全選択"},
                                {Qt::Key_F12, QStringLiteral("全解除"), "cmd全解除"},
                                {Qt::Key_Escape, QStringLiteral("閉じる"), "cmd閉じる"}},
                               this));

    for (QWidget* w : std::initializer_list<QWidget*>{cmb顧客名_, cmb担当_}) {
        w->installEventFilter(this);
        if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) {
            c->lineEdit()->installEventFilter(this);
        }
    }
    resize(1180, 720);
}

void FrmTyakusinList::connectCommands() {
    auto on = [this](const char* name, std::function<void()> f) {
        connect(findChild<vx::VxCmdBtn*>(QString::fromUtf8(name)), &vx::VxCmdBtn::Click, this, f);
    };
    on("cmd戻る", [this] { Back(); });
    on("cmdメニュー", [this] { MenuWithHandOver(); });
    on("cmd顧客参照", [this] { FindCustomer(); });
    on("cmdHint", [this] { masters::OpenHint(this, QStringLiteral("cmdHint")); });
    on("cmd読込", [this] { Read着信履歴(); });
    on("cmd削除", [this] { Delete着信履歴(); });
    on("cmd印刷", [this] { selEnt_->show(); });
    on("cmdクリア", [this] {
        Clear着信履歴();
        cmb顧客名_->setFocus();
    });
    on("cmd全選択", [this] { OnOff着信一覧(true); });
    on("cmd全解除", [this] { OnOff着信一覧(false); });
    on("cmd閉じる", [this] { close(); });
    on("cmd集計条件", [this] {
        cn検索条件_->show();
        Clear検索条件();
        cmb顧客名検索_->setFocus();
    });
    on("cmd読込検索", [this] { Read着信履歴条件付(); });
    on("cmdクリア検索", [this] { Clear検索条件(); });
    on("cmd閉じる検索", [this] {
        cn検索条件_->hide();
        cmb顧客名_->setFocus();
    });
    on("cmdMonBef", [this] { StepMonth(-1); });
    on("cmdMonNext", [this] { StepMonth(1); });
    for (auto* b : selEnt_->findChildren<vx::VxCmdBtn*>(QStringLiteral("cmd印刷サブ"))) {
        const int index = b->property("Index").toInt();
        connect(b, &vx::VxCmdBtn::Click, this, [this, index] {
            if (index == 0 || index == 1) {
                selEnt_->hide();
                SetPrnData(index == 1);
            } else {
                selEnt_->hide();
            }
        });
    }
    connect(grid明細_, &QTableView::doubleClicked, this, [this] { MenuWithHandOver(); });
}

void FrmTyakusinList::FormInit() {
    cmbチェック検索_->clear();
    cmbチェック検索_->addItems({kCheckedCalls, kUncheckedCalls});
    cmbチェック検索_->setCurrentIndex(-1);

    model_ = new core::PagedTableModel(
        *core::workDb(), QStringLiteral("w着信履歴"),
        {QStringLiteral("チェック"), QStringLiteral("code"), QStringLiteral("日付時間"),
         QStringLiteral("日付"), QStringLiteral("時間"), QStringLiteral("名称"),
         QStringLiteral("用件1"), QStringLiteral("用件2"), QStringLiteral("用件メモ"),
         QStringLiteral("担当"), QStringLiteral("済")},
        this);
    model_->setHeaders({QStringLiteral("チェック"), QStringLiteral("code"),
                        QStringLiteral("日付時間"), QStringLiteral("日付"), QStringLiteral("時間"),
                        QStringLiteral("名      称"), QStringLiteral("用件1"),
                        QStringLiteral("用件2"), QStringLiteral("用件メモ"), QStringLiteral("担当"),
                        QStringLiteral("済")});
    model_->setEditableColumns({QStringLiteral("チェック")});
    grid明細_->setModel(model_);

    const bool western = core::dates::westernYears(core::settings().年号);
    const QString display =
        western ? QStringLiteral("yy/mm/dd") : QStringLiteral("ggg ee年mm月dd日");
    const QString title =
        western ? QStringLiteral("yyyy 年 mm月") : QStringLiteral("ggg ee年 mm月");
    for (DateBox* box : {dt開始_, dt終了_, dt開始検索_, dt終了検索_}) {
        box->setFormats(display, title);
        box->setMinimumWidth(western ? 110 : 170);
    }
    const QString day = western ? QStringLiteral("yyyy/mm/dd") : QStringLiteral("g ee/mm/dd");
    model_->setDisplayFormat(QStringLiteral("日付"), [day](const QVariant& v) {
        return core::dates::format(v.toDateTime(), day);
    });
    model_->setDisplayFormat(QStringLiteral("日付時間"), [](const QVariant& v) {
        return core::dates::format(v.toDateTime(), QStringLiteral("yyyy/mm/dd hh:nn:ss"));
    });
    const int widths[] = {60, 60, 150, 90, 70, 200, 120, 120, 260, 90, 40};
    for (int i = 0; i < 11; ++i) {
        grid明細_->setColumnWidth(i, widths[i]);
    }
}

void FrmTyakusinList::Clear着信履歴() {
    core::workDb()->execute(QStringLiteral("delete * from w着信履歴"));
    model_->refresh();
    cmb顧客名_->setEditText(QString());
    cmb担当_->setEditText(QString());
    dt開始_->clear();
    dt終了_->clear();
}

void FrmTyakusinList::Clear検索条件() {
    dt開始検索_->clear();
    dt終了検索_->clear();
    SetComb着信一覧(QStringLiteral("すべて"));
    txt用件メモ検索_->clear();
    cmbチェック検索_->setCurrentIndex(-1);
}

namespace {

// Refills a pick list from a query's non-null values, in query order. A
// list of the main view keeps what was typed in it; the search panel's
// lists come back empty.
void fill(QComboBox* box, const QStringList& items, bool keepText) {
    const QString typed = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    if (box->isEditable()) {
        box->setEditText(keepText ? typed : QString());
    }
}

QStringList codeList(const QString& kind) {
    QStringList out;
    for (core::db::Recordset rs = core::dataDb()->openRecordset(
             QStringLiteral("select * from コードマスタ where kcode = ? order by cnt,code;"),
             core::db::Recordset::Kind::Snapshot, {kind});
         rs.isOpen() && !rs.eof(); rs.moveNext()) {
        const QVariant v = rs.field(QStringLiteral("sname"));
        if (!v.isNull()) {
            out << v.toString();
        }
    }
    return out;
}

} // namespace

void FrmTyakusinList::SetComb(const QString& kind) {
    if (kind == QStringLiteral("すべて") || kind == QStringLiteral("担当")) {
        fill(cmb担当_, QStringList{QStringLiteral("なし")} + codeList(QStringLiteral("担当")),
             true);
    }
}

void FrmTyakusinList::SetComb着信一覧(const QString& kind) {
    const bool all = kind == QStringLiteral("すべて");
    if (all || kind == QStringLiteral("担当")) {
        const QStringList staff = codeList(QStringLiteral("担当"));
        fill(cmb担当_, staff, true);
        fill(cmb担当検索_, staff, false);
    }
    if (all || kind == QStringLiteral("用件1")) {
        fill(cmb用件1検索_, codeList(QStringLiteral("用件1")), false);
    }
    if (all || kind == QStringLiteral("用件2")) {
        fill(cmb用件2検索_, codeList(QStringLiteral("用件2")), false);
    }
    if (all || kind == QStringLiteral("顧客")) {
        QStringList names;
        for (core::db::Recordset rs = core::dataDb()->openRecordset(
                 QStringLiteral("select 名称 from 顧客マスタ order by ふりがな,code;"));
             rs.isOpen() && !rs.eof(); rs.moveNext()) {
            const QVariant v = rs.field(QStringLiteral("名称"));
            if (!v.isNull()) {
                names << v.toString();
            }
        }
        fill(cmb顧客名_, names, true);
        fill(cmb顧客名検索_, names, false);
    }
}

int FrmTyakusinList::currentRow() const {
    return grid明細_->currentIndex().isValid() ? grid明細_->currentIndex().row() : -1;
}

void FrmTyakusinList::setCurrentRow(int row) {
    grid明細_->setCurrentIndex(model_->index(row, 0));
}

void FrmTyakusinList::OnOff着信一覧(bool flag) {
    core::workDb()->execute(QStringLiteral("update w着信履歴 set チェック = ") +
                            (flag ? QStringLiteral("True") : QStringLiteral("False")));
    const int row = currentRow();
    model_->refresh();
    if (row >= 0) {
        setCurrentRow(std::min(row, model_->rowCount() - 1));
    }
    grid明細_->setFocus();
}

void FrmTyakusinList::StepMonth(int months) {
    if (dt開始_->isEmpty() || dt終了_->isEmpty()) {
        return;
    }
    // addMonths keeps the day and clamps it to the end of the target month.
    dt開始_->setDate(dt開始_->date()->addMonths(months));
    dt終了_->setDate(dt終了_->date()->addMonths(months));
    Read着信履歴();
}

void FrmTyakusinList::MenuWithHandOver() {
    core::screenHistory().FormHistory(QStringLiteral("PUSH"), objectName());
    const int row = currentRow();
    core::HandOver& h = core::handOver();
    if (row >= 0) {
        const QVariant when = model_->value(row, QStringLiteral("日付時間"));
        if (!when.isNull()) {
            h.HandOverCallTime = when.toDateTime();
        }
        h.HandOverCode = 0;
        const QVariant code = model_->value(row, QStringLiteral("code"));
        if (!code.isNull() && !code.toString().isEmpty()) {
            h.HandOverCode = code.toInt();
        }
        const QVariant name = model_->value(row, QStringLiteral("名称"));
        if (!name.isNull()) {
            h.HandOverName = name.toString();
        }
    }
    repaint();
    ui::Screens::showMainMenu();
}

void FrmTyakusinList::FindCustomer() {
    // One finder per use; it opens the files itself by path.
    ClsGojuren finder;
    finder.setPcDataFile(core::paths().dataDb);
    finder.setPcWorkFile(core::paths().workDb);
    const bool shown = finder.FormShow();
    // The finder's window has no owner: take the keys back when it is gone.
    activateWindow();
    if (!shown) {
        ui::showNotice(QStringLiteral("顧客参照"), finder.lastError(), core::MsgStyle::Warning);
        cmb顧客名_->setFocus();
        return;
    }
    finder.SetRetVal();
    const QString code = finder.pccode();
    if (!code.isEmpty()) {
        core::CurrentCustomer& c = core::currentCustomer();
        c.code = code.toInt();
        core::Read顧客(*core::dataDb(), QStringLiteral("code"));
        // A code that is no longer on file leaves the record's old name
        // behind: put in no name rather than another customer's.
        if (c.code != 0) {
            cmb顧客名_->setEditText(c.名称);
        }
    }
    cmb顧客名_->setFocus();
}

void FrmTyakusinList::Back() {
    if (core::screenHistory().FormHistory(QStringLiteral("POP"), objectName()) != true) {
        return;
    }
    if (ui::screens().openWindows().size() < 2) {
        ui::screens().show(QStringLiteral("FrmCti"));
    }
    close();
}

void FrmTyakusinList::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        Activate();
    }
    QWidget::changeEvent(e);
}

void FrmTyakusinList::Activate() {
    core::HandOver& h = core::handOver();
    if (h.HandOverName.isEmpty()) {
        return;
    }
    cmb顧客名_->setEditText(h.HandOverName);
    Read着信履歴();
    h.HandOverName.clear();
}

bool FrmTyakusinList::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        QWidget* w = qobject_cast<QWidget*>(o);
        if (auto* le = qobject_cast<QLineEdit*>(o);
            le && qobject_cast<QComboBox*>(le->parentWidget())) {
            w = le->parentWidget();
        }
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Right) {
            if (w == cmb顧客名_) {
                dt開始_->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (w == cmb担当_) {
                cmb顧客名_->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QWidget::eventFilter(o, e);
}

void FrmTyakusinList::showBusy(bool on) {
    lblMsg_->setVisible(on);
    if (on) {
        lblMsg_->raise();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

} // namespace desk
