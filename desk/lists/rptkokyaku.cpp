#include "rptkokyaku.h"

#include "dateformat.h"

namespace desk {

using report::Item;
using report::ItemKind;

namespace {

Item label(const char* name, const char* text, int left, int top, int width, int height = 270) {
    Item i{ItemKind::Label, QString::fromUtf8(name), left, top, width, height};
    i.text = QString::fromUtf8(text);
    return i;
}

Item field(const char* name, int left, int top, int width) {
    Item i{ItemKind::TextBox, QString::fromUtf8(name), left, top, width, 270};
    i.field = QString::fromUtf8(name);
    return i;
}

} // namespace

report::Definition Rpt顧客一覧(const QString& nengo, const QDate& today) {
    report::Definition d;
    d.title = QStringLiteral("顧客一覧");
    d.page.orientation = QPageLayout::Portrait;
    d.page.top = 600;
    d.page.bottom = 0;
    // The heading frame (11025 twips) is wider than the space between these;
    // with the wider margin on the left it still ends 5 mm inside A4.
    d.page.left = 600;
    d.page.right = 400;

    d.pageHeader.height = 1050;
    Item title = label("lblTitle", "顧客一覧", 213, 0, 1417, 360);
    title.size = 16;
    title.bold = true;
    Item printDate{ItemKind::TextBox, QStringLiteral("txt印刷日"), 6803, 71, 2055, 270};
    Item page{ItemKind::PageNumber, QStringLiteral("txtPage"), 9709, 71, 354, 270};
    page.align = Qt::AlignRight;
    d.pageHeader.items = {
        title,
        label("lbl印刷日", "印刷日", 6024, 71, 779),
        printDate,
        label("lblPage", "Page", 9071, 71, 709),
        page,
        label("lblSlash", "/", 10063, 71, 283),
        Item{ItemKind::PageCount, QStringLiteral("txtPageCount"), 10346, 71, 355, 270},
        Item{ItemKind::Rectangle, QStringLiteral("shp見出し"), 0, 570, 11025, 420},
        label("lbl名称", " 名　称　/ 住所1 /顧客メモ", 420, 638, 3045),
        label("lblふりがな", "ふりがな", 3614, 638, 1063),
        label("lbl敬称", "敬称", 5745, 645, 525),
        label("lblEmail", "E-Mail　/ 住所２", 6585, 645, 1935),
        label("lbl郵便番号", "郵便番号", 9135, 645, 1230),
    };

    d.detail.height = 885;
    d.detail.items = {
        field("名称", 213, 0, 3330),
        field("ふりがな", 3614, 0, 2197),
        field("敬称", 5811, 0, 638),
        field("Email", 6585, 0, 2325),
        field("郵便番号", 9071, 0, 1417),
        field("住所1", 705, 285, 5205),
        field("住所2", 5955, 285, 4785),
        field("顧客メモ", 705, 570, 10050),
        Item{ItemKind::Line, QStringLiteral("lin罫線"), 0, 855, 10920, 0},
    };

    const QString printed = core::dates::format(
        today, core::dates::westernYears(nengo) ? QStringLiteral("yyyy年mm月dd日")
                                                : QStringLiteral("gggee年mm月dd日"));
    d.pageHeaderStep = [printed](report::Band& header) { header.item("txt印刷日")->text = printed; };
    return d;
}

} // namespace desk
