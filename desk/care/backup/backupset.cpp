#include "backupset.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace care {

QString pieceName(int k) {
    return QStringLiteral("cti_d%1").arg(k, 3, 10, QLatin1Char('0'));
}

int diskCount(qint64 archiveSize) {
    return archiveSize <= kPieceSize ? 1 : int((archiveSize + kPieceSize - 1) / kPieceSize);
}

QByteArray controlText(int disks) {
    return QByteArrayLiteral("CtiFddNum = ") + QByteArray::number(disks);
}

std::optional<int> readControlFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray text = f.read(100);
    if (text.size() <= 12) {
        return std::nullopt;
    }
    text = text.mid(12);
    text.replace(' ', QByteArray());
    text.replace('\t', QByteArray());
    text = text.trimmed(); // a line end written by hand
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1) {
        return std::nullopt;
    }
    return n;
}

bool isBackupSetFile(const QString& fileName) {
    static const QRegularExpression piece(QStringLiteral("^cti_d[0-9]{3}$"),
                                          QRegularExpression::CaseInsensitiveOption);
    return fileName.compare(kControlFile, Qt::CaseInsensitive) == 0 ||
           fileName.compare(kArchiveFile, Qt::CaseInsensitive) == 0 ||
           piece.match(fileName).hasMatch();
}

QString findFile(const QString& dir, const QString& name) {
    for (const QString& f : QDir(dir).entryList(QDir::Files | QDir::Hidden)) {
        if (f.compare(name, Qt::CaseInsensitive) == 0) {
            return QDir(dir).filePath(f);
        }
    }
    return {};
}

std::optional<QStringList> cutPieces(const QString& archive, const QString& dir) {
    QFile in(archive);
    if (!in.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const int n = diskCount(in.size());
    QStringList names;
    for (int k = 1; k <= n; ++k) {
        // One piece in memory at a time.
        const QByteArray piece = in.read(kPieceSize);
        QSaveFile out(QDir(dir).filePath(pieceName(k)));
        if (piece.isEmpty() || !out.open(QIODevice::WriteOnly) ||
            out.write(piece) != piece.size() || !out.commit()) {
            return std::nullopt;
        }
        names << pieceName(k);
    }
    return names;
}

bool eraseBackupSet(const QString& dir) {
    bool all = true;
    for (const QString& f : QDir(dir).entryList(QDir::Files | QDir::Hidden)) {
        if (isBackupSetFile(f)) {
            all = QFile::remove(QDir(dir).filePath(f)) && all;
        }
    }
    return all;
}

} // namespace care
