#pragma once
// Pagination of a report: every item placed on its page in twips from the
// paper's top-left corner, texts final (page numbers and the page count
// included). Computed once, then drawn on any device by the painter.

#include <QPageSize>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include "report.h"

namespace report {

struct Placed {
    ItemKind kind = ItemKind::Label;
    QString name;
    QRect rect; // twips; a line runs from rect.topLeft() to rect.topLeft() + (width, height)
    QString text;
    QString font;
    double size = 12;
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft;
    int row = -1; // the source row of a detail item
};

struct Page {
    QVector<Placed> items;
    // Items of one name on this page, in placing order.
    QVector<const Placed*> named(const QString& name) const;
};

struct Document {
    QString title;
    QSize paper; // twips, oriented
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPageSize pageSize;
    QVector<Page> pages;
    int pageCount() const { return static_cast<int>(pages.size()); }
};

constexpr int kTwipsPerInch = 1440;

// Lays the rows out on the definition's paper, or on devicePaper when the
// definition leaves the paper to the device. A report without rows still
// has one page, with its header and footer.
Document layOut(const Definition& def, const Rows& rows,
                const QPageSize& devicePaper = QPageSize(QPageSize::A4));

} // namespace report
