#pragma once
// A banded report: page set-up, a page header, a detail band repeated per
// source row (in one or more columns, filled across then down) and a page
// footer, each holding items placed in twips. Two steps let a report fill
// its page header and re-format or hide detail items before they are laid
// out. The layout (layout.h) turns a definition and its rows into pages.

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>

namespace core::db {
class Database;
}

namespace report {

enum class ItemKind {
    Label,      // fixed text
    TextBox,    // bound to a field of the row, or filled by a step
    Rectangle,  // frame
    Line,       // from (left, top) to (left + width, top + height)
    PageNumber, // the page's number, counted from 1
    PageCount,  // the number of pages of the whole report
};

struct Item {
    ItemKind kind = ItemKind::Label;
    QString name;
    int left = 0; // twips from the band's left edge
    int top = 0;  // twips from the band's top
    int width = 0;
    int height = 270;
    QString text;
    QString field; // text boxes: the source field shown, empty when filled by a step
    QString font = QStringLiteral("ＭＳ Ｐ明朝");
    double size = 12; // points
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft;
    bool visible = true;
};

struct Band {
    int height = 0; // twips
    QVector<Item> items;
    int columns = 1; // detail only: labels sheets print two across
    Item* item(const QString& name);
    const Item* item(const QString& name) const;
};

struct PageSetup {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    // Empty: the paper the output device has (A4 when it says nothing).
    std::optional<QPageSize::PageSizeId> paper;
    int top = 0; // margins in twips
    int bottom = 0;
    int left = 0;
    int right = 0;
    // Width of the detail area in twips; 0: the paper less the side margins.
    int printableWidth = 0;
};

// The source rows, read once before the layout.
struct Rows {
    QStringList fields;
    QVector<QVector<QVariant>> values;
    int count() const { return static_cast<int>(values.size()); }
    int column(const QString& field) const;
    QVariant value(int row, const QString& field) const;
};

// Reads a record source (a work table name or a SELECT) of a database;
// false with *error when it cannot be read.
bool readRows(core::db::Database& db, const QString& recordSource, Rows* rows, QString* error);

// One source row as the detail step sees it.
class Row {
public:
    Row(const Rows& rows, int index)
        : rows_(rows)
        , index_(index) {}
    QVariant value(const QString& field) const { return rows_.value(index_, field); }
    int index() const { return index_; }

private:
    const Rows& rows_;
    int index_;
};

struct Definition {
    QString title; // names print jobs and PDF files
    PageSetup page;
    Band pageHeader;
    Band detail;
    Band pageFooter;
    // Before each page header is laid out: may set texts and hide items.
    std::function<void(Band& header)> pageHeaderStep;
    // Before each detail row is laid out, after bound boxes took the row's
    // value: may set texts, re-format a value or hide items.
    std::function<void(Band& detail, const Row& row)> detailStep;
};

// How a bound value prints when no step re-formats it.
QString defaultText(const QVariant& value);

} // namespace report
