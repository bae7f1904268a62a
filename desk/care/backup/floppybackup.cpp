#include "floppybackup.h"

#include "backupset.h"
#include "datafilecopy.h"
#include "dbcopy.h"
#include "floppydrive.h"
#include "lookups.h"
#include "lzharchive.h"
#include "platform.h"
#include "showmsg.h"
#include "startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

namespace care {
namespace {

const QString kSaveTitle = QStringLiteral("フロッピーディスクへの保存");
const QString kReadTitle = QStringLiteral("フロッピーディスクの読込");
const QString kCheckTitle = QStringLiteral("フロッピーディスクのチェック");
const QString kNoDisk =
    QStringLiteral("フロッピーディスクがセットされていません。確認してください。");
const QString kNotWritable =
    QStringLiteral("フロッピーディスクが書き込み可能ではありません。確認してください。");
const QString kWrongDisk = QStringLiteral("フロッピーディスクが違います。確認してください。");
// A disk that did not take its file must not end in "saving finished".
const QString kCopyFailed =
    QStringLiteral("フロッピーディスクに書き込めませんでした。確認してください。");
const QString kDataKept = QStringLiteral("現在のデータはそのまま残っています。");
const QString kCrLf = QStringLiteral("\r\n");

QString programTitle() {
    return QCoreApplication::applicationName();
}

QString diskOf(int k, int n) {
    return QStringLiteral("%1/ %2").arg(k).arg(n);
}

// A copy that replaces the target whole and reads back the same.
bool copyChecked(const QString& from, const QString& to) {
    QFile::remove(to);
    if (!QFile::copy(from, to)) {
        return false;
    }
    QFile a(from);
    QFile b(to);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size()) {
        return false;
    }
    while (!a.atEnd()) {
        if (a.read(1 << 20) != b.read(1 << 20)) {
            return false;
        }
    }
    return true;
}

QString bytes(qint64 n) {
    return QLocale::c().toString(n);
}

// Why a checked extracted file did not become the data file.
QString notTaken(const CopyOutcome& o) {
    switch (o.result) {
    case CopyOutcome::Refused:
        return QStringLiteral("書庫の中身はこのシステムのデータファイルではありません") +
               (o.detail.isEmpty() ? QString()
                                   : QStringLiteral(" (") + o.detail + QLatin1Char(')'));
    default:
        return o.detail.isEmpty() ? QStringLiteral("データファイルを置き換えられません") : o.detail;
    }
}

} // namespace

CopyOutcome restoreDataFile(const QString& extracted) {
    const QString dataDb = core::paths().dataDb;
    const QString keep = dataDb + QStringLiteral(".keep");
    QFile::remove(keep);
    // A second name for the current file (no transaction is open, so the
    // file is whole); a copy where the file system has no links.
    const bool kept =
        ::link(QFile::encodeName(dataDb).constData(), QFile::encodeName(keep).constData()) == 0 ||
        (core::dataDb() && core::db::saveSnapshot(*core::dataDb(), keep, {}, nullptr));
    const CopyOutcome outcome = readDataFile(extracted, {});
    if (outcome.result == CopyOutcome::Done && kept) {
        QFile::remove(backupPath());
        std::rename(QFile::encodeName(keep).constData(),
                    QFile::encodeName(backupPath()).constData());
    }
    QFile::remove(keep);
    return outcome;
}

FloppyBackup::FloppyBackup(QString workDir, QString floppyRoot,
                           std::function<void(const QString&)> progress)
    : goodDrive(GoodDrive)
    , writeTest(WriteTest)
    , workDir_(std::move(workDir))
    , root_(std::move(floppyRoot))
    , progress_(std::move(progress)) {}

void FloppyBackup::showProgress(const QString& text) {
    if (progress_) {
        progress_(text);
    }
    QCoreApplication::processEvents();
}

bool FloppyBackup::CreateLzhFile(const QString& workDir, const QString& dataFileName,
                                 const QString& archiveName) {
    const QString archive = QDir(workDir).filePath(archiveName);
    if (QFileInfo::exists(archive)) {
        QFile::remove(archive);
        core::WaitTime(300);
    }
    // The archive is made from a snapshot: the desk may be writing calls
    // into the data file meanwhile.
    QTemporaryDir scratch(QDir(workDir).filePath(QStringLiteral("backup-XXXXXX")));
    const QString snapshot = scratch.filePath(dataFileName);
    QString error;
    lzh::Result made;
    if (!scratch.isValid() || !core::dataDb() ||
        !core::db::saveSnapshot(*core::dataDb(), snapshot, {}, &error)) {
        made = lzh::Result::failure(
            error.isEmpty() ? QStringLiteral("データファイルを複製できません") : error);
    } else {
        made = lzh::create(archive, {{snapshot, dataFileName}});
    }
    if (!made) {
        QFile::remove(archive);
        ui::showNotice(programTitle(),
                       QStringLiteral("[書庫ファイル　作成エラー]") + kCrLf + made.error,
                       core::MsgStyle::Warning);
        return false;
    }
    QList<lzh::Member> members;
    lzh::list(archive, &members);
    QString report = QDir::toNativeSeparators(archive);
    for (const lzh::Member& m : members) {
        report += kCrLf + QStringLiteral("%1  %2 → %3 バイト  %4")
                              .arg(m.name, bytes(m.size), bytes(m.packedSize), m.method);
    }
    ui::showNotice(programTitle(), QStringLiteral("[書庫ファイル ＯＫ]") + kCrLf + report);
    return true;
}

bool FloppyBackup::askDisk(const QString& title, int k, int n) {
    return ui::askOkCancel(
        title, diskOf(k, n) + QStringLiteral("枚目のフロッピーディスクをセットしてください。"));
}

bool FloppyBackup::writeDisk(int k, int n, const QString& control, const QString& payload) {
    // Only the set's own files go: on a stick or a share the root holds
    // the user's files too.
    eraseBackupSet(root_);
    showProgress(diskOf(k, n) + QStringLiteral(" 枚目のフロッピーディスクに保存中です･･･"));
    bool ok = true;
    if (k == 1) {
        ok = copyChecked(control, QDir(root_).filePath(kControlFile));
    }
    ok = ok && copyChecked(payload, QDir(root_).filePath(QFileInfo(payload).fileName()));
    showProgress(QString());
    return ok;
}

void FloppyBackup::FDDBuckUp() {
    const QDir work(workDir_);
    const QString archive = work.filePath(kArchiveFile);
    const QString control = work.filePath(kControlFile);
    if (!CreateLzhFile(workDir_, kArchivedDataName, kArchiveFile)) {
        return;
    }
    const qint64 size = ui::GetFileLen(archive);
    if (size < 0) {
        return;
    }
    const int n = diskCount(size);
    QStringList pieces{archive};
    if (n > 1) {
        const auto cut = cutPieces(archive, workDir_);
        if (!cut) {
            ui::showNotice(kSaveTitle, QStringLiteral("分割ファイルを作れません。"),
                           core::MsgStyle::Warning);
            return;
        }
        pieces.clear();
        for (const QString& p : *cut) {
            pieces << work.filePath(p);
        }
    }
    {
        QFile c(control);
        if (!c.open(QIODevice::WriteOnly | QIODevice::Truncate) || c.write(controlText(n)) < 0) {
            return;
        }
    }
    if (!ui::askOkCancel(kSaveTitle,
                         QStringLiteral("%1 枚のフロッピーディスクを準備してださい。").arg(n))) {
        return;
    }
    for (int k = 1; k <= n;) {
        if (!askDisk(kSaveTitle, k, n)) {
            return;
        }
        if (!goodDrive(root_)) {
            if (!ui::askOkCancel(kCheckTitle, kNoDisk)) {
                return;
            }
            continue;
        }
        if (!writeTest(root_)) {
            if (!ui::askOkCancel(kCheckTitle, kNotWritable)) {
                return;
            }
            continue;
        }
        if (!writeDisk(k, n, control, pieces[k - 1])) {
            if (!ui::askOkCancel(kCheckTitle, kCopyFailed)) {
                return;
            }
            continue;
        }
        ++k;
    }
    // A completed run leaves nothing of the set in the data directory.
    eraseBackupSet(workDir_);
    ui::showNotice(kSaveTitle, QStringLiteral("保存が終了しました。"));
}

void FloppyBackup::RestoreRB() {
    const QDir work(workDir_);
    const QString archive = work.filePath(kArchiveFile);
    if (!ui::askOkCancel(
            kReadTitle,
            QStringLiteral("顧客管理RBCti") +
                QStringLiteral(
                    "をバックアップしたフロッピーディスクの「1」をセットしてださい。"))) {
        return;
    }
    while (!goodDrive(root_)) {
        if (!ui::askOkCancel(kCheckTitle, kNoDisk)) {
            return;
        }
    }
    std::optional<int> count;
    for (;;) {
        const QString control = findFile(root_, kControlFile);
        if (!control.isEmpty()) {
            count = readControlFile(control);
        }
        if (count) {
            break;
        }
        if (!ui::askOkCancel(kCheckTitle, kWrongDisk)) {
            return;
        }
    }
    const int n = *count;
    if (!ui::askOkCancel(
            kCheckTitle,
            QStringLiteral("フロッピーディスクは %1 枚です。よろしいですか。").arg(n))) {
        return;
    }
    QFile joined(archive);
    if (!joined.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return;
    }
    for (int k = 1; k <= n;) {
        if (!askDisk(kReadTitle, k, n)) {
            return;
        }
        if (!goodDrive(root_)) {
            if (!ui::askOkCancel(kCheckTitle, kNoDisk)) {
                return;
            }
            continue;
        }
        const QString piece = findFile(root_, n == 1 ? kArchiveFile : pieceName(k));
        if (piece.isEmpty()) {
            if (!ui::askOkCancel(
                    kCheckTitle,
                    QStringLiteral(
                        "これは %1 枚目のフロッピーディスクではありません。確認してください。")
                        .arg(k))) {
                return;
            }
            continue;
        }
        showProgress(diskOf(k, n) + QStringLiteral(" 枚目のフロッピーディスクを読込中です･･･"));
        QFile in(piece);
        bool ok = in.open(QIODevice::ReadOnly);
        while (ok && !in.atEnd()) {
            const QByteArray chunk = in.read(kPieceSize);
            ok = joined.write(chunk) == chunk.size();
        }
        showProgress(QString());
        if (!ok) {
            if (!ui::askOkCancel(
                    kCheckTitle,
                    QStringLiteral(
                        "これは %1 枚目のフロッピーディスクではありません。確認してください。")
                        .arg(k))) {
                return;
            }
            // The piece is read again from its start.
            joined.resize(qint64(k - 1) * kPieceSize);
            joined.seek(joined.size());
            continue;
        }
        ++k;
    }
    joined.close();
    DefrostRB(workDir_, kArchivedDataName, kArchiveFile);
    QFile::remove(archive);
    ui::showNotice(kReadTitle, QStringLiteral("読込が終了しました。"));
}

void FloppyBackup::DefrostRB(const QString& workDir, const QString& dataFileName,
                             const QString& archiveName) {
    const QString archive = QDir(workDir).filePath(archiveName);
    if (!QFileInfo::exists(archive)) {
        return;
    }
    // Extracted beside the data file, checked, and only then put in its
    // place; any failure leaves the current data file in use.
    QTemporaryDir scratch(QDir(workDir).filePath(QStringLiteral("restore-XXXXXX")));
    lzh::Result r = scratch.isValid()
                        ? lzh::extract(archive, scratch.path(), {dataFileName})
                        : lzh::Result::failure(QStringLiteral("作業フォルダを作れません"));
    bool kept = true;
    if (r) {
        const CopyOutcome outcome = restoreDataFile(scratch.filePath(dataFileName));
        if (outcome.result != CopyOutcome::Done) {
            r = lzh::Result::failure(notTaken(outcome));
            kept = outcome.result != CopyOutcome::NotPutBack;
        }
    }
    if (!r) {
        ui::showNotice(programTitle(),
                       QStringLiteral("[書庫解凍　エラー]") + kCrLf + r.error +
                           (kept ? kCrLf + kDataKept : QString()),
                       core::MsgStyle::Warning);
        return;
    }
    QString report = QStringLiteral("[書庫解凍 ＯＫ]") + kCrLf +
                     QDir::toNativeSeparators(QDir(workDir).filePath(dataFileName));
    if (QFileInfo::exists(backupPath())) {
        report += kCrLf + QStringLiteral("以前のデータは %1 に残してあります。")
                              .arg(QDir::toNativeSeparators(backupPath()));
    }
    ui::showNotice(programTitle(), report);
}

} // namespace care
