#include "modzipora.h"

#include "platform.h"

namespace zipora {
namespace {

// The two key rows of the kana keyboard and the kana they type, position by
// position.
const QString kLower = QStringLiteral("1234567890-^qwertyuiopasdfghjkl;:]zxcvbnm,./\\");
const QString kUpper = QStringLiteral("1234567890-^QWERTYUIOPASDFGHJKL;:]ZXCVBNM,./\\");
const QString kKana = QStringLiteral("ﾇﾌｱｳｴｵﾔﾕﾖﾜﾎﾍﾀﾃｲｽｶﾝﾅﾆﾗｾﾁﾄｼﾊｷｸﾏﾉﾘﾚｹﾑﾂｻｿﾋｺﾐﾓﾈﾙﾒﾛ");

} // namespace

QChar Getカナ(QChar typed) {
    Q_ASSERT(kLower.size() == kKana.size() && kUpper.size() == kKana.size());
    if (kKana.contains(typed)) {
        return typed;
    }
    qsizetype i = kLower.indexOf(typed);
    if (i < 0) {
        i = kUpper.indexOf(typed);
    }
    return i < 0 ? QChar() : kKana.at(i);
}

LocalArea splitLocalArea(const QString& area) {
    for (QChar marker : {u'県', u'道', u'府', u'都'}) {
        const qsizetype at = area.indexOf(marker);
        if (at >= 0) {
            return {area.left(at + 1), area.mid(at + 1)};
        }
    }
    return {};
}

void imeOff(QWidget* widget) {
    ui::SetIme(widget, false);
}

} // namespace zipora
