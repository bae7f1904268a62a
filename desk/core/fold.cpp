#include "fold.h"

#include <unicode/uchar.h>

namespace core::fold {
namespace {

// Half-width katakana U+FF61..U+FF9F to their full-width forms.
constexpr char16_t kHalfKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

constexpr char32_t kVoiced = 0x309B;     // ゛ as folded from ﾞ
constexpr char32_t kSemiVoiced = 0x309C; // ゜ as folded from ﾟ

// Folds one code point, without looking at its neighbours.
inline char32_t foldOne(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    }
    if (c >= 0xFF01 && c <= 0xFF5E) { // full-width ASCII
        c -= 0xFEE0;
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    }
    if (c >= 0xFF61 && c <= 0xFF9F) {
        return kHalfKana[c - 0xFF61];
    }
    if (c >= 0x3041 && c <= 0x3096) { // hiragana to katakana
        return c + 0x60;
    }
    if (c == 0x309D || c == 0x309E) { // ゝゞ
        return c + 0x60;
    }
    if (c == 0x3000) {
        return ' ';
    }
    if (c == 0x3099) {
        return kVoiced;
    }
    if (c == 0x309A) {
        return kSemiVoiced;
    }
    switch (c) {
    case 0xFFE0:
        return 0xA2;
    case 0xFFE1:
        return 0xA3;
    case 0xFFE2:
        return 0xAC;
    case 0xFFE3:
        return 0xAF;
    case 0xFFE4:
        return 0xA6;
    case 0xFFE5:
        return 0xA5;
    case 0xFFE6:
        return 0x20A9;
    default:
        break;
    }
    if (c >= 0x3000 && c < 0xA000) {
        return c; // CJK and kana need no case folding
    }
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

// Katakana that take a voiced mark: the voiced form is the next code point.
inline bool takesVoiced(char32_t c) {
    if (c >= 0x30AB && c <= 0x30C2) {
        return (c - 0x30AB) % 2 == 0; // カ..ヂ: every second is a base
    }
    if (c == 0x30C4 || c == 0x30C6 || c == 0x30C8) {
        return true;
    }
    if (c >= 0x30CF && c <= 0x30DD) {
        return (c - 0x30CF) % 3 == 0; // ハヒフヘホ
    }
    return c == 0x30A6 || c == 0x30FD || (c >= 0x30EF && c <= 0x30F2); // ウ ヽ ワヰヱヲ
}
inline char32_t voicedOf(char32_t c) {
    if (c == 0x30A6) {
        return 0x30F4; // ヴ
    }
    if (c >= 0x30EF && c <= 0x30F2) {
        return c + 8; // ヷヸヹヺ
    }
    return c + 1;
}
inline bool takesSemiVoiced(char32_t c) {
    return c >= 0x30CF && c <= 0x30DD && (c - 0x30CF) % 3 == 0;
}

// Walks a text code point by code point, yielding folded code points and
// joining a voiced or semi-voiced mark to the kana before it (ｶﾞ = ガ).
template <typename Source> class Folder {
public:
    explicit Folder(Source src)
        : src_(src) {
        pending_ = src_.next();
    }
    bool atEnd() const { return pending_ == kEnd; }
    char32_t next() {
        char32_t c = foldOne(pending_);
        pending_ = src_.next();
        if (pending_ != kEnd) {
            char32_t mark = foldOne(pending_);
            if (mark == kVoiced && takesVoiced(c)) {
                c = voicedOf(c);
                pending_ = src_.next();
            } else if (mark == kSemiVoiced && takesSemiVoiced(c)) {
                c = c + 2;
                pending_ = src_.next();
            }
        }
        return c;
    }
    static constexpr char32_t kEnd = 0xFFFFFFFF;

private:
    Source src_;
    char32_t pending_;
};

struct Utf8Source {
    const unsigned char* p;
    const unsigned char* end;
    char32_t next() {
        if (p >= end) {
            return Folder<Utf8Source>::kEnd;
        }
        unsigned char b = *p++;
        if (b < 0x80) {
            return b;
        }
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t c = extra == 3 ? (b & 0x07) : extra == 2 ? (b & 0x0F) : (b & 0x1F);
        if (extra == 0) {
            return 0xFFFD;
        }
        while (extra-- > 0 && p < end) {
            c = (c << 6) | (*p++ & 0x3F);
        }
        return c;
    }
};

struct Utf16Source {
    const char16_t* p;
    const char16_t* end;
    char32_t next() {
        if (p >= end) {
            return Folder<Utf16Source>::kEnd;
        }
        char16_t u = *p++;
        if (QChar::isHighSurrogate(u) && p < end && QChar::isLowSurrogate(*p)) {
            return QChar::surrogateToUcs4(u, *p++);
        }
        return u;
    }
};

template <typename Source> std::u32string collect(Source src) {
    std::u32string out;
    Folder<Source> f(src);
    while (!f.atEnd()) {
        out.push_back(f.next());
    }
    return out;
}

} // namespace

std::u32string foldText(QStringView text) {
    auto* b = reinterpret_cast<const char16_t*>(text.utf16());
    return collect(Utf16Source{b, b + text.size()});
}

std::u32string foldUtf8(const char* data, int size) {
    auto* b = reinterpret_cast<const unsigned char*>(data);
    return collect(Utf8Source{b, b + size});
}

QString key(QStringView text) {
    std::u32string f = foldText(text);
    return QString::fromUcs4(f.data(), static_cast<qsizetype>(f.size()));
}

int compareUtf8(const char* a, int na, const char* b, int nb) {
    auto* pa = reinterpret_cast<const unsigned char*>(a);
    auto* pb = reinterpret_cast<const unsigned char*>(b);
    // Plain ASCII prefixes compare without decoding; most keys are numbers.
    int i = 0;
    const int n = na < nb ? na : nb;
    while (i < n && pa[i] < 0x80 && pb[i] < 0x80) {
        unsigned char ca = pa[i], cb = pb[i];
        if (ca >= 'A' && ca <= 'Z') {
            ca += 32;
        }
        if (cb >= 'A' && cb <= 'Z') {
            cb += 32;
        }
        if (ca != cb) {
            break;
        }
        ++i;
    }
    // An ASCII character never joins with a following voiced mark, so the
    // folded walk can start right after the common ASCII prefix.
    Folder<Utf8Source> fa(Utf8Source{pa + i, pa + na});
    Folder<Utf8Source> fb(Utf8Source{pb + i, pb + nb});
    while (!fa.atEnd() && !fb.atEnd()) {
        char32_t ca = fa.next(), cb = fb.next();
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (fa.atEnd() && fb.atEnd()) {
        return 0;
    }
    return fa.atEnd() ? -1 : 1;
}

LikePattern::LikePattern(QStringView pattern) {
    compile(foldText(pattern));
}
LikePattern::LikePattern(const char* utf8, int size) {
    compile(foldUtf8(utf8, size));
}

void LikePattern::compile(const std::u32string& p) {
    for (size_t i = 0; i < p.size(); ++i) {
        char32_t c = p[i];
        if (c == '*') {
            if (items_.empty() || items_.back().kind != Item::AnyRun) {
                items_.push_back({Item::AnyRun});
            }
        } else if (c == '?') {
            items_.push_back({Item::AnyOne});
        } else if (c == '#') {
            items_.push_back({Item::Digit});
        } else if (c == '[') {
            size_t close = p.find(U']', i + 1);
            if (close == std::u32string::npos) { // no class: a literal bracket
                items_.push_back({Item::Literal, c});
                continue;
            }
            Item set{Item::Set};
            size_t j = i + 1;
            if (j < close && p[j] == '!') {
                set.negated = true;
                ++j;
            }
            for (; j < close; ++j) {
                char32_t lo = p[j], hi = p[j];
                if (j + 2 < close && p[j + 1] == '-') {
                    hi = p[j + 2];
                    j += 2;
                }
                set.set.push_back(lo);
                set.set.push_back(hi);
            }
            items_.push_back(std::move(set));
            i = close;
        } else {
            items_.push_back({Item::Literal, c});
        }
    }
}

bool LikePattern::matches(QStringView text) const {
    return matchFolded(foldText(text));
}
bool LikePattern::matchesUtf8(const char* utf8, int size) const {
    return matchFolded(foldUtf8(utf8, size));
}

bool LikePattern::matchFolded(const std::u32string& t) const {
    auto one = [](const Item& it, char32_t c) {
        switch (it.kind) {
        case Item::Literal:
            return c == it.ch;
        case Item::AnyOne:
            return true;
        case Item::Digit:
            return c >= '0' && c <= '9';
        case Item::Set: {
            bool in = false;
            for (size_t k = 0; k + 1 < it.set.size(); k += 2) {
                if (c >= it.set[k] && c <= it.set[k + 1]) {
                    in = true;
                    break;
                }
            }
            return in != it.negated;
        }
        case Item::AnyRun:
            break;
        }
        return false;
    };
    // Greedy match with one back-track point per '*': linear for the
    // patterns users type, never exponential.
    size_t ti = 0, pi = 0;
    size_t starP = SIZE_MAX, starT = 0;
    while (ti < t.size()) {
        if (pi < items_.size() && items_[pi].kind == Item::AnyRun) {
            starP = pi++;
            starT = ti;
        } else if (pi < items_.size() && one(items_[pi], t[ti])) {
            ++pi;
            ++ti;
        } else if (starP != SIZE_MAX) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < items_.size() && items_[pi].kind == Item::AnyRun) {
        ++pi;
    }
    return pi == items_.size();
}

} // namespace core::fold
