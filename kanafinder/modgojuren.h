#pragma once
// The kana table behind the finder's buttons: the hiragana of the syllabary
// with the katakana and half-width forms that a reading may begin with
// instead.

#include <QString>

namespace gojuren {

struct KanaForms {
    QString katakana;  // empty when the character is not in the table
    QString halfWidth; // likewise
};

// The forms at the first position of ch in the hiragana row. ゑ has no
// half-width form of its own: ｴ stands in. Anything that is not one
// hiragana of the table (ゐ, a blank, an empty text) has no forms.
KanaForms lookUpKana(const QString& ch);

} // namespace gojuren
