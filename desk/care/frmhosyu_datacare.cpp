// The データ保守 tab: copies of the data file to another folder and back.
// The floppy rows beside them are in frmhosyu_floppy.cpp.

#include "frmhosyu.h"

#include "datafilecopy.h"
#include "paths.h"
#include "platform.h"
#include "showmsg.h"
#include "vxcmdbtn.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QProgressDialog>

namespace care {
namespace {

const QString kCare = QStringLiteral("データ保守");
const QString kFilter = QStringLiteral("MDB ファイル(*.mdb)|*.mdb|");

// A progress window that shows itself only when a copy takes a while.
class CopyProgressWindow {
public:
    explicit CopyProgressWindow(QWidget* owner)
        : dialog_(QStringLiteral("コピー中です･････"), QStringLiteral("キャンセル"), 0, 100,
                  owner) {
        dialog_.setObjectName(QStringLiteral("dlgCopyProgress"));
        dialog_.setWindowTitle(QStringLiteral("コピー"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(400);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
    }
    core::db::CopyProgress callback() {
        return [this](qint64 done, qint64 total) {
            dialog_.setMaximum(static_cast<int>(std::max<qint64>(total, 1)));
            dialog_.setValue(static_cast<int>(std::min(done, total)));
            QCoreApplication::processEvents();
            return !dialog_.wasCanceled();
        };
    }

private:
    QProgressDialog dialog_;
};

// Why a file was not read, in the words of the catalogue.
QString refusalKind(core::db::FileKind kind) {
    using core::db::FileKind;
    switch (kind) {
    case FileKind::Jet:
        return QStringLiteral("旧形式");
    case FileKind::Empty:
        return QStringLiteral("空ファイル");
    case FileKind::NotDatabase:
        return QStringLiteral("形式違い");
    case FileKind::Foreign:
        return QStringLiteral("他システム");
    case FileKind::Work:
        return QStringLiteral("作業用");
    case FileKind::Postal:
        return QStringLiteral("郵便番号辞書");
    case FileKind::NoData:
        return QStringLiteral("データなし");
    case FileKind::Data:
        return QStringLiteral("使用中");
    case FileKind::Missing:
    case FileKind::Unreadable:
    case FileKind::Damaged:
        break;
    }
    return QStringLiteral("破損");
}

} // namespace

QWidget* FrmHosyu::buildDataCareTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("Tabデータ保守"));
    auto* g = new QGridLayout(tab);
    auto row = [&](int r, const char* button, const char* caption, bool inUse) {
        auto* b = makeButton(QString::fromUtf8(button), QStringLiteral("実行"), tab);
        auto* l = new QLabel(QString::fromUtf8(caption), tab);
        b->setAccessibleName(l->text());
        b->setEnabled(inUse);
        g->addWidget(b, r, 1);
        g->addWidget(l, r, 2);
    };
    auto heading = [&](int r, const char* name, const char* caption) {
        auto* l = new QLabel(QString::fromUtf8(caption), tab);
        l->setObjectName(QString::fromUtf8(name));
        g->addWidget(l, r, 0);
    };
    heading(0, "Label4", "保存");
    row(0, "cmdFD書込", "フロッピーディスクにデータをコピーする", true);
    row(1, "cmdHD書込", "ハードディスク、リムーバブルディスクにコピーする", true);
    heading(2, "Label12", "読込む");
    row(2, "cmdFD読込", "フロッピーディスクからデータを読み込む", true);
    row(3, "cmdHD読込", "ハードディスク、リムーバブルディスクから読み込む", true);
    auto* notice =
        new QLabel(QStringLiteral("データの保存と読込みをします。読込みを行うと現在使用中の"
                                  "データは上書きされます。注意して使用してください。"),
                   tab);
    notice->setObjectName(QStringLiteral("Label5"));
    notice->setWordWrap(true);
    g->addWidget(notice, 4, 0, 1, 3);
    auto* fddMsg = new QLabel(tab);
    fddMsg->setObjectName(QStringLiteral("FddMsg"));
    fddMsg->hide();
    g->addWidget(fddMsg, 5, 0, 1, 3);
    auto* hint = makeButton(QStringLiteral("cmdHint2"), QStringLiteral("?"), tab);
    g->addWidget(hint, 6, 2, Qt::AlignRight);
    g->setRowStretch(7, 1);
    g->setColumnStretch(2, 1);
    return tab;
}

void FrmHosyu::SaveDataFileToHdd() {
    ui::DialogRecord r;
    r.title = QStringLiteral("ファイルの保存...");
    r.filter = kFilter;
    r.filterIndex = 1;
    r.defaultName = QStringLiteral("RbctiData2K.mdb");
    // Copies usually go to a removable disk or a folder of the user's own.
    r.initialDir = QDir::homePath();
    r.confirmOverwrite = false; // asked below, also when the dialog is scripted
    if (!ui::ShowSaveDialog(this, r)) {
        return;
    }
    const QString target = QDir::fromNativeSeparators(r.path);
    if (isFileInUse(target)) {
        ui::ShowMsg(kCare, QStringLiteral("使用中"), r.path);
        return;
    }
    if (QFileInfo::exists(target) && !ui::ShowMsg(kCare, QStringLiteral("上書き確認"), r.path)) {
        return;
    }
    CopyOutcome out;
    {
        CopyProgressWindow progress(this);
        out = saveDataFile(target, progress.callback());
    }
    switch (out.result) {
    case CopyOutcome::Done:
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("コピー完了"),
                    r.path + QStringLiteral(" に"));
        break;
    case CopyOutcome::Cancelled:
        break;
    case CopyOutcome::Refused:
        ui::ShowMsg(kCare, QStringLiteral("使用中"), r.path);
        break;
    default:
        ui::ShowMsg(kCare, QStringLiteral("コピー失敗"), out.detail);
        break;
    }
}

void FrmHosyu::ReadDataFileFromHdd() {
    ui::DialogRecord r;
    r.title = QStringLiteral("ファイルの読込...");
    r.filter = kFilter;
    r.filterIndex = 1;
    r.defaultName = QStringLiteral("RbCtiData2K.mdb");
    r.initialDir = QDir::homePath();
    if (!ui::ShowOpenDialog(this, r)) {
        return;
    }
    const QString source = QDir::fromNativeSeparators(r.path);
    if (isFileInUse(source)) {
        ui::ShowMsg(kCare, QStringLiteral("使用中"), r.path);
        return;
    }
    if (!QFileInfo::exists(source)) {
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("ファイルなし"), r.path);
        return;
    }
    CopyOutcome out;
    {
        CopyProgressWindow progress(this);
        out = readDataFile(source, progress.callback());
    }
    const QString dataPath = QDir::toNativeSeparators(core::paths().dataDb);
    switch (out.result) {
    case CopyOutcome::Done:
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("読込み完了"),
                    dataPath + QStringLiteral(" に"));
        break;
    case CopyOutcome::Cancelled:
        break;
    case CopyOutcome::Refused: {
        QString text = r.path;
        if (out.kind == core::db::FileKind::Damaged && !out.detail.isEmpty()) {
            text += QStringLiteral(" (") + out.detail + QLatin1Char(')');
        }
        ui::ShowMsg(kCare, refusalKind(out.kind), text);
        break;
    }
    case CopyOutcome::Failed:
        // The chosen file was fine; the copy itself failed (a full disk, say).
        ui::ShowMsg(kCare, QStringLiteral("読込中止"), r.path + QStringLiteral(": ") + out.detail);
        break;
    case CopyOutcome::PutBack:
        ui::ShowMsg(kCare, QStringLiteral("読込失敗"), r.path + QStringLiteral(": ") + out.detail);
        break;
    case CopyOutcome::NotPutBack:
        ui::ShowMsg(kCare, QStringLiteral("復元失敗"), r.path + QStringLiteral(": ") + out.detail);
        break;
    }
}

} // namespace care
