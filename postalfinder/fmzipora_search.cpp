// The code search, the kana search and the common grid load.

#include "fmzipora.h"

#include "database.h"
#include "fold.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

using core::db::Recordset;

namespace zipora {

bool FmZipora::loadGrid(const QString& sql, const QVariantList& params, ZipColumn mustHave,
                        std::vector<ZipRow>* kept, bool* anyRow) {
    static const char* const kFields[ColCount] = {"番号",   "県かな",     "市町村かな", "町名かな",
                                                  "県漢字", "市町村漢字", "町名漢字"};
    msg検索_->show();
    msg検索_->repaint();
    struct Hide {
        QLabel* msg;
        ~Hide() { msg->hide(); }
    } hide{msg検索_};
    if (anyRow) {
        *anyRow = false;
    }
    if (!yubin_) {
        return false;
    }
    Recordset rs = yubin_->openRecordset(sql, Recordset::Kind::Snapshot, params);
    if (!rs.isOpen()) {
        return false;
    }
    // Field names are matched as the database matches them: 市町村カナ is
    // 市町村かな.
    int column[ColCount];
    const QVector<core::db::Column> columns = rs.columns();
    for (int c = 0; c < ColCount; ++c) {
        const QString key = core::fold::key(QString::fromUtf8(kFields[c]));
        column[c] = -1;
        for (int i = 0; i < columns.size() && column[c] < 0; ++i) {
            if (columns[i].key == key) {
                column[c] = i;
            }
        }
        if (column[c] < 0) {
            return false;
        }
    }
    for (; !rs.eof(); rs.moveNext()) {
        if (anyRow) {
            *anyRow = true;
        }
        if (rs.storedValue(column[mustHave]).isNull()) {
            continue;
        }
        // The table holds the blank row too. A search with more rows than
        // fit shows the first of them: ending empty-handed would pass for
        // "nothing found".
        if (int(kept->size()) >= kMaxGridRows - 1) {
            break;
        }
        ZipRow row;
        for (int c = 0; c < ColCount; ++c) {
            const QVariant v = rs.storedValue(column[c]);
            row[c] = v.isNull() ? QString() : v.toString();
        }
        kept->push_back(std::move(row));
    }
    if (!rs.lastError().isEmpty()) {
        return false;
    }
    showGridRows(*kept);
    return true;
}

void FmZipora::Seek郵便番号() {
    const QString code = txt郵便番号_->text();
    std::vector<ZipRow> kept;
    if (code.size() == 7) {
        if (loadGrid(QStringLiteral("select * from 郵便番号 where 番号 = ? order by 番号;"), {code},
                     Col市町村漢字, &kept) &&
            !kept.empty()) {
            // Shown only: the lists stay as they are.
            cmb都道府県_->setEditText(kept.front()[Col県漢字]);
            cmb市町村_->setEditText(kept.front()[Col市町村漢字]);
            cmb町名_->setEditText(kept.front()[Col町名漢字]);
        }
        return;
    }
    loadGrid(QStringLiteral("SELECT * FROM 郵便番号 where 番号 Like  ? order by 番号"),
             {code + QLatin1Char('*')}, Col市町村漢字, &kept);
}

void FmZipora::Seek市町村かな(int mode) {
    std::vector<ZipRow> kept;
    if (mode == 0) {
        loadGrid(QStringLiteral(
                     "select * FROM 郵便番号 where 市町村かな like  ? order by 市町村かな,番号"),
                 {QLatin1Char('*') + txt市町村かな_->text() + QLatin1Char('*')}, Col市町村漢字,
                 &kept);
    } else {
        loadGrid(
            QStringLiteral("select * FROM 郵便番号 where 町名かな like ? order by 町名かな,番号"),
            {QLatin1Char('*') + txt町名かな_->text() + QLatin1Char('*')}, Col市町村漢字, &kept);
    }
    grid_->setFocus(Qt::OtherFocusReason);
}

} // namespace zipora
