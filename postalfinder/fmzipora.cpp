// The dialog's building, its commands and keys, and the grid's row moves.
// The list loads and the type-ahead are in fmzipora_lists.cpp, the searches
// and the common grid load in fmzipora_search.cpp.

#include "fmzipora.h"

#include "accessible.h"
#include "database.h"
#include "fkeyrow.h"
#include "modzipora.h"
#include "vxcmdbtn.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace zipora {
namespace {

template <typename W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

vx::VxCmdBtn* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = named(new vx::VxCmdBtn(caption, parent), name);
    b->setMinimumSize(72, 28);
    return b;
}

bool within(const QWidget* outer, const QWidget* w) {
    return w && (w == outer || outer->isAncestorOf(w));
}

} // namespace

FmZipora::FmZipora(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FmZipora"));
    setWindowTitle(QStringLiteral("郵便番号検索"));
    setModal(true);
    build();
    connectControls();
}

FmZipora::~FmZipora() = default;

bool FmZipora::open(const QString& dataPath, const QString& yubinPath, QString* error) {
    data_ = core::db::Database::open(dataPath, error);
    if (!data_) {
        return false;
    }
    yubin_ = core::db::Database::open(yubinPath, error);
    if (!yubin_) {
        data_.reset();
        return false;
    }
    Clear郵便検索();
    read都道府県();
    ChkLocalEria();
    return true;
}

void FmZipora::build() {
    auto* root = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    root->addLayout(fields);

    auto addRow = [&](int row, int col, const QString& caption, QWidget* control) {
        auto* l = new QLabel(caption, this);
        fields->addWidget(l, row, col);
        fields->addWidget(control, row, col + 1);
        ui::nameByLabel(control, l);
    };
    auto listBox = [&](const QString& name) {
        auto* c = named(new QComboBox(this), name);
        // Editable, so that a name outside the list (a local area that does
        // not split into a real prefecture) can still be shown; the typed
        // keys themselves never reach the text (see eventFilter).
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMaxVisibleItems(20);
        c->setMinimumWidth(220);
        imeOff(c);
        imeOff(c->lineEdit());
        c->installEventFilter(this);
        c->lineEdit()->installEventFilter(this);
        return c;
    };

    txt郵便番号_ = named(new QLineEdit(this), QStringLiteral("TXT郵便番号"));
    txt郵便番号_->setMaximumWidth(120);
    cmb都道府県_ = listBox(QStringLiteral("cmb都道府県"));
    cmb市町村_ = listBox(QStringLiteral("cmb市町村"));
    cmb町名_ = listBox(QStringLiteral("cmb町名"));
    txt番地_ = named(new QLineEdit(this), QStringLiteral("TXT番地"));
    txt市町村かな_ = named(new QLineEdit(this), QStringLiteral("TXT市町村かな"));
    txt町名かな_ = named(new QLineEdit(this), QStringLiteral("TXT町名かな"));

    addRow(0, 0, QStringLiteral("郵便番号"), txt郵便番号_);
    addRow(1, 0, QStringLiteral("都道府県"), cmb都道府県_);
    addRow(2, 0, QStringLiteral("区市町村"), cmb市町村_);
    addRow(3, 0, QStringLiteral("町　　　名"), cmb町名_);
    addRow(4, 0, QStringLiteral("番       地"), txt番地_);
    addRow(1, 2, QStringLiteral("区市町村かな"), txt市町村かな_);
    addRow(2, 2, QStringLiteral("町名かな"), txt町名かな_);

    auto* commands = new QHBoxLayout;
    commands->addWidget(button(QStringLiteral("cmd検索"), QStringLiteral("検索"), this));
    commands->addWidget(button(QStringLiteral("cmdクリア"), QStringLiteral("クリア"), this));
    commands->addWidget(button(QStringLiteral("cmd選択"), QStringLiteral("選択"), this));
    commands->addWidget(button(QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), this));
    fields->addLayout(commands, 3, 2, 2, 2);

    msg検索_ = named(new QLabel(QStringLiteral("検索中です････"), this), QStringLiteral("Msg検索"));
    msg検索_->setAlignment(Qt::AlignCenter);
    msg検索_->setFrameShape(QFrame::Panel);
    msg検索_->hide();
    root->addWidget(msg検索_);

    grid_ = named(new QTableView(this), QStringLiteral("Grid"));
    grid_->setModel(&model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(22);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setMinimumSize(760, 300);
    grid_->setAccessibleName(QStringLiteral("検索結果"));
    root->addWidget(grid_, 1);
    // Fixed widths: sizing to contents would measure up to 30001 rows.
    const int widths[ColCount] = {80, 110, 150, 150, 80, 120, 160};
    for (int c = 0; c < ColCount; ++c) {
        grid_->setColumnWidth(c, widths[c]);
    }

    root->addWidget(new ui::FunctionKeyRow(
        {{Qt::Key_F5, QStringLiteral("検索"), QStringLiteral("cmd検索")},
         {Qt::Key_F9, QStringLiteral("クリア"), QStringLiteral("cmdクリア")},
         {Qt::Key_F10, QStringLiteral("選択"), QStringLiteral("cmd選択")},
         {Qt::Key_Escape, QStringLiteral("閉じる"), QStringLiteral("cmd閉じる")}},
        this));
    ui::nameWindow(this);
    resize(820, 560);
}

void FmZipora::connectControls() {
    auto onClick = [this](const char* name, void (FmZipora::*command)()) {
        connect(findChild<vx::VxCmdBtn*>(QString::fromUtf8(name)), &vx::VxCmdBtn::Click, this,
                [this, command] { (this->*command)(); });
    };
    onClick("cmd検索", &FmZipora::search);
    onClick("cmdクリア", &FmZipora::clearAll);
    onClick("cmd選択", &FmZipora::choose);
    onClick("cmd閉じる", &FmZipora::closeEmpty);

    connect(txt郵便番号_, &QLineEdit::returnPressed, this, [this] {
        if (!txt郵便番号_->text().isEmpty()) {
            Seek郵便番号();
        } else {
            cmb都道府県_->setFocus(Qt::OtherFocusReason);
        }
    });
    // A choice with the mouse; the prefecture loads when the box is left.
    connect(cmb市町村_, &QComboBox::activated, this, [this] { read町名(); });
    connect(cmb町名_, &QComboBox::activated, this, [this] { ReadGrid町名(); });

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        // Only moves inside the dialog: a box's own popup is part of the
        // box, and the focus going back to the caller is not a leave.
        if (!now || !isAncestorOf(now)) {
            return;
        }
        const QComboBox* boxes[] = {cmb都道府県_, cmb市町村_, cmb町名_};
        for (int b = Prefecture; b <= Town; ++b) {
            if (within(boxes[b], old) && !within(boxes[b], now)) {
                leaveBox(Box(b));
            }
        }
    });

    connect(grid_, &QTableView::clicked, this,
            [this] { txt郵便番号_->setText(currentGridCode()); });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!loading_ && current.isValid()) {
                    gridRowChanged(current.row());
                }
            });
}

// ----------------------------------------------------------------- commands

void FmZipora::search() {
    model_.setRows({});
    const bool city = !txt市町村かな_->text().isEmpty();
    const bool town = !txt町名かな_->text().isEmpty();
    if (city && !town) {
        Seek市町村かな(0);
    } else if (!city && town) {
        Seek市町村かな(1);
    }
}

void FmZipora::clearAll() {
    Clear郵便検索();
    cmb都道府県_->setFocus(Qt::OtherFocusReason);
}

void FmZipora::choose() {
    const int row = currentGridRow();
    resultCode_ = txt郵便番号_->text();
    resultAddress_ = model_.cell(row, Col県漢字) + model_.cell(row, Col市町村漢字) +
                     model_.cell(row, Col町名漢字) + txt番地_->text();
    QDialog::accept();
}

void FmZipora::closeEmpty() {
    reject();
}

void FmZipora::reject() {
    resultCode_.clear();
    resultAddress_.clear();
    QDialog::reject();
}

void FmZipora::done(int result) {
    // Both files are closed on every way out.
    data_.reset();
    yubin_.reset();
    QDialog::done(result);
}

void FmZipora::Clear郵便検索() {
    cmb市町村_->clear();
    cmb町名_->clear();
    cmb都道府県_->setEditText(QString());
    txt市町村かな_->clear();
    txt町名かな_->clear();
    txt番地_->clear();
    txt郵便番号_->clear();
    for (QString& b : buffer_) {
        b.clear();
    }
    model_.setRows({});
}

// --------------------------------------------------------------------- grid

int FmZipora::currentGridRow() const {
    const QModelIndex i = grid_->currentIndex();
    return i.isValid() ? i.row() : -1;
}

QString FmZipora::currentGridCode() const {
    return model_.cell(currentGridRow(), Col番号);
}

void FmZipora::gridRowChanged(int row) {
    txt郵便番号_->setText(model_.cell(row, Col番号));
    const QString prefecture = model_.cell(row, Col県漢字);
    if (!prefecture.isEmpty()) {
        cmb都道府県_->setEditText(prefecture); // shown only; no list reloads
    }
}

void FmZipora::showGridRows(std::vector<ZipRow> rows) {
    rows.emplace_back(); // the blank row after the results
    loading_ = true;
    model_.setRows(std::move(rows));
    grid_->setCurrentIndex(model_.index(0, 0));
    loading_ = false;
}

// --------------------------------------------------------------------- keys

QComboBox* FmZipora::boxOf(QObject* watched, Box* which) const {
    QComboBox* boxes[] = {cmb都道府県_, cmb市町村_, cmb町名_};
    for (int b = Prefecture; b <= Town; ++b) {
        if (watched == boxes[b] || watched == boxes[b]->lineEdit()) {
            *which = Box(b);
            return boxes[b];
        }
    }
    return nullptr;
}

void FmZipora::focusNextOf(Box box, bool forward) {
    QWidget* next[] = {cmb市町村_, cmb町名_, txt番地_};
    QWidget* previous[] = {txt郵便番号_, cmb都道府県_, cmb市町村_};
    buffer_[box].clear();
    (forward ? next : previous)[box]->setFocus(Qt::OtherFocusReason);
}

void FmZipora::leaveBox(Box box) {
    buffer_[box].clear();
    if (box == Prefecture) {
        read市町村();
    }
}

bool FmZipora::eventFilter(QObject* watched, QEvent* event) {
    Box box;
    if (!boxOf(watched, &box)) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // While prefecture kana are waiting, ESC takes them back instead of
        // closing the dialog.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && box == Prefecture && !buffer_[Prefecture].isEmpty()) {
            event->accept();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        focusNextOf(box, true);
        return true;
    case Qt::Key_Up:
        focusNextOf(box, false);
        return true;
    case Qt::Key_Escape:
        buffer_[box].clear();
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        return false; // moves between and inside the controls
    }
    // Every typed character is a key of the kana keyboard, never text.
    typeAhead(box, text.at(0));
    return true;
}

} // namespace zipora
