#include "frmgojuren.h"

#include "accessible.h"
#include "database.h"
#include "fkeyrow.h"
#include "fold.h"
#include "modgojuren.h"
#include "vxcmdbtn.h"
#include "worktablemodel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace gojuren {
namespace {

using core::db::Database;

// Captions of the kana buttons cmd50(0) … cmd50(49): five to a column of
// the syllabary; 48 is a full-width space and 49 has no caption.
const QString kCaptions = QStringLiteral("あいうえおかきくけこさしすせそたちつてと"
                                         "なにぬねのはひふへほまみむめもやゐゆゑよ"
                                         "らりるれろわをん");

QString captionOf(int index) {
    if (index < kCaptions.size()) {
        return QString(kCaptions.at(index));
    }
    return index == 48 ? QStringLiteral("\u3000") : QString();
}

vx::VxCmdBtn* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new vx::VxCmdBtn(caption, parent);
    b->setObjectName(name);
    b->setMinimumSize(72, 28);
    return b;
}

} // namespace

std::unique_ptr<FrmGojuren> FrmGojuren::create(const QString& dataFile, const QString& workFile,
                                               QString* error) {
    QString dummy;
    error = error ? error : &dummy;
    for (const QString& path : {dataFile, workFile}) {
        if (path.isEmpty()) {
            *error = QStringLiteral("データベースファイルが指定されていません。");
            return nullptr;
        }
    }
    // The data file is read through the work database's statements; opening
    // it here refuses a missing, damaged or foreign file before anything shows.
    if (!Database::open(dataFile, error)) {
        return nullptr;
    }
    std::unique_ptr<Database> work = Database::open(workFile, error);
    if (!work) {
        return nullptr;
    }
    // A listing walks the customers of the data file, attached to this
    // connection: mapped, their pages come from the system's file cache
    // instead of being read and copied one by one. Applies to every file the
    // connection attaches.
    work->executeNative(QStringLiteral("PRAGMA mmap_size = 1073741824"));
    return std::unique_ptr<FrmGojuren>(new FrmGojuren(std::move(work), dataFile));
}

FrmGojuren::FrmGojuren(std::unique_ptr<Database> work, const QString& dataFile)
    : QDialog(nullptr)
    , work_(std::move(work))
    , dataFile_(dataFile) {
    setObjectName(QStringLiteral("FrmGojuren"));
    setWindowTitle(QStringLiteral("顧客参照"));
    build();
    ui::nameWindow(this);
    // Opening: the grid over w顧客参照, then a clean start.
    Clear顧客参照(true);
}

FrmGojuren::~FrmGojuren() = default;

void FrmGojuren::build() {
    auto* root = new QVBoxLayout(this);

    // Search boxes, with 検索 and the clear button beside them.
    auto* search = new QGridLayout;
    auto box = [&](QLineEdit*& edit, const char* name, const char* caption, int row, int col) {
        edit = new QLineEdit(this);
        edit->setObjectName(QString::fromUtf8(name));
        auto* l = new QLabel(QString::fromUtf8(caption), this);
        ui::nameByLabel(edit, l);
        search->addWidget(l, row, col * 2);
        search->addWidget(edit, row, col * 2 + 1);
    };
    box(txt電話番号_, "txt電話番号", "電話番号", 0, 0);
    box(txtかな_, "txtかな", "ふりがな", 0, 1);
    box(txt顧客名_, "txt顧客名", "顧客名", 1, 0);
    box(txt住所1_, "txt住所1", "住   所", 1, 1);
    search->setColumnStretch(1, 1);
    search->setColumnStretch(3, 1);
    auto* searchButtons = new QVBoxLayout;
    auto* cmd検索 = button(QStringLiteral("cmd顧客参照"), QStringLiteral("検索"), this);
    auto* cmdクリア = button(QStringLiteral("cmdクリア"), QStringLiteral("クリア"), this);
    searchButtons->addWidget(cmd検索);
    searchButtons->addWidget(cmdクリア);
    auto* top = new QHBoxLayout;
    top->addLayout(search, 1);
    top->addLayout(searchButtons);
    root->addLayout(top);

    // The kana buttons: one column per row of the syllabary.
    auto* kana = new QGridLayout;
    kana->setSpacing(2);
    for (int i = 0; i < kKanaButtons; ++i) {
        auto* b = new vx::VxCmdBtn(captionOf(i), this);
        b->setObjectName(QStringLiteral("cmd50"));
        b->setProperty("Index", i);
        b->setFixedSize(36, 30);
        if (i == 48) {
            b->setAccessibleName(QStringLiteral("空白"));
        } else if (i == 49) {
            b->setAccessibleName(QStringLiteral("見出しなし"));
        }
        kana->addWidget(b, i % 5, i / 5);
        connect(b, &vx::VxCmdBtn::Click, this, [this, b] { ReadSansyo(b->caption()); });
    }
    auto* kanaRow = new QHBoxLayout;
    kanaRow->addStretch();
    kanaRow->addLayout(kana);
    kanaRow->addStretch();
    root->addLayout(kanaRow);

    grid参照_ = new QTableView(this);
    grid参照_->setObjectName(QStringLiteral("Grid参照"));
    grid参照_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid参照_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid参照_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid参照_->verticalHeader()->setDefaultSectionSize(20);
    grid参照_->verticalHeader()->hide();
    grid参照_->horizontalHeader()->setStretchLastSection(true);
    grid参照_->setMinimumHeight(220);
    ui::nameByLabel(grid参照_, QStringLiteral("顧客一覧"));
    model_ = new core::WorkTableModel(
        *work_, QStringLiteral("w顧客参照"),
        {QStringLiteral("code"), QStringLiteral("名称"), QStringLiteral("住所1")}, {}, this,
        core::WorkTableModel::Load::Later);
    model_->setHeaders({QStringLiteral("code"), QStringLiteral("名称"), QStringLiteral("住所1")});
    grid参照_->setModel(model_);
    grid参照_->setColumnWidth(0, 70);
    grid参照_->setColumnWidth(1, 220);
    root->addWidget(grid参照_, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    auto* cmd選択 = button(QStringLiteral("cmd選択"), QStringLiteral("選択"), this);
    auto* cmd閉じる = button(QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), this);
    bottom->addWidget(cmd選択);
    bottom->addWidget(cmd閉じる);
    root->addLayout(bottom);

    root->addWidget(new ui::FunctionKeyRow(
        {{Qt::Key_F5, QStringLiteral("検索"), QStringLiteral("cmd顧客参照")},
         {Qt::Key_F10, QStringLiteral("選択"), QStringLiteral("cmd選択")},
         {Qt::Key_Escape, QStringLiteral("閉じる"), QStringLiteral("cmd閉じる")}},
        this));

    // The busy notice lies over the grid while a kana listing runs.
    msg検索中_ = new QLabel(QStringLiteral("検索中です･･･"), this);
    msg検索中_->setObjectName(QStringLiteral("Msg検索中"));
    msg検索中_->setAlignment(Qt::AlignCenter);
    msg検索中_->setFrameShape(QFrame::Box);
    msg検索中_->setAutoFillBackground(true);
    msg検索中_->setMinimumSize(200, 48);
    msg検索中_->hide();

    connect(cmd検索, &vx::VxCmdBtn::Click, this, [this] { Exec顧客検索(); });
    connect(cmdクリア, &vx::VxCmdBtn::Click, this, [this] {
        Clear顧客参照(true);
        txt電話番号_->setFocus();
    });
    connect(cmd選択, &vx::VxCmdBtn::Click, this, [this] { choose(); });
    connect(cmd閉じる, &vx::VxCmdBtn::Click, this, [this] {
        resultCode_.clear();
        decided_ = true;
        reject();
    });
    connect(grid参照_, &QTableView::doubleClicked, this, [this] { choose(); });

    const QList<QWidget*> chain{txt電話番号_, txtかな_,  txt顧客名_, txt住所1_,
                                cmd検索,      grid参照_, cmd選択,    cmd閉じる};
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
    txt電話番号_->setFocus();
    resize(720, 620);
}

QString FrmGojuren::quotedDataFile() const {
    QString path = dataFile_;
    return path.replace(QLatin1Char('\''), QLatin1String("''"));
}

QString FrmGojuren::customersTable() const {
    return QStringLiteral("顧客マスタ in '%1'").arg(quotedDataFile());
}

void FrmGojuren::refreshGrid() {
    model_->refresh();
    // As in the old grid, the first row is current after a listing, so that
    // 選択 takes it without a click.
    if (model_->rowCount() > 0) {
        grid参照_->setCurrentIndex(model_->index(0, 0));
    }
}

void FrmGojuren::showBusy(bool on) {
    if (!on) {
        msg検索中_->hide();
        return;
    }
    msg検索中_->adjustSize();
    const QRect g = grid参照_->geometry();
    msg検索中_->move(g.center() - msg検索中_->rect().center());
    msg検索中_->raise();
    msg検索中_->show();
    // Painted now: the listing runs before the event loop comes back.
    msg検索中_->repaint();
}

void FrmGojuren::Clear顧客参照(bool sw) {
    work_->execute(QStringLiteral("delete * from w顧客参照"));
    refreshGrid();
    if (sw) {
        txtかな_->clear();
        txt住所1_->clear();
        txt電話番号_->clear();
        txt顧客名_->clear();
    }
}

void FrmGojuren::ReadSansyo(const QString& ch) {
    const KanaForms forms = lookUpKana(ch);
    // A reading matches when it begins with the kana, its katakana or its
    // half-width form. Comparison ignores those differences already, so
    // forms that fold alike are tested once: same rows, a third of the work.
    QStringList seen, tests;
    QVariantList params;
    for (const QString& form : {ch, forms.katakana, forms.halfWidth}) {
        const QString pattern = form + QLatin1Char('*');
        if (const QString key = core::fold::key(pattern); !seen.contains(key)) {
            seen << key;
            tests << QStringLiteral("(ふりがな like ?)");
            params << pattern;
        }
    }
    showBusy(true);
    {
        // One unit of work: the emptied list and its new rows land together.
        core::db::Transaction tx(*work_);
        work_->execute(QStringLiteral("delete * from w顧客参照"));
        // Appended in reading order; the grid shows the table as stored.
        work_->execute(QStringLiteral("insert into w顧客参照 (code, 名称, 住所1) "
                                      "select code,名称,住所1 from %1 where %2 "
                                      "order by ふりがな, code;")
                           .arg(customersTable(), tests.join(QStringLiteral(" or "))),
                       params);
        tx.commit();
    }
    showBusy(false);
    refreshGrid();
}

void FrmGojuren::Exec顧客検索() {
    core::db::Transaction tx(*work_);
    Clear顧客参照(false);
    // Each filled box narrows the list; what was typed is a value matched
    // anywhere in its field, never part of the statement.
    QString where;
    QVariantList params;
    auto condition = [&](QLineEdit* box, const QString& test) {
        const QString typed = box->text();
        if (typed.isEmpty()) {
            return;
        }
        where += (where.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" and ")) + test;
        params << QLatin1Char('*') + typed + QLatin1Char('*');
    };
    condition(txtかな_, QStringLiteral("ふりがな like ? "));
    // The customer master keeps no number of its own: a customer is found by
    // any of its numbers, joined by name as the desk keeps them.
    condition(txt電話番号_,
              QStringLiteral("名称 in (select 名称 from 電話番号 in '%1' where 電話番号 like ?) ")
                  .arg(quotedDataFile()));
    condition(txt顧客名_, QStringLiteral("名称 like ? "));
    condition(txt住所1_, QStringLiteral("住所1 like ? "));
    work_->execute(QStringLiteral("insert into w顧客参照 (code, 名称, 住所1) "
                                  "select code,名称,住所1 from %1%2 order by ふりがな, code;")
                       .arg(customersTable(), where),
                   params);
    tx.commit();
    refreshGrid();
}

void FrmGojuren::choose() {
    const QModelIndex current = grid参照_->currentIndex();
    const QVariant code =
        current.isValid() ? model_->value(current.row(), QStringLiteral("code")) : QVariant();
    resultCode_ = code.isNull() ? QString() : code.toString();
    decided_ = true;
    accept();
}

void FrmGojuren::done(int result) {
    // Closed any other way (the window's close box, a caller's script): no choice.
    if (!decided_) {
        resultCode_.clear();
    }
    decided_ = false;
    QDialog::done(result);
}

} // namespace gojuren
