#pragma once
// Plain helpers of the postal finder: the kana keyboard map behind the list
// boxes' type-ahead, the split of the office's local area into prefecture
// and city, and switching Japanese input off for a list box.

#include <QChar>
#include <QString>

class QWidget;

namespace zipora {

// The half-width kana a key of the Japanese kana keyboard types: '3' → 'ｱ',
// 'Q' → 'ﾀ'. A character that already is one of the map's kana is its own
// answer; any other character gives a null QChar.
QChar Getカナ(QChar typed);

struct LocalArea {
    QString prefecture;
    QString city;
};
// Splits after the first of the markers 県, 道, 府, 都 (tried in that order)
// that occurs anywhere in the text: 京都府京都市 → 京都府 + 京都市, and
// 東京都府中市 → 東京都府 + 中市. No marker: no split, both parts empty.
LocalArea splitLocalArea(const QString& area);

// The list boxes take keyboard keys as kana keys, never composed text.
void imeOff(QWidget* widget);

} // namespace zipora
