#include "rpttyakusin.h"

#include "dateformat.h"

namespace desk {

using report::Item;
using report::ItemKind;

CallPrintParams& callPrintParams() {
    static CallPrintParams p;
    return p;
}

namespace {

Item label(const char* name, const char* text, int left, int top, int width, int height = 270) {
    Item i{ItemKind::Label, QString::fromUtf8(name), left, top, width, height};
    i.text = QString::fromUtf8(text);
    return i;
}

Item box(const char* name, int left, int top, int width, int height = 270, const char* field = "") {
    Item i{ItemKind::TextBox, QString::fromUtf8(name), left, top, width, height};
    i.field = QString::fromUtf8(field);
    return i;
}

QString periodText(const std::optional<QDate>& date, const QString& text, const QString& pattern) {
    if (text.isEmpty()) {
        return {};
    }
    return date ? core::dates::format(*date, pattern) : text;
}

} // namespace

report::Definition Rpt着信履歴(const CallPrintParams& params, const QString& nengo,
                               const QDate& today) {
    const bool western = core::dates::westernYears(nengo);
    report::Definition d;
    d.title = QStringLiteral("着信履歴");
    d.page.orientation = QPageLayout::Landscape;
    d.page.top = 600;
    d.page.bottom = 0;
    d.page.left = 900;
    d.page.right = 400;

    d.pageHeader.height = 1185;
    Item title = label("lblTitle", "着信履歴", 0, 0, 1365, 360);
    title.size = 16;
    title.bold = true;
    Item page{ItemKind::PageNumber, QStringLiteral("txtPage"), 14580, 90, 360, 270};
    page.align = Qt::AlignRight;
    d.pageHeader.items = {
        title,
        label("lbl期間", "期間", 1800, 0, 540),
        box("txt期間開始", 2430, 0, 1890),
        label("lblから", "～", 4320, 0, 270),
        box("txt期間終了", 4680, 0, 1890),
        label("lbl印刷日", "印刷日", 11070, 90, 810),
        box("txt印刷日", 11880, 90, 2070),
        label("lblPage", "Page", 14040, 90, 540),
        page,
        label("lblSlash", "/", 14940, 90, 270),
        Item{ItemKind::PageCount, QStringLiteral("txtPageCount"), 15210, 90, 360, 270},
        label("lbl顧客名", "顧客名", 1800, 320, 900, 240),
        box("txt顧客名", 2700, 315, 4605, 240),
        label("lbl担当", "担当", 7395, 315, 720),
        box("txt担当", 8100, 315, 1710),
        Item{ItemKind::Rectangle, QStringLiteral("shp見出し"), 0, 660, 15600, 375},
        label("lbl日付", "日付", 180, 720, 540),
        label("lbl時間", "時間", 1260, 720, 540),
        label("lbl名称", "名　　称  /　用件メモ", 2340, 720, 2520),
        label("lbl済", "済", 5580, 720, 360),
        label("lbl用件1", "用件１", 5940, 720, 1440),
        label("lbl用件2", "用件２", 10260, 720, 1440),
        label("lbl担当見出し", "担当", 14640, 720, 720),
    };

    d.detail.height = 615;
    d.detail.items = {
        box("日付", 30, 0, 1260, 270, "日付"),
        box("時間", 1395, 0, 1080, 270, "時間"),
        box("名称", 2415, 0, 3060, 270, "名称"),
        box("済", 5520, 0, 360, 270, "済"),
        box("用件1", 5895, 0, 3960, 270, "用件1"),
        box("用件2", 10065, 0, 4500, 270, "用件2"),
        box("担当", 14565, 15, 900, 270, "担当"),
        box("用件メモ", 2475, 300, 12960, 270, "用件メモ"),
        Item{ItemKind::Line, QStringLiteral("lin罫線"), 45, 585, 15660 - 45, 0},
    };

    const QString printed = core::dates::format(
        today, western ? QStringLiteral("yyyy年mm月dd日") : QStringLiteral("gggee年mm月dd日"));
    const QString period = western ? QStringLiteral("yyyy年mm月dd日") : QStringLiteral("gee年mm月dd日");
    d.pageHeaderStep = [params, printed, period](report::Band& header) {
        header.item("txt印刷日")->text = printed;
        header.item("txt期間開始")->text =
            periodText(params.startDate, params.periodStart, period);
        header.item("txt期間終了")->text = periodText(params.endDate, params.periodEnd, period);
        header.item("txt顧客名")->text = params.customer;
        header.item("txt担当")->text = params.staff;
    };
    const QString dayPattern = western ? QStringLiteral("yy/mm/dd") : QStringLiteral("gee/mm/dd");
    d.detailStep = [dayPattern](report::Band& band, const report::Row& row) {
        const QVariant day = row.value(QStringLiteral("日付"));
        // A row whose moment repeats the one before it has no date.
        band.item("日付")->text =
            day.isNull() ? QString() : core::dates::format(day.toDateTime(), dayPattern);
        band.item("済")->text =
            row.value(QStringLiteral("済")).toBool() ? QStringLiteral("済") : QString();
    };
    return d;
}

} // namespace desk
