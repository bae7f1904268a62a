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

struct Document::Plan {
    Definition def;
    Rows rows;
    int left = 0;
    int columns = 1;
    int columnWidth = 0;
    int bodyTop = 0;
    int bodyBottom = 0;
    int rowHeight = 1;
    int perPage = 1;
};

Document layOut(const Definition& def, const Rows& rows, const QPageSize& devicePaper) {
    Document doc;
    doc.title = def.title;
    doc.orientation = def.page.orientation;
    doc.pageSize = def.page.paper ? QPageSize(*def.page.paper) : devicePaper;
    doc.paper = paperTwips(doc.pageSize, doc.orientation);

    auto plan = std::make_shared<Document::Plan>();
    plan->def = def;
    plan->rows = rows;
    const PageSetup& ps = def.page;
    plan->left = ps.left;
    const int width = ps.printableWidth > 0 ? ps.printableWidth
                                            : std::max(0, doc.paper.width() - ps.left - ps.right);
    plan->columns = std::max(1, def.detail.columns);
    plan->columnWidth = width / plan->columns;
    plan->bodyTop = ps.top + def.pageHeader.height;
    plan->bodyBottom = doc.paper.height() - ps.bottom - def.pageFooter.height;
    // A band taller than the page still gets one line per page rather than none.
    plan->rowHeight = std::max(1, def.detail.height);
    const int linesPerPage = std::max(1, (plan->bodyBottom - plan->bodyTop) / plan->rowHeight);
    plan->perPage = linesPerPage * plan->columns;
    doc.pageCount_ = std::max(1, (rows.count() + plan->perPage - 1) / plan->perPage);
    doc.plan_ = std::move(plan);
    return doc;
}

Page Document::page(int index) const {
    Page page;
    if (!plan_ || index < 0 || index >= pageCount_) {
        return page;
    }
    const Plan& plan = *plan_;
    const Definition& def = plan.def;
    Band header = def.pageHeader;
    if (def.pageHeaderStep) {
        def.pageHeaderStep(header);
    }
    placeBand(header, plan.left, def.page.top, -1, page);
    const int first = index * plan.perPage;
    const int last = std::min(plan.rows.count(), first + plan.perPage);
    for (int r = first; r < last; ++r) {
        const int slot = r - first;
        const int x = plan.left + (slot % plan.columns) * plan.columnWidth;
        const int y = plan.bodyTop + (slot / plan.columns) * plan.rowHeight;
        Band detail = def.detail;
        for (Item& i : detail.items) {
            if (i.kind == ItemKind::TextBox && !i.field.isEmpty()) {
                i.text = defaultText(plan.rows.value(r, i.field));
            }
        }
        if (def.detailStep) {
            def.detailStep(detail, Row(plan.rows, r));
        }
        placeBand(detail, x, y, r, page);
    }
    placeBand(def.pageFooter, plan.left, plan.bodyBottom, -1, page);
    for (Placed& item : page.items) {
        if (item.kind == ItemKind::PageNumber) {
            item.text = QString::number(index + 1);
        } else if (item.kind == ItemKind::PageCount) {
            item.text = QString::number(pageCount_);
        }
    }
    return page;
}

} // namespace report
