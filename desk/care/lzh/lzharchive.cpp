#include "lzharchive.h"

#include "crc16.h"
#include "lh5encoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>
#include <vector>

extern "C" {
#include <lhasa.h>
}

namespace lzh {
namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

void put16(QByteArray& b, quint16 v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}
void put32(QByteArray& b, quint32 v) {
    put16(b, quint16(v & 0xFFFF));
    put16(b, quint16(v >> 16));
}

// A level-2 header: the fixed part, then extended headers (header CRC, file
// name, Unix permissions), each followed by the size of the next.
QByteArray level2Header(const char* method, quint32 packed, quint32 original, quint32 time,
                        quint16 crc, const QByteArray& name, quint16 permissions) {
    QByteArray h;
    put16(h, 0); // whole header size, set below
    h.append(method, 5);
    put32(h, packed);
    put32(h, original);
    put32(h, time);
    h.append(char(0x20));
    h.append(char(2)); // level
    put16(h, crc);
    h.append('U');
    put16(h, 5);
    h.append(char(0x00));
    const int crcAt = int(h.size());
    put16(h, 0);
    put16(h, quint16(3 + name.size()));
    h.append(char(0x01));
    h.append(name);
    put16(h, 5);
    h.append(char(0x50));
    put16(h, permissions);
    put16(h, 0);
    // A header whose size has a zero low byte would read as the archive's end.
    if ((h.size() & 0xFF) == 0) {
        h.append(char(0));
    }
    h[0] = char(h.size() & 0xFF);
    h[1] = char((h.size() >> 8) & 0xFF);
    const quint16 headerCrc = Crc16::of(h.constData(), std::size_t(h.size()));
    h[crcAt] = char(headerCrc & 0xFF);
    h[crcAt + 1] = char(headerCrc >> 8);
    return h;
}

struct Reader {
    LHAInputStream* stream = nullptr;
    LHAReader* reader = nullptr;
    ~Reader() {
        if (reader) {
            lha_reader_free(reader);
        }
        if (stream) {
            lha_input_stream_free(stream);
        }
    }
    Result open(const QString& path) {
        if (!QFileInfo(path).isFile()) {
            return Result::failure(
                QStringLiteral("%1: 書庫ファイルがありません").arg(native(path)));
        }
        QByteArray name = QFile::encodeName(path);
        stream = lha_input_stream_from(name.data());
        if (!stream) {
            return Result::failure(
                QStringLiteral("%1: 書庫ファイルを開けません").arg(native(path)));
        }
        reader = lha_reader_new(stream);
        if (!reader) {
            return Result::failure(
                QStringLiteral("%1: 書庫ファイルを読めません").arg(native(path)));
        }
        return {};
    }
};

QString memberName(const LHAFileHeader* h) {
    QString name;
    if (h->path) {
        name = QString::fromLocal8Bit(h->path);
    }
    if (h->filename) {
        name += QString::fromLocal8Bit(h->filename);
    }
    return name;
}

Member toMember(const LHAFileHeader* h) {
    Member m;
    m.name = memberName(h);
    m.method = QString::fromLatin1(h->compress_method, int(qstrnlen(h->compress_method, 5)));
    m.size = qint64(h->length);
    m.packedSize = qint64(h->compressed_length);
    m.crc = h->crc;
    m.modified = QDateTime::fromSecsSinceEpoch(h->timestamp);
    return m;
}

// Decodes the current member, handing each piece to sink, and checks its
// length and CRC against the header.
template <typename Sink>
Result decodeCurrent(LHAReader* reader, const LHAFileHeader* h, const QString& archive, Sink sink) {
    const QString name = memberName(h);
    std::vector<char> buf(1 << 16);
    Crc16 crc;
    std::size_t total = 0;
    for (;;) {
        const std::size_t n = lha_reader_read(reader, buf.data(), buf.size());
        if (n == 0) {
            break;
        }
        crc.add(buf.data(), n);
        total += n;
        if (!sink(buf.data(), n)) {
            return Result::failure(
                QStringLiteral("%1: %2 を書き込めません").arg(native(archive), name));
        }
    }
    if (total != h->length || crc.value() != h->crc) {
        return Result::failure(
            QStringLiteral("%1: %2 が壊れています (CRC エラー)").arg(native(archive), name));
    }
    return {};
}

} // namespace

bool isSafeMemberName(const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QLatin1Char(':')) || name.contains(QStringLiteral(".."))) {
        return false;
    }
    for (QChar c : name) {
        if (c.unicode() < 0x20) {
            return false;
        }
    }
    return name != QStringLiteral(".");
}

Result create(const QString& archivePath, const QList<Source>& sources) {
    QSaveFile out(archivePath);
    if (!out.open(QIODevice::WriteOnly)) {
        return Result::failure(QStringLiteral("%1: 書庫ファイルを作れません (%2)")
                                   .arg(native(archivePath), out.errorString()));
    }
    for (const Source& s : sources) {
        if (!isSafeMemberName(s.storedName)) {
            return Result::failure(QStringLiteral("%1: 格納名が不正です").arg(s.storedName));
        }
        QFile in(s.path);
        if (!in.open(QIODevice::ReadOnly)) {
            return Result::failure(
                QStringLiteral("%1: 読めません (%2)").arg(native(s.path), in.errorString()));
        }
        const qint64 size = in.size();
        if (size > qint64(0xFFFFFFFFu)) {
            return Result::failure(
                QStringLiteral("%1: 4 GB を超えるファイルは格納できません").arg(native(s.path)));
        }
        const uchar* data = nullptr;
        QByteArray whole;
        if (size > 0) {
            data = in.map(0, size);
            if (!data) {
                whole = in.readAll();
                if (whole.size() != size) {
                    return Result::failure(QStringLiteral("%1: 読めません").arg(native(s.path)));
                }
                data = reinterpret_cast<const uchar*>(whole.constData());
            }
        }
        const quint16 crc = size > 0 ? Crc16::of(data, std::size_t(size)) : 0;
        std::vector<std::uint8_t> packed;
        if (size > 0) {
            packed = encodeLh5(data, std::size_t(size));
        }
        const bool shrinks = size > 0 && qint64(packed.size()) < size;
        const QFileInfo info(s.path);
        const auto perms =
            quint16(0100000 | (info.permissions() & QFileDevice::ReadOwner ? 0400 : 0) |
                    (info.permissions() & QFileDevice::WriteOwner ? 0200 : 0) | 044);
        const QByteArray header = level2Header(
            shrinks ? "-lh5-" : "-lh0-", quint32(shrinks ? packed.size() : std::size_t(size)),
            quint32(size), quint32(info.lastModified().toSecsSinceEpoch()), crc,
            s.storedName.toLocal8Bit(), perms);
        bool written = out.write(header) == header.size();
        if (shrinks) {
            written = written && out.write(reinterpret_cast<const char*>(packed.data()),
                                           qint64(packed.size())) == qint64(packed.size());
        } else if (size > 0) {
            written = written && out.write(reinterpret_cast<const char*>(data), size) == size;
        }
        if (!written) {
            return Result::failure(QStringLiteral("%1: 書き込めません (%2)")
                                       .arg(native(archivePath), out.errorString()));
        }
    }
    out.write("\0", 1);
    if (!out.commit()) {
        return Result::failure(
            QStringLiteral("%1: 書き込めません (%2)").arg(native(archivePath), out.errorString()));
    }
    return {};
}

Result list(const QString& archivePath, QList<Member>* members) {
    Reader r;
    if (Result opened = r.open(archivePath); !opened) {
        return opened;
    }
    members->clear();
    while (LHAFileHeader* h = lha_reader_next_file(r.reader)) {
        members->append(toMember(h));
    }
    if (members->isEmpty()) {
        return Result::failure(
            QStringLiteral("%1: LZH 書庫ではありません").arg(native(archivePath)));
    }
    return {};
}

Result verify(const QString& archivePath) {
    Reader r;
    if (Result opened = r.open(archivePath); !opened) {
        return opened;
    }
    int count = 0;
    while (LHAFileHeader* h = lha_reader_next_file(r.reader)) {
        ++count;
        if (Result ok = decodeCurrent(r.reader, h, archivePath,
                                      [](const char*, std::size_t) { return true; });
            !ok) {
            return ok;
        }
    }
    if (count == 0) {
        return Result::failure(
            QStringLiteral("%1: LZH 書庫ではありません").arg(native(archivePath)));
    }
    return {};
}

Result extract(const QString& archivePath, const QString& targetDir, const QStringList& wanted) {
    // First the names alone: one bad member refuses the whole archive.
    QList<Member> members;
    if (Result listed = list(archivePath, &members); !listed) {
        return listed;
    }
    auto wantedSpelling = [&](const QString& name) -> QString {
        for (const QString& w : wanted) {
            if (name.compare(w, Qt::CaseInsensitive) == 0) {
                return w;
            }
        }
        return {};
    };
    QStringList seen;
    for (const Member& m : members) {
        if (!isSafeMemberName(m.name)) {
            return Result::failure(QStringLiteral("%1: 格納名 \"%2\" は展開できません")
                                       .arg(native(archivePath), m.name));
        }
        const QString w = wantedSpelling(m.name);
        if (w.isEmpty()) {
            return Result::failure(QStringLiteral("%1: 予期しないファイル \"%2\" が含まれています")
                                       .arg(native(archivePath), m.name));
        }
        if (m.method == QStringLiteral("-lhd-")) {
            return Result::failure(QStringLiteral("%1: \"%2\" はファイルではありません")
                                       .arg(native(archivePath), m.name));
        }
        if (seen.contains(w, Qt::CaseInsensitive)) {
            return Result::failure(QStringLiteral("%1: \"%2\" が二度格納されています")
                                       .arg(native(archivePath), m.name));
        }
        seen << w;
    }
    for (const QString& w : wanted) {
        if (!seen.contains(w, Qt::CaseInsensitive)) {
            return Result::failure(
                QStringLiteral("%1: %2 が含まれていません").arg(native(archivePath), w));
        }
    }

    // Then the data, each member into a temporary file beside its place;
    // nothing replaces a file until every member has passed its CRC.
    Reader r;
    if (Result opened = r.open(archivePath); !opened) {
        return opened;
    }
    std::vector<std::unique_ptr<QSaveFile>> staged;
    while (LHAFileHeader* h = lha_reader_next_file(r.reader)) {
        auto file =
            std::make_unique<QSaveFile>(QDir(targetDir).filePath(wantedSpelling(memberName(h))));
        if (!file->open(QIODevice::WriteOnly)) {
            return Result::failure(QStringLiteral("%1: 書き込めません (%2)")
                                       .arg(native(file->fileName()), file->errorString()));
        }
        QSaveFile* f = file.get();
        if (Result ok = decodeCurrent(
                r.reader, h, archivePath,
                [f](const char* p, std::size_t n) { return f->write(p, qint64(n)) == qint64(n); });
            !ok) {
            return ok;
        }
        staged.push_back(std::move(file));
    }
    if (staged.size() != std::size_t(members.size())) {
        return Result::failure(
            QStringLiteral("%1: 書庫が途中で切れています").arg(native(archivePath)));
    }
    for (auto& f : staged) {
        if (!f->commit()) {
            return Result::failure(QStringLiteral("%1: 書き込めません (%2)")
                                       .arg(native(f->fileName()), f->errorString()));
        }
    }
    return {};
}

} // namespace lzh
