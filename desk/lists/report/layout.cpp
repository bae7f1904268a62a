#include "layout.h"

namespace report {
namespace {

QSize paperTwips(const QPageSize& size, QPageLayout::Orientation o) {
    // From millimetres: whole points would put A4 a few twips off.
    const QSizeF mm = size.size(QPageSize::Millimeter);
    QSize s(qRound(mm.width() * kTwipsPerInch / 25.4), qRound(mm.height() * kTwipsPerInch / 25.4));
    if (o == QPageLayout::Landscape) {
        s.transpose();
    }
    return s;
}

Placed place(const Item& i, int x, int y, int row) {
    Placed p;
    p.kind = i.kind;
    p.name = i.name;
    p.rect = QRect(x + i.left, y + i.top, i.width, i.height);
    p.text = i.text;
    p.font = i.font;
    p.size = i.size;
    p.bold = i.bold;
    p.align = i.align;
    p.row = row;
    return p;
}

void placeBand(const Band& band, int x, int y, int row, Page& page) {
    for (const Item& i : band.items) {
        if (i.visible) {
            page.items << place(i, x, y, row);
        }
    }
}

} // namespace

QVector<const Placed*> Page::named(const QString& name) const {
    QVector<const Placed*> out;
    for (const Placed& p : items) {
        if (p.name == name) {
            out << &p;
        }
    }
    return out;
}

Document layOut(const Definition& def, const Rows& rows, const QPageSize& devicePaper) {
    Document doc;
    doc.title = def.title;
    doc.orientation = def.page.orientation;
    doc.pageSize = def.page.paper ? QPageSize(*def.page.paper) : devicePaper;
    doc.paper = paperTwips(doc.pageSize, doc.orientation);

    const PageSetup& ps = def.page;
    const int left = ps.left;
    const int width = ps.printableWidth > 0 ? ps.printableWidth
                                            : std::max(0, doc.paper.width() - ps.left - ps.right);
    const int columns = std::max(1, def.detail.columns);
    const int columnWidth = width / columns;
    const int bodyTop = ps.top + def.pageHeader.height;
    const int bodyBottom = doc.paper.height() - ps.bottom - def.pageFooter.height;
    // A band taller than the page still gets one line per page rather than none.
    const int rowHeight = std::max(1, def.detail.height);
    const int linesPerPage = std::max(1, (bodyBottom - bodyTop) / rowHeight);
    const int perPage = linesPerPage * columns;
    const int total = std::max(1, (rows.count() + perPage - 1) / perPage);

    Band header = def.pageHeader;
    Band detail = def.detail;
    doc.pages.resize(total);
    for (int p = 0; p < total; ++p) {
        Page& page = doc.pages[p];
        header = def.pageHeader;
        if (def.pageHeaderStep) {
            def.pageHeaderStep(header);
        }
        placeBand(header, left, ps.top, -1, page);
        const int first = p * perPage;
        const int last = std::min(rows.count(), first + perPage);
        for (int r = first; r < last; ++r) {
            const int slot = r - first;
            const int x = left + (slot % columns) * columnWidth;
            const int y = bodyTop + (slot / columns) * rowHeight;
            detail = def.detail;
            for (Item& i : detail.items) {
                if (i.kind == ItemKind::TextBox && !i.field.isEmpty()) {
                    i.text = defaultText(rows.value(r, i.field));
                }
            }
            if (def.detailStep) {
                def.detailStep(detail, Row(rows, r));
            }
            placeBand(detail, x, y, r, page);
        }
        placeBand(def.pageFooter, left, bodyBottom, -1, page);
        for (Placed& item : page.items) {
            if (item.kind == ItemKind::PageNumber) {
                item.text = QString::number(p + 1);
            } else if (item.kind == ItemKind::PageCount) {
                item.text = QString::number(total);
            }
        }
    }
    return doc;
}

} // namespace report
