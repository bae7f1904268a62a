#include "rpttack2601.h"

#include "database.h"

namespace desk {

using report::Item;
using report::ItemKind;

int& tackStartPosition() {
    static int position = 0;
    return position;
}

QString labelPostalCode(const QString& stored) {
    if (stored.size() == 7 && !stored.contains(QLatin1Char('-'))) {
        return stored.left(3) + QLatin1Char('-') + stored.right(4);
    }
    return stored;
}

QString labelName(const QString& name, const QString& honorific) {
    return name + QChar(0x3000) + honorific.trimmed();
}

bool fillLabelRows(core::db::Database& work, const QString& customersSelect) {
    core::db::Transaction tx(work);
    if (!tx.active() || !work.execute(QStringLiteral("delete * from wタックシール印刷"))) {
        return false;
    }
    bool ok = true;
    for (int i = 0; ok && i < tackStartPosition(); ++i) {
        ok = work.execute(QStringLiteral("insert into wタックシール印刷 (code) values (Null)"));
    }
    auto text = [](const core::db::Recordset& rs, const char* f) {
        const QVariant v = rs.field(QString::fromUtf8(f));
        return v.isNull() ? QString() : v.toString();
    };
    for (core::db::Recordset rs = work.openRecordset(customersSelect); ok && rs.isOpen() && !rs.eof();
         rs.moveNext()) {
        const QVariant postal = rs.field(QStringLiteral("郵便番号"));
        ok = work.execute(QStringLiteral("insert into wタックシール印刷 (code, 郵便番号, 名称, 住所1, 住所2) "
                                         "values (?, ?, ?, ?, ?)"),
                          {rs.field(QStringLiteral("code")),
                           postal.isNull() ? QVariant() : QVariant(labelPostalCode(postal.toString())),
                           labelName(text(rs, "名称"), text(rs, "敬称")), rs.field(QStringLiteral("住所1")),
                           rs.field(QStringLiteral("住所2"))});
    }
    return ok && tx.commit();
}

report::Definition RptTack2601() {
    report::Definition d;
    d.title = QStringLiteral("タックシール");
    d.page.orientation = QPageLayout::Portrait;
    d.page.paper = QPageSize::A4;
    d.page.left = 1059;
    d.page.right = 1059;
    d.page.top = 1207;
    d.page.bottom = 400;
    d.page.printableWidth = 9790;
    d.detail.height = 2408;
    d.detail.columns = 2;
    auto item = [](ItemKind kind, const char* name, int left, int top, int width, int height,
                   double size, Qt::Alignment align) {
        Item i{kind, QString::fromUtf8(name), left, top, width, height};
        if (kind == ItemKind::TextBox) {
            i.field = i.name;
        }
        i.size = size;
        i.align = align;
        return i;
    };
    Item mark = item(ItemKind::Label, "lbl郵便マーク", 270, 90, 270, 270, 10, Qt::AlignLeft);
    mark.text = QStringLiteral("〒");
    d.detail.items = {
        mark,
        item(ItemKind::TextBox, "郵便番号", 540, 90, 1440, 270, 10, Qt::AlignLeft),
        item(ItemKind::TextBox, "住所1", 270, 360, 4530, 450, 11.5, Qt::AlignLeft),
        item(ItemKind::TextBox, "住所2", 270, 810, 4590, 450, 11.5, Qt::AlignHCenter),
        item(ItemKind::TextBox, "名称", 270, 1260, 4545, 885, 14.5, Qt::AlignHCenter),
    };
    // A label without a postal code has no mark, so blank positions print nothing.
    d.detailStep = [](report::Band& band, const report::Row& row) {
        band.item("lbl郵便マーク")->visible = !row.value(QStringLiteral("郵便番号")).toString().isEmpty();
    };
    return d;
}

} // namespace desk
