#include "jetsql.h"

#include "dateformat.h"
#include "schema.h"

#include <vector>

namespace core::jetsql {
namespace {

struct Token {
    enum Kind { Space, Word, Bracket, String, Date, Number, Param, Punct } kind;
    QString text;
};

bool isWordChar(QChar c) {
    if (c.unicode() >= 0x80) {
        return c.unicode() != 0x3000 && !c.isSpace();
    }
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

std::optional<std::vector<Token>> tokenize(const QString& s, QString* error) {
    std::vector<Token> out;
    const int n = s.size();
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            int j = i;
            while (j < n && s[j].isSpace()) {
                ++j;
            }
            out.push_back({Token::Space, QStringLiteral(" ")});
            i = j;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString text;
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (s[j] == c) {
                    if (j + 1 < n && s[j + 1] == c) {
                        text += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                text += s[j++];
            }
            if (!closed) {
                *error = QStringLiteral("文字列の引用符が閉じていません");
                return std::nullopt;
            }
            out.push_back({Token::String, text});
            i = j;
        } else if (c == QLatin1Char('#')) {
            int j = s.indexOf(QLatin1Char('#'), i + 1);
            if (j < 0) {
                *error = QStringLiteral("日付の # が閉じていません");
                return std::nullopt;
            }
            out.push_back({Token::Date, s.mid(i + 1, j - i - 1)});
            i = j + 1;
        } else if (c == QLatin1Char('[')) {
            int j = s.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0) {
                *error = QStringLiteral("[ ] が閉じていません");
                return std::nullopt;
            }
            out.push_back({Token::Bracket, s.mid(i + 1, j - i - 1)});
            i = j + 1;
        } else if (c.isDigit() && c.unicode() < 0x80) {
            int j = i;
            while (j < n &&
                   ((s[j].isDigit() && s[j].unicode() < 0x80) || s[j] == QLatin1Char('.'))) {
                ++j;
            }
            out.push_back({Token::Number, s.mid(i, j - i)});
            i = j;
        } else if (isWordChar(c)) {
            int j = i;
            while (j < n && isWordChar(s[j])) {
                ++j;
            }
            out.push_back({Token::Word, s.mid(i, j - i)});
            i = j;
        } else if (c == QLatin1Char('?')) {
            out.push_back({Token::Param, QStringLiteral("?")});
            ++i;
        } else {
            static const QStringList two = {"<=", ">=", "<>", "!=", "||"};
            QString p = s.mid(i, 2);
            if (two.contains(p)) {
                out.push_back({Token::Punct, p});
                i += 2;
            } else {
                out.push_back({Token::Punct, QString(c)});
                ++i;
            }
        }
    }
    return out;
}

bool isWord(const Token& t, const char* w) {
    return t.kind == Token::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}
bool isPunct(const Token& t, const char* p) {
    return t.kind == Token::Punct && t.text == QLatin1String(p);
}
bool isName(const Token& t) {
    return t.kind == Token::Word || t.kind == Token::Bracket;
}

class Translator {
public:
    Translator(const QString& jet, Context& ctx)
        : jet_(jet)
        , ctx_(ctx) {}

    Translation run() {
        Translation tr;
        QString error;
        auto all = tokenize(jet_, &error);
        if (!all) {
            tr.error = error;
            return tr;
        }
        for (Token& t : *all) {
            if (t.kind != Token::Space) {
                tok_.push_back(std::move(t));
            }
        }
        // SQLite would run the first statement and drop the rest unseen.
        for (size_t i = 0; i + 1 < tok_.size(); ++i) {
            if (isPunct(tok_[i], ";")) {
                tr.error = QStringLiteral("; の後に文字があります。一度に実行できる文は一つです");
                return tr;
            }
        }
        if (!prepare(&error)) {
            tr.error = error;
            return tr;
        }
        tr.sql = render(false);
        if (!error_.isEmpty()) {
            tr.error = error_;
            return tr;
        }
        if (simpleSelect_) {
            tr.baseTable = resolvedTable_;
            tr.baseSchema = baseSchema_;
            tr.keysetSql = render(true);
        }
        tr.ok = true;
        return tr;
    }

private:
    // Works out the statement's shape before anything is written out.
    bool prepare(QString* error) {
        skip_.assign(tok_.size(), false);
        schemaOf_.assign(tok_.size(), QString());
        replace_.assign(tok_.size(), QString());
        prefix_.assign(tok_.size(), QString());
        suffix_.assign(tok_.size(), QString());
        // delete * from
        if (tok_.size() > 2 && isWord(tok_[0], "delete") && isPunct(tok_[1], "*")) {
            skip_[1] = true;
        }
        // external tables: <name> in '<path>'
        for (size_t i = 1; i + 1 < tok_.size(); ++i) {
            if (isWord(tok_[i], "in") && tok_[i + 1].kind == Token::String && isName(tok_[i - 1])) {
                QString err;
                QString alias = ctx_.attach(tok_[i + 1].text, &err);
                if (alias.isEmpty()) {
                    *error = err;
                    return false;
                }
                schemaOf_[i - 1] = alias;
                skip_[i] = skip_[i + 1] = true;
            }
        }
        // TOP n after SELECT [DISTINCT]
        for (size_t i = 0; i + 2 < tok_.size(); ++i) {
            if (!isWord(tok_[i], "select")) {
                continue;
            }
            size_t j = i + 1;
            if (isWord(tok_[j], "distinct")) {
                ++j;
            }
            if (j + 1 < tok_.size() && isWord(tok_[j], "top") &&
                tok_[j + 1].kind == Token::Number) {
                limit_ = tok_[j + 1].text;
                skip_[j] = skip_[j + 1] = true;
            }
            break;
        }
        analyseSelect();
        expandInsertSelect();
        markBooleans();
        markConcatenations();
        return true;
    }

    // Where each token stands: in a condition (where, on, having, or a bare
    // criteria text), or elsewhere (select lists, set and insert targets,
    // ordering), where a field must stay a field.
    std::vector<bool> conditionTokens() const {
        std::vector<bool> cond(tok_.size(), false);
        bool here = tok_.empty() || !(isWord(tok_[0], "select") || isWord(tok_[0], "insert") ||
                                      isWord(tok_[0], "update") || isWord(tok_[0], "delete"));
        std::vector<bool> outer;
        for (size_t i = 0; i < tok_.size(); ++i) {
            const Token& t = tok_[i];
            if (isPunct(t, "(")) {
                outer.push_back(here);
            } else if (isPunct(t, ")")) {
                if (!outer.empty()) {
                    here = outer.back();
                    outer.pop_back();
                }
            } else if (isWord(t, "where") || isWord(t, "on") || isWord(t, "having")) {
                here = true;
            } else if (isWord(t, "select") || isWord(t, "from") || isWord(t, "order") ||
                       isWord(t, "group") || isWord(t, "set") || isWord(t, "values") ||
                       isWord(t, "into") || isWord(t, "union")) {
                here = false;
            }
            cond[i] = here;
        }
        return cond;
    }

    // A yes/no field in a condition reads as 1 or 0, never Null: the old
    // engine had no Null yes/no value, so "済 = False" must find the calls
    // nobody has marked, and its True was -1.
    void markBooleans() {
        QList<std::pair<QString, QString>> tables;
        for (size_t i = 0; i < tok_.size(); ++i) {
            if (!isName(tok_[i]) || skip_[i]) {
                continue;
            }
            const QString name = ctx_.canonicalName(tok_[i].text);
            if (!name.isEmpty() && !ctx_.columnsOf(schemaOf_[i], name).isEmpty()) {
                tables.append({schemaOf_[i], name});
            }
        }
        const std::vector<bool> cond = conditionTokens();
        for (size_t i = 0; i < tok_.size(); ++i) {
            if (!cond[i] || skip_[i] || !isName(tok_[i]) || isWord(tok_[i], "true") ||
                isWord(tok_[i], "false")) {
                continue;
            }
            const bool call = i + 1 < tok_.size() && isPunct(tok_[i + 1], "(");
            const bool qualifier = i + 1 < tok_.size() && isPunct(tok_[i + 1], ".");
            if (call || qualifier || !ctx_.isBoolean(tok_[i].text, tables)) {
                continue;
            }
            const bool qualified = i >= 2 && isPunct(tok_[i - 1], ".") && isName(tok_[i - 2]);
            const size_t first = qualified ? i - 2 : i;
            prefix_[first] += QStringLiteral("(ifnull(");
            suffix_[i] = QStringLiteral(", 0) <> 0)") + suffix_[i];
        }
    }

    // What ends an operand of '&': the operators that bind less tightly and
    // the clause words. Arithmetic binds more tightly and stays inside.
    bool endsOperand(size_t i) const {
        if (skip_[i]) {
            return true;
        }
        const Token& t = tok_[i];
        if (t.kind == Token::Punct) {
            static const QStringList ends = {",", ";", "=", "<>", "<", ">", "<=", ">=", "!=", "&"};
            return ends.contains(t.text);
        }
        if (t.kind != Token::Word) {
            return false;
        }
        static const char* const words[] = {
            "select",   "from", "where",  "and",    "or",     "not",    "set",     "values",
            "as",       "like", "order",  "by",     "group",  "having", "when",    "then",
            "else",     "end",  "case",   "on",     "into",   "is",     "between", "in",
            "distinct", "top",  "update", "insert", "delete", "join",   "union",   "limit",
            "escape",   "asc",  "desc",   "inner",  "left",   "right",  "outer"};
        for (const char* w : words) {
            if (isWord(t, w)) {
                return true;
            }
        }
        return false;
    }

    // First token of the operand left of position at, or at when there is none.
    size_t operandStart(size_t at) const {
        int depth = 0;
        size_t j = at;
        while (j > 0) {
            const Token& t = tok_[j - 1];
            if (isPunct(t, ")")) {
                ++depth;
            } else if (isPunct(t, "(")) {
                if (depth == 0) {
                    break;
                }
                --depth;
            } else if (depth == 0 && endsOperand(j - 1)) {
                break;
            }
            --j;
        }
        return j;
    }

    // One past the last token of the operand right of position at.
    size_t operandEnd(size_t at) const {
        int depth = 0;
        size_t j = at + 1;
        while (j < tok_.size()) {
            const Token& t = tok_[j];
            if (isPunct(t, "(")) {
                ++depth;
            } else if (isPunct(t, ")")) {
                if (depth == 0) {
                    break;
                }
                --depth;
            } else if (depth == 0 && endsOperand(j)) {
                break;
            }
            ++j;
        }
        return j;
    }

    // "a & b & c" becomes one call of the layer's concatenation, which reads
    // Null as an empty text (and gives Null only when every part is Null),
    // where SQLite's || would make the whole text Null.
    void markConcatenations() {
        for (size_t i = 0; i < tok_.size(); ++i) {
            if (!isPunct(tok_[i], "&") || skip_[i]) {
                continue;
            }
            const size_t start = operandStart(i);
            std::vector<size_t> joins{i};
            size_t end = operandEnd(i);
            while (end < tok_.size() && isPunct(tok_[end], "&") && end > joins.back() + 1) {
                joins.push_back(end);
                end = operandEnd(end);
            }
            if (start == i || end == joins.back() + 1) {
                i = end; // an operand is missing: left to SQLite to refuse
                continue;
            }
            prefix_[start] = QStringLiteral("jet_concat(") + prefix_[start];
            for (size_t j : joins) {
                replace_[j] = QStringLiteral(",");
            }
            suffix_[end - 1] += QStringLiteral(")");
            i = end - 1;
        }
    }

    // Finds "select <list> from <table> <tail>" with a single table.
    void analyseSelect() {
        size_t sel = SIZE_MAX;
        for (size_t i = 0; i < tok_.size(); ++i) {
            if (isWord(tok_[i], "select")) {
                sel = i;
                break;
            }
        }
        const bool insertSelect = sel != SIZE_MAX && isWord(tok_[0], "insert");
        if (sel == SIZE_MAX || (sel != 0 && !insertSelect)) {
            return; // a sub-select of an update or delete keeps its own order
        }
        selectAt_ = sel;
        size_t from = SIZE_MAX;
        int depth = 0;
        bool aggregate = false, distinct = false;
        for (size_t i = sel + 1; i < tok_.size(); ++i) {
            if (isPunct(tok_[i], "(")) {
                ++depth;
                aggregate = true;
            } else if (isPunct(tok_[i], ")")) {
                --depth;
            } else if (depth == 0 && isWord(tok_[i], "from")) {
                from = i;
                break;
            } else if (isWord(tok_[i], "distinct")) {
                distinct = true;
            }
        }
        if (from == SIZE_MAX || from + 1 >= tok_.size() || !isName(tok_[from + 1])) {
            return;
        }
        fromAt_ = from;
        size_t tableAt = from + 1;
        for (size_t i = tableAt + 1; i < tok_.size(); ++i) {
            if (skip_[i]) {
                continue;
            }
            const Token& t = tok_[i];
            // Parentheses in a condition are fine; a sub-select is not.
            if (isPunct(t, ",") || isWord(t, "join") || isWord(t, "group") || isWord(t, "union") ||
                isWord(t, "select") || isWord(t, "inner") || isWord(t, "left") ||
                isWord(t, "right") || isWord(t, "having")) {
                return;
            }
            if (isWord(t, "order")) {
                hasOrder_ = true;
            }
        }
        // Rows come back in the order they were appended unless asked
        // otherwise: "insert ... select ... order by" relies on it.
        if (distinct) {
            return;
        }
        orderByRowid_ = !hasOrder_ && !aggregate;
        if (insertSelect) {
            return;
        }
        baseSchema_ = schemaOf_[tableAt];
        resolvedTable_ = ctx_.canonicalName(tok_[tableAt].text);
        if (resolvedTable_.isEmpty()) {
            resolvedTable_ = tok_[tableAt].text;
        }
        simpleSelect_ = true;
    }

    // Jet appends "insert into T select * from S" by field name.
    void expandInsertSelect() {
        if (tok_.size() < 6 || !isWord(tok_[0], "insert") || !isWord(tok_[1], "into") ||
            !isName(tok_[2]) || selectAt_ == SIZE_MAX || fromAt_ == SIZE_MAX) {
            return;
        }
        for (size_t i = 3; i < selectAt_; ++i) {
            if (!skip_[i]) {
                return; // an explicit column list: leave it to the author
            }
        }
        const QString target = ctx_.canonicalName(tok_[2].text);
        const QStringList targetCols = ctx_.columnsOf(schemaOf_[2], target);
        if (targetCols.isEmpty()) {
            return;
        }
        auto targetName = [&](const QString& name) -> QString {
            const QString key = ctx_.canonicalName(name);
            for (const QString& c : targetCols) {
                if (c.compare(key, Qt::CaseInsensitive) == 0 ||
                    c.compare(name, Qt::CaseInsensitive) == 0) {
                    return c;
                }
            }
            return {};
        };
        size_t first = selectAt_ + 1;
        while (first < fromAt_ && skip_[first]) {
            ++first;
        }
        QStringList into, from;
        if (first + 1 == fromAt_ && isPunct(tok_[first], "*")) {
            if (fromAt_ + 1 >= tok_.size()) {
                return;
            }
            const QString src = ctx_.canonicalName(tok_[fromAt_ + 1].text);
            for (const QString& c : ctx_.columnsOf(schemaOf_[fromAt_ + 1], src)) {
                QString t = targetName(c);
                if (!t.isEmpty()) {
                    into << schema::quoteIdent(t);
                    from << schema::quoteIdent(c);
                }
            }
            if (from.isEmpty()) {
                return;
            }
            replace_[first] = from.join(QStringLiteral(", "));
        } else {
            // A plain list of names (each maybe "as alias") maps by name too.
            size_t i = first;
            while (i < fromAt_) {
                if (!isName(tok_[i])) {
                    return;
                }
                QString name = tok_[i].text;
                ++i;
                if (i + 1 < fromAt_ && isWord(tok_[i], "as") && isName(tok_[i + 1])) {
                    name = tok_[i + 1].text;
                    i += 2;
                }
                QString t = targetName(name);
                if (t.isEmpty()) {
                    return;
                }
                into << schema::quoteIdent(t);
                if (i < fromAt_) {
                    if (!isPunct(tok_[i], ",")) {
                        return;
                    }
                    ++i;
                }
            }
        }
        replace_[2] = QStringLiteral("%1 (%2)").arg(qualified(2), into.join(QStringLiteral(", ")));
    }

    QString qualified(size_t i) {
        QString name = ctx_.canonicalName(tok_[i].text);
        if (name.isEmpty()) {
            name = tok_[i].text;
        }
        QString q = schema::quoteIdent(name);
        return schemaOf_[i].isEmpty() ? q : schemaOf_[i] + QLatin1Char('.') + q;
    }

    QString emitToken(size_t i) {
        const Token& t = tok_[i];
        if (!replace_[i].isEmpty()) {
            return replace_[i];
        }
        switch (t.kind) {
        case Token::Word: {
            if (isWord(t, "true")) {
                return QStringLiteral("1");
            }
            if (isWord(t, "false")) {
                return QStringLiteral("0");
            }
            const QString canon = ctx_.canonicalName(t.text);
            if (!schemaOf_[i].isEmpty() || (!canon.isEmpty() && canon != t.text)) {
                return qualified(i);
            }
            if (!canon.isEmpty() && !isAsciiWord(t.text)) {
                return schema::quoteIdent(canon);
            }
            return t.text;
        }
        case Token::Bracket:
            return qualified(i);
        case Token::String:
            return quoteText(t.text);
        case Token::Date: {
            auto when = dates::parseYearFirst(t.text);
            if (!when) {
                error_ = QStringLiteral("日付 #%1# を読み取れません").arg(t.text);
                return {};
            }
            return quoteText(dates::storageText(*when));
        }
        case Token::Punct:
            if (t.text == QLatin1String("&")) {
                return QStringLiteral("||");
            }
            return t.text;
        default:
            return t.text;
        }
    }

    static bool isAsciiWord(const QString& s) {
        for (QChar c : s) {
            if (c.unicode() >= 0x80) {
                return false;
            }
        }
        return true;
    }

    QString render(bool keyset) {
        QString out;
        size_t end = tok_.size();
        bool semicolon = end > 0 && isPunct(tok_[end - 1], ";");
        if (semicolon) {
            --end;
        }
        for (size_t i = 0; i < end; ++i) {
            if (skip_[i]) {
                continue;
            }
            if (keyset && i > selectAt_ && i < fromAt_) {
                if (i == firstListToken()) {
                    out += QStringLiteral(" rowid");
                }
                continue;
            }
            if (!out.isEmpty()) {
                out += QLatin1Char(' ');
            }
            out += prefix_[i] + emitToken(i) + suffix_[i];
        }
        if (orderByRowid_) {
            out += QStringLiteral(" ORDER BY rowid");
        }
        if (!limit_.isEmpty()) {
            out += QStringLiteral(" LIMIT ") + limit_;
        }
        return out;
    }

    size_t firstListToken() const {
        size_t i = selectAt_ + 1;
        while (i < fromAt_ && skip_[i]) {
            ++i;
        }
        return i;
    }

    const QString& jet_;
    Context& ctx_;
    std::vector<Token> tok_;
    std::vector<bool> skip_;
    std::vector<QString> schemaOf_;
    std::vector<QString> replace_;
    std::vector<QString> prefix_; // written before a token: opening calls
    std::vector<QString> suffix_; // and after one: closing them
    QString limit_;
    QString error_;
    size_t selectAt_ = SIZE_MAX;
    size_t fromAt_ = SIZE_MAX;
    bool simpleSelect_ = false;
    bool hasOrder_ = false;
    bool orderByRowid_ = false;
    QString resolvedTable_;
    QString baseSchema_;
};

} // namespace

QString quoteText(const QString& text) {
    QString q = text;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

Translation translate(const QString& jet, Context& context) {
    return Translator(jet, context).run();
}

} // namespace core::jetsql
