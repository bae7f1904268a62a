#include "modgojuren.h"

namespace gojuren {
namespace {

// Three parallel rows, one character per position. Some kana stand more
// than once (い, う): a lookup takes the first.
const QString kHiragana = QStringLiteral("あいうえおかきくけこさしすせそたちつてと"
                                         "なにぬねのはひふへほまみむめも"
                                         "やいゆえよらりるれろわいうゑをん");
const QString kKatakana = QStringLiteral("アイウエオカキクケコサシスセソタチツテト"
                                         "ナニヌネノハヒフヘホマミムメモ"
                                         "ヤイユエヨラリルレロワイユヱヲン");
const QString kHalfWidth = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ"
                                          "ﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓ"
                                          "ﾔｲﾕｴﾖﾗﾘﾙﾚﾛﾜｲｳｴｦﾝ");

} // namespace

KanaForms lookUpKana(const QString& ch) {
    // Every character of the rows is one UTF-16 unit.
    if (ch.size() != 1) {
        return {};
    }
    const qsizetype i = kHiragana.indexOf(ch.at(0));
    if (i < 0) {
        return {};
    }
    return {QString(kKatakana.at(i)), QString(kHalfWidth.at(i))};
}

} // namespace gojuren
