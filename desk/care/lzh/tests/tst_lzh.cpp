#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "crc16.h"
#include "lh5encoder.h"
#include "lzharchive.h"

extern "C" {
#include <lhasa.h>
}

namespace {

QByteArray randomBytes(int n, quint32 seed) {
    QRandomGenerator g(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (char& c : b) {
        c = char(g.bounded(256));
    }
    return b;
}

// Text-like data: words from a small vocabulary with numbers, the way a
// database page of names and call records repeats itself.
QByteArray recordLike(int n, quint32 seed) {
    static const char* words[] = {
        "山田",     "商店", "0312345678",          "着信",      "用件", "済", "ｶﾌﾞｼｷｶﾞｲｼｬ",
        "customer", "memo", "2026-12-10 14:15:47", "\0\0\0\x01"};
    QRandomGenerator g(seed);
    QByteArray b;
    while (b.size() < n) {
        b += words[g.bounded(int(std::size(words)))];
        b += char(g.bounded(32, 127));
    }
    b.truncate(n);
    return b;
}

// Matches at the edge of the window: the same 256-byte run 8192 bytes back.
QByteArray farMatches() {
    QByteArray run = randomBytes(256, 7);
    QByteArray gap = randomBytes(8192 - 256, 8);
    QByteArray b;
    for (int i = 0; i < 20; ++i) {
        b += run;
        b += gap;
    }
    return b;
}

QByteArray decodeRaw(const std::vector<std::uint8_t>& packed, std::size_t length) {
    struct Src {
        const std::vector<std::uint8_t>* data;
        std::size_t at = 0;
    } src{&packed};
    auto callback = [](void* buf, size_t len, void* user) -> size_t {
        auto* s = static_cast<Src*>(user);
        const std::size_t n = std::min(len, s->data->size() - s->at);
        memcpy(buf, s->data->data() + s->at, n);
        s->at += n;
        return n;
    };
    LHADecoderType* type = lha_decoder_for_name(const_cast<char*>("-lh5-"));
    LHADecoder* d = lha_decoder_new(type, callback, &src, length);
    QByteArray out(qsizetype(length), Qt::Uninitialized);
    std::size_t got = 0;
    while (got < length) {
        const std::size_t n =
            lha_decoder_read(d, reinterpret_cast<uint8_t*>(out.data()) + got, length - got);
        if (n == 0) {
            break;
        }
        got += n;
    }
    lha_decoder_free(d);
    out.truncate(qsizetype(got));
    return out;
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs an archiver of the system and returns its exit code; output in *text.
int run(const QString& program, const QStringList& args, const QString& dir, QString* text) {
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000)) {
        return -1;
    }
    *text = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Replaces a stored name by another of the same length and mends the
// header CRC, as a hostile archive would carry it.
QByteArray withStoredName(QByteArray archive, const QByteArray& from, const QByteArray& to) {
    Q_ASSERT(from.size() == to.size());
    const int at = int(archive.indexOf(from));
    Q_ASSERT(at > 0);
    archive.replace(at, to.size(), to);
    const int headerSize = quint8(archive[0]) | (quint8(archive[1]) << 8);
    QByteArray header = archive.left(headerSize);
    header[27] = 0;
    header[28] = 0;
    const quint16 crc = lzh::Crc16::of(header.constData(), std::size_t(header.size()));
    archive[27] = char(crc & 0xFF);
    archive[28] = char(crc >> 8);
    return archive;
}

} // namespace

class TestLzh : public QObject {
    Q_OBJECT
    void payloads() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("method");
        QTest::newRow("empty") << QByteArray() << "-lh0-";
        QTest::newRow("one byte") << QByteArray("A") << "-lh0-";
        QTest::newRow("tiny text") << QByteArray("CtiFddNum = 2\r\n") << "-lh0-";
        QTest::newRow("incompressible") << randomBytes(100000, 1) << "-lh0-";
        QTest::newRow("one byte repeated") << QByteArray(1 << 20, '\0') << "-lh5-";
        QTest::newRow("short period") << QByteArray("abc").repeated(50000) << "-lh5-";
        QTest::newRow("record-like, many blocks") << recordLike(3 << 20, 2) << "-lh5-";
        QTest::newRow("matches at the window's edge") << farMatches() << "-lh5-";
        QTest::newRow("mixed random and runs") << (randomBytes(5000, 3) + QByteArray(70000, 'x') +
                                                   randomBytes(5000, 4) + recordLike(100000, 5))
                                               << "-lh5-";
    }

private slots:
    void crcOfKnownText() {
        // The reflected 0xA001 CRC-16 of "123456789".
        QCOMPARE(lzh::Crc16::of("123456789", 9), quint16(0xBB3D));
    }

    // Our stream decodes to the input through liblhasa's own decoder.
    void rawStreamDecodes_data() { payloads(); }
    void rawStreamDecodes() {
        QFETCH(QByteArray, data);
        if (data.isEmpty()) {
            return;
        }
        const auto packed = lzh::encodeLh5(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                           std::size_t(data.size()));
        QCOMPARE(decodeRaw(packed, std::size_t(data.size())), data);
    }

    void archiveRoundTrip_data() { payloads(); }
    void archiveRoundTrip() {
        QFETCH(QByteArray, data);
        QFETCH(QString, method);
        QTemporaryDir dir;
        writeFile(dir.filePath("RbCtiData2K.mdb"), data);
        const QString archive = dir.filePath("ctidata.lzh");
        QVERIFY(lzh::create(archive, {{dir.filePath("RbCtiData2K.mdb"), "RbCtiData2K.mdb"}}));

        QList<lzh::Member> members;
        QVERIFY(lzh::list(archive, &members));
        QCOMPARE(members.size(), 1);
        QCOMPARE(members[0].name, QStringLiteral("RbCtiData2K.mdb"));
        QCOMPARE(members[0].method, method);
        QCOMPARE(members[0].size, qint64(data.size()));
        QCOMPARE(members[0].crc, lzh::Crc16::of(data.constData(), std::size_t(data.size())));
        QVERIFY(lzh::verify(archive));

        QDir(dir.path()).mkdir("out");
        QVERIFY(lzh::extract(archive, dir.filePath("out"), {"RbCtiData2K.mdb"}));
        QCOMPARE(readFile(dir.filePath("out/RbCtiData2K.mdb")), data);
    }

    // The system's archivers test and extract what we write, without a word
    // of warning.
    void othersReadOurs_data() { payloads(); }
    void othersReadOurs() {
        QFETCH(QByteArray, data);
        QTemporaryDir dir;
        writeFile(dir.filePath("RbCtiData2K.mdb"), data);
        QVERIFY(lzh::create(dir.filePath("ctidata.lzh"),
                            {{dir.filePath("RbCtiData2K.mdb"), "RbCtiData2K.mdb"}}));
        QFile::remove(dir.filePath("RbCtiData2K.mdb"));
        QString text;
        for (const QString& tool : {QStringLiteral("lha"), QStringLiteral("lhasa")}) {
            if (QStandardPaths::findExecutable(tool).isEmpty()) {
                QFAIL(qPrintable(tool + " is not installed"));
            }
            QCOMPARE(run(tool, {"t", "ctidata.lzh"}, dir.path(), &text), 0);
            QVERIFY2(!text.contains("arn", Qt::CaseInsensitive) &&
                         !text.contains("rror", Qt::CaseInsensitive),
                     qPrintable(tool + ": " + text));
            QCOMPARE(run(tool, {"x", "ctidata.lzh"}, dir.path(), &text), 0);
            QCOMPARE(readFile(dir.filePath("RbCtiData2K.mdb")), data);
            QFile::remove(dir.filePath("RbCtiData2K.mdb"));
        }
    }

    void oursReadsOthers() {
        QTemporaryDir dir;
        const QByteArray data = recordLike(600000, 9);
        writeFile(dir.filePath("RbCtiData2K.mdb"), data);
        QString text;
        QCOMPARE(run("lha", {"a", "ctidata.lzh", "RbCtiData2K.mdb"}, dir.path(), &text), 0);
        QList<lzh::Member> members;
        QVERIFY(lzh::list(dir.filePath("ctidata.lzh"), &members));
        QCOMPARE(members.size(), 1);
        QCOMPARE(members[0].method, QStringLiteral("-lh5-"));
        QDir(dir.path()).mkdir("out");
        QVERIFY(
            lzh::extract(dir.filePath("ctidata.lzh"), dir.filePath("out"), {"rbctidata2k.MDB"}));
        QCOMPARE(readFile(dir.filePath("out/rbctidata2k.MDB")), data);
    }

    // A damaged archive is found out and nothing it holds replaces the file
    // already in the target folder.
    void damageIsFound_data() {
        QTest::addColumn<int>("cut");  // bytes cut off the end, or -1
        QTest::addColumn<int>("flip"); // offset from the data's middle, or -1
        QTest::newRow("flipped byte") << -1 << 0;
        QTest::newRow("truncated") << 4000 << -1;
    }
    void damageIsFound() {
        QFETCH(int, cut);
        QFETCH(int, flip);
        QTemporaryDir dir;
        const QByteArray data = recordLike(200000, 11);
        writeFile(dir.filePath("RbCtiData2K.mdb"), data);
        const QString archive = dir.filePath("ctidata.lzh");
        QVERIFY(lzh::create(archive, {{dir.filePath("RbCtiData2K.mdb"), "RbCtiData2K.mdb"}}));
        QByteArray bytes = readFile(archive);
        if (flip >= 0) {
            bytes[bytes.size() / 2 + flip] = char(bytes[bytes.size() / 2 + flip] ^ 0x10);
        }
        if (cut > 0) {
            bytes.chop(cut);
        }
        writeFile(archive, bytes);
        QVERIFY(!lzh::verify(archive));
        QDir(dir.path()).mkdir("out");
        writeFile(dir.filePath("out/RbCtiData2K.mdb"), "current data");
        const lzh::Result r = lzh::extract(archive, dir.filePath("out"), {"RbCtiData2K.mdb"});
        QVERIFY(!r);
        QVERIFY(r.error.contains("ctidata.lzh"));
        QCOMPARE(readFile(dir.filePath("out/RbCtiData2K.mdb")), QByteArray("current data"));
        QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files).size(), 1);
    }

    void hostileNamesWriteNothing_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("parent folder") << QByteArray("../RbCtiData2K.m");
        QTest::newRow("absolute") << QByteArray("/tmp/RbCtiData2K");
        QTest::newRow("in a folder") << QByteArray("sub/RbCtiData2K.");
        QTest::newRow("backslash") << QByteArray("..\\RbCtiData2K.m");
        QTest::newRow("drive") << QByteArray("C:RbCtiData2K.md");
        QTest::newRow("another file") << QByteArray("RbctiWork2K.mdb0");
    }
    void hostileNamesWriteNothing() {
        QFETCH(QByteArray, stored);
        QTemporaryDir dir;
        writeFile(dir.filePath("src"), recordLike(5000, 12));
        const QString archive = dir.filePath("ctidata.lzh");
        const QByteArray safe = "RbCtiData2K.mdbX";
        QCOMPARE(stored.size(), safe.size());
        QVERIFY(lzh::create(archive, {{dir.filePath("src"), QString::fromLatin1(safe)}}));
        writeFile(archive, withStoredName(readFile(archive), safe, stored));
        QDir(dir.path()).mkpath("out/sub");
        const lzh::Result r = lzh::extract(archive, dir.filePath("out"), {"RbCtiData2K.mdb"});
        QVERIFY(!r);
        QVERIFY(QDir(dir.filePath("out")).entryList(QDir::Files).isEmpty());
        QVERIFY(QDir(dir.filePath("out/sub")).entryList(QDir::Files).isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("RbCtiData2K.m")));
    }

    void notAnArchive() {
        QTemporaryDir dir;
        writeFile(dir.filePath("text.lzh"), "this is not an archive\n");
        QList<lzh::Member> members;
        QVERIFY(!lzh::list(dir.filePath("text.lzh"), &members));
        QVERIFY(!lzh::list(dir.filePath("missing.lzh"), &members));
        QVERIFY(!lzh::extract(dir.filePath("text.lzh"), dir.path(), {"RbCtiData2K.mdb"}));
    }
};

QTEST_GUILESS_MAIN(TestLzh)
#include "tst_lzh.moc"
