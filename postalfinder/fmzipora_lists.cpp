// The prefecture, city and town lists, their scratch tables in the
// dictionary, the kana type-ahead and the local-area preselection.

#include "fmzipora.h"

#include "database.h"
#include "modzipora.h"

#include <QComboBox>
#include <QLineEdit>

using core::db::Recordset;

namespace zipora {
namespace {

QString text(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

const QString kColumns =
    QStringLiteral("select 番号,県かな,市町村かな,町名かな,県漢字,市町村漢字,町名漢字 ");

} // namespace

void FmZipora::read都道府県() {
    if (!data_) {
        return;
    }
    // Adding to a list never changes what the box shows.
    const QString shown = cmb都道府県_->currentText();
    for (Recordset rs =
             data_->openRecordset(QStringLiteral("SELECT * FROM 都道府県 order by 都道府県コード"));
         rs.isOpen() && !rs.eof(); rs.moveNext()) {
        cmb都道府県_->addItem(text(rs.field(QStringLiteral("都道府県"))));
    }
    cmb都道府県_->setEditText(shown);
}

void FmZipora::read市町村() {
    if (!yubin_) {
        return;
    }
    // Emptying and refilling the scratch table is one commit: each commit
    // waits for the disk, and the dialog opens with two of these loads.
    core::db::Transaction tx(*yubin_);
    yubin_->execute(QStringLiteral("delete * from 市町村名"));
    std::vector<ZipRow> kept;
    bool anyRow = false;
    loadGrid(kColumns + QStringLiteral("from 郵便番号 where 県漢字 = ? order by 市町村かな;"),
             {cmb都道府県_->currentText()}, Col町名漢字, &kept, &anyRow);
    if (anyRow) {
        // The list and its scratch table get each city once, in reading order.
        cmb市町村_->clear();
        QString previous;
        for (const ZipRow& r : kept) {
            if (r[Col市町村漢字] == previous) {
                continue;
            }
            previous = r[Col市町村漢字];
            cmb市町村_->addItem(previous);
            yubin_->execute(
                QStringLiteral(
                    "insert into 市町村名 (県漢字, 市町村カナ, 市町村漢字) values (?, ?, ?)"),
                {r[Col県漢字], r[Col市町村かな], r[Col市町村漢字]});
        }
        cmb市町村_->setEditText(QString());
    }
    tx.commit();
    cmb町名_->clear();
}

void FmZipora::read町名() {
    if (!yubin_) {
        return;
    }
    core::db::Transaction tx(*yubin_); // one commit, as for the cities
    yubin_->execute(QStringLiteral("delete * from 町名"));
    std::vector<ZipRow> kept;
    bool anyRow = false;
    loadGrid(kColumns + QStringLiteral(" from 郵便番号  where 県漢字 = ? and 市町村漢字 = ? "
                                       "order by 市町村かな,町名かな;"),
             {cmb都道府県_->currentText(), cmb市町村_->currentText()}, Col町名漢字, &kept, &anyRow);
    if (anyRow) {
        cmb町名_->clear();
        QString previous;
        for (const ZipRow& r : kept) {
            if (r[Col町名漢字] == previous) {
                continue;
            }
            previous = r[Col町名漢字];
            cmb町名_->addItem(previous);
            yubin_->execute(QStringLiteral("insert into 町名 (町名漢字, 町名カナ) values (?, ?)"),
                            {r[Col町名漢字], r[Col町名かな]});
        }
        cmb町名_->setEditText(QString());
    }
    tx.commit();
    txt郵便番号_->setText(currentGridCode());
}

void FmZipora::ReadGrid町名() {
    if (!yubin_) {
        return;
    }
    std::vector<ZipRow> kept;
    loadGrid(QStringLiteral("select * from 郵便番号 where 県漢字 = ? and 市町村漢字 = ? and "
                            "町名漢字 = ? order by 市町村かな,町名かな;"),
             {cmb都道府県_->currentText(), cmb市町村_->currentText(), cmb町名_->currentText()},
             Col町名漢字, &kept);
    txt郵便番号_->setText(currentGridCode());
}

void FmZipora::ChkLocalEria() {
    LocalArea area;
    if (data_) {
        Recordset rs = data_->openRecordset(QStringLiteral("select * from 自社情報"));
        if (rs.isOpen() && !rs.eof()) {
            const QVariant on = rs.field(QStringLiteral("YubinLocalEriaSw"));
            const QVariant text = rs.field(QStringLiteral("YubinLocalEria"));
            if (!on.isNull() && on.toBool() && !text.isNull()) {
                area = splitLocalArea(text.toString());
            }
        }
    }
    if (!area.prefecture.isEmpty()) {
        cmb都道府県_->setEditText(area.prefecture);
    }
    read市町村();
    if (!area.city.isEmpty()) {
        cmb市町村_->setEditText(area.city);
    }
    read町名();
}

// --------------------------------------------------------------- type-ahead

namespace {

// The first name whose reading begins with the typed kana.
QString firstStartingWith(core::db::Database* db, const QString& sql, const QString& field,
                          const QString& kana) {
    if (!db) {
        return {};
    }
    Recordset rs = db->openRecordset(sql, Recordset::Kind::Snapshot, {kana + QLatin1Char('*')});
    return rs.isOpen() && !rs.eof() ? text(rs.field(field)) : QString();
}

} // namespace

QString FmZipora::Get都道府県名(const QString& kana) {
    return firstStartingWith(
        data_.get(), QStringLiteral("select * from 都道府県 where かな like  ? order by かな;"),
        QStringLiteral("都道府県"), kana);
}

QString FmZipora::Get市町村名(const QString& kana) {
    return firstStartingWith(
        yubin_.get(),
        QStringLiteral("select * from 市町村名 where 市町村かな like  ? order by 市町村かな;"),
        QStringLiteral("市町村漢字"), kana);
}

QString FmZipora::Get町名(const QString& kana) {
    return firstStartingWith(
        yubin_.get(),
        QStringLiteral("select * from 町名 where 町名かな like  ? order by 町名かな;"),
        QStringLiteral("町名漢字"), kana);
}

void FmZipora::typeAhead(Box box, QChar typed) {
    QComboBox* boxes[] = {cmb都道府県_, cmb市町村_, cmb町名_};
    QString& buffer = buffer_[box];
    if (const QChar kana = Getカナ(typed); !kana.isNull()) {
        buffer += kana;
    }
    if (buffer.isEmpty()) {
        boxes[box]->setEditText(QString());
        return;
    }
    const QString name = box == Prefecture ? Get都道府県名(buffer)
                         : box == City     ? Get市町村名(buffer)
                                           : Get町名(buffer);
    boxes[box]->setEditText(name);
    if (name.isEmpty()) {
        buffer.clear();
        if (box == Town) {
            ReadGrid町名(); // finds no rows: the grid shows that nothing matched
        }
        return;
    }
    switch (box) {
    case Prefecture:
        read市町村();
        break;
    case City:
        read町名();
        break;
    case Town:
        ReadGrid町名();
        break;
    }
}

} // namespace zipora
