#pragma once
// Text folding for comparisons: the office expects "ABC" to find "ａｂｃ",
// "ｱｲ" to find "あい" and "用件１" to find "用件1", while "か" and "が"
// stay different. Every text comparison of the database layer (equality,
// ordering, LIKE, field names) goes through this one definition.

#include <QString>
#include <QStringView>
#include <string>

namespace core::fold {

// Folded code points of a UTF-16 text.
std::u32string foldText(QStringView text);
// Folded code points of a UTF-8 text (the form SQLite hands to collations).
std::u32string foldUtf8(const char* data, int size);
// The folded text as a QString; used for name lookups and hash keys.
QString key(QStringView text);

// Three-way comparison of two UTF-8 texts after folding, without allocating.
int compareUtf8(const char* a, int na, const char* b, int nb);

// A compiled Jet LIKE pattern: '*' any run, '?' any one character,
// '#' one digit, '[abc]', '[a-z]', '[!abc]'. Everything else, '%' and '_'
// included, matches itself (folded).
class LikePattern {
public:
    explicit LikePattern(QStringView pattern);
    explicit LikePattern(const char* utf8, int size);
    bool matches(QStringView text) const;
    bool matchesUtf8(const char* utf8, int size) const;

private:
    struct Item {
        enum Kind { Literal, AnyRun, AnyOne, Digit, Set } kind;
        char32_t ch = 0;
        bool negated = false;
        std::u32string set; // pairs of (low, high)
    };
    void compile(const std::u32string& folded);
    bool matchFolded(const std::u32string& text) const;
    std::vector<Item> items_;
};

} // namespace core::fold
