// The call desk: building the screen, its commands and keys, field chains,
// activation and closing.

#include "frmcti.h"
#include "frmcti_p.h"

#include "accessible.h"
#include "datebox.h"
#include "decoder.h"
#include "handover.h"
#include "hint.h"
#include "intake.h"
#include "lineconfig.h"
#include "screens.h"
#include "serialline.h"
#include "settings.h"
#include "startup.h"
#include "vxcmdbtn.h"
#include "worktablemodel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace desk {
namespace {

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

bool& FrmCti::activatedFlag() {
    static bool flag = false;
    return flag;
}

FrmCti::FrmCti(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FrmCti"));
    setWindowTitle(QStringLiteral("顧客管理"));
    ui::nameWindow(this);
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
    grid電話番号_->setItemDelegateForColumn(0, newPhoneNameDelegate(grid電話番号_));
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

    // Every field announced by the label beside it.
    ui::nameByLabels(pg);
    ui::nameByLabels(cg);
    ui::nameByLabel(txt顧客コード_, QStringLiteral("顧客コード"));

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
    // The postal finder comes with its own library.
    for (const char* n : {"cmd郵便"}) {
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
    on("cmd顧客参照", [this] { FindCustomer(); });
    on("cmdTelMov", [this] { TelMov(); });
    on("cmd電話番号行削除", [this] { DeleteLine電話番号(); });
    on("cmd着信登録", [this] { Entry着信履歴toWork(true); });
    on("cmd履歴削除", [this] { Delete用件(); });
    on("cmd着信クリア", [this] { Clear用件(); });
    on("cmdMonBef", [this] { Read用件(-1); });
    on("cmdMonNext", [this] { Read用件(1); });
    connect(grid着信表示_, &QTableView::doubleClicked, this, [this] { Dsp着信詳細(); });
    on("cmdHint", [this] { masters::OpenHint(this, QStringLiteral("cmdHint")); });
    on("cmdHintQ1", [this] { masters::OpenHint(this, QStringLiteral("cmdHintQ1")); });

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

} // namespace desk
