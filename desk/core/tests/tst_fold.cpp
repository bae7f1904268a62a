#include <QTest>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include "fold.h"

using namespace core::fold;

namespace {

int cmp(const QString& a, const QString& b) {
    const QByteArray x = a.toUtf8(), y = b.toUtf8();
    const int r = compareUtf8(x.constData(), x.size(), y.constData(), y.size());
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

// Reference folding: NFKC with case folding, then hiragana to katakana.
QString reference(const QString& s) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* n = icu::Normalizer2::getNFKCCasefoldInstance(status);
    icu::UnicodeString in(reinterpret_cast<const UChar*>(s.utf16()),
                          static_cast<int32_t>(s.size()));
    icu::UnicodeString out = n->normalize(in, status);
    QString r(reinterpret_cast<const QChar*>(out.getBuffer()), out.length());
    for (QChar& c : r) {
        if (c.unicode() >= 0x3041 && c.unicode() <= 0x3096) {
            c = QChar(c.unicode() + 0x60);
        }
    }
    return r;
}

} // namespace

class TestFold : public QObject {
    Q_OBJECT
private slots:
    void equality_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("expected");
        QTest::newRow("full-width digit") << "用件１"
                                          << "用件1" << 0;
        QTest::newRow("half-width kana") << "ｱｲ"
                                         << "あい" << 0;
        QTest::newRow("full-width latin, case") << "ABC"
                                                << "ａｂｃ" << 0;
        QTest::newRow("voiced differs") << "か"
                                        << "が" << -1;
        QTest::newRow("half-width voiced joins") << "ｶﾞｯｺｳ"
                                                 << "がっこう" << 0;
        QTest::newRow("half-width semi-voiced joins") << "ﾊﾟﾝ"
                                                      << "パン" << 0;
        QTest::newRow("vu") << "ｳﾞｨ"
                            << "ヴィ" << 0;
        QTest::newRow("combining mark joins") << QString::fromUtf8("か\xE3\x82\x99") << "が" << 0;
        QTest::newRow("long vowel") << "ｺｰﾋｰ"
                                    << "コーヒー" << 0;
        QTest::newRow("ideographic space") << "山田　太郎"
                                           << "山田 太郎" << 0;
        QTest::newRow("prefix orders first") << "abc"
                                             << "abcd" << -1;
        QTest::newRow("kanji plain") << "東京"
                                     << "東京" << 0;
        QTest::newRow("kanji differ") << "東京"
                                      << "京都" << 1;
        QTest::newRow("empty") << ""
                               << "" << 0;
        QTest::newRow("empty before text") << ""
                                           << "a" << -1;
        QTest::newRow("yen sign") << "￥"
                                  << "¥" << 0;
        QTest::newRow("emoji kept") << "😀"
                                    << "😀" << 0;
        QTest::newRow("accented case") << "Éa"
                                       << "éA" << 0;
    }
    void equality() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, expected);
        QCOMPARE(cmp(a, b), expected);
        QCOMPARE(cmp(b, a), -expected);
        QCOMPARE(key(a) == key(b), expected == 0);
    }

    // Our fast fold agrees with ICU's normalisation on every kana and
    // full-width character it is meant to fold.
    void agreesWithIcu() {
        QList<QPair<uint, uint>> ranges = {
            {0x20, 0x7E}, {0xFF01, 0xFF5E}, {0xFF61, 0xFF9D}, {0x3041, 0x3096}, {0x30A1, 0x30FA}};
        for (auto [lo, hi] : ranges) {
            for (uint c = lo; c <= hi; ++c) {
                const QString s = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
                QCOMPARE(key(s), reference(s));
            }
        }
        // Every half-width kana followed by a voiced or semi-voiced mark that
        // composes must give the composed full-width kana.
        for (uint base = 0xFF66; base <= 0xFF9D; ++base) {
            for (uint mark : {0xFF9Eu, 0xFF9Fu}) {
                char32_t pair[2] = {base, mark};
                const QString s = QString::fromUcs4(pair, 2);
                const QString ref = reference(s);
                if (ref.size() == 1) {
                    QCOMPARE(key(s), ref);
                }
            }
        }
    }

    void orderingIsConsistent() {
        // Sorting by the collation and by the folded key must agree.
        QStringList words = {"ｱｲｳ",    "あいう", "アイウエ", "かき",   "ガキ",
                             "ＡＢＣ", "abd",    "用件1",    "用件２", "ｶﾞｷ"};
        for (const QString& a : words) {
            for (const QString& b : words) {
                const int byKey = key(a) < key(b) ? -1 : key(a) == key(b) ? 0 : 1;
                const int byCmp = cmp(a, b);
                QVERIFY2((byKey == 0) == (byCmp == 0), qPrintable(a + " / " + b));
            }
        }
    }

    void like_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star anywhere") << "*用件*"
                                       << "今日の用件です" << true;
        QTest::newRow("star prefix folded") << "ｱ*"
                                            << "あいうえお" << true;
        QTest::newRow("star no match") << "*xyz*"
                                       << "abc" << false;
        QTest::newRow("question one char") << "a?c"
                                           << "abc" << true;
        QTest::newRow("question needs one") << "a?c"
                                            << "ac" << false;
        QTest::newRow("hash digit") << "03-####"
                                    << "03-1234" << true;
        QTest::newRow("hash full-width digit") << "#"
                                               << "５" << true;
        QTest::newRow("hash not letter") << "#"
                                         << "a" << false;
        QTest::newRow("set") << "[abc]x"
                             << "bx" << true;
        QTest::newRow("set miss") << "[abc]x"
                                  << "dx" << false;
        QTest::newRow("range") << "[a-f]1"
                               << "E1" << true;
        QTest::newRow("negated set") << "[!0-9]*"
                                     << "x123" << true;
        QTest::newRow("negated set miss") << "[!0-9]*"
                                          << "1x" << false;
        QTest::newRow("literal star in brackets") << "a[*]b"
                                                  << "a*b" << true;
        QTest::newRow("literal star only there") << "a[*]b"
                                                 << "axb" << false;
        QTest::newRow("percent is literal") << "50%"
                                            << "50%" << true;
        QTest::newRow("percent not a wildcard") << "5%"
                                                << "55" << false;
        QTest::newRow("underscore is literal") << "a_b"
                                               << "axb" << false;
        QTest::newRow("unclosed bracket literal") << "a[b"
                                                  << "a[b" << true;
        QTest::newRow("case and width") << "ＡＢ*"
                                        << "abc" << true;
        QTest::newRow("voiced stays distinct") << "か*"
                                               << "がっこう" << false;
        QTest::newRow("backtracking") << "*a*b*c"
                                      << "xaxbxbxc" << true;
        QTest::newRow("empty pattern empty text") << ""
                                                  << "" << true;
        QTest::newRow("star matches empty") << "*"
                                            << "" << true;
    }
    void like() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        QCOMPARE(LikePattern(pattern).matches(text), matches);
    }

    void likeIsLinearOnHostilePatterns() {
        // A pattern of many stars over a long text must not explode.
        const QString text(5000, QLatin1Char('a'));
        QVERIFY(!LikePattern(QString("*a").repeated(30) + "b").matches(text));
    }
};

QTEST_GUILESS_MAIN(TestFold)
#include "tst_fold.moc"
