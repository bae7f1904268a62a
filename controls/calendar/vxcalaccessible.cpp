#include "vxcalaccessible.h"

#include "vxcalendar.h"

#include "vxcontrol.h"

#include <QAccessible>

namespace vxcal {
namespace {

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("vxcal::VxCalendar") && object && object->isWidgetType()) {
        return new VxCalendarAccessible(static_cast<VxCalendar*>(object));
    }
    return nullptr;
}

// One day cell of the grid, known by its place; the day it holds follows
// the month shown.
class DayCell : public QAccessibleInterface,
                public QAccessibleTableCellInterface,
                public QAccessibleActionInterface {
public:
    DayCell(VxCalendar* calendar, int row, int column)
        : calendar_(calendar)
        , row_(row)
        , column_(column) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        if (t == QAccessible::ActionInterface) {
            return static_cast<QAccessibleActionInterface*>(this);
        }
        return nullptr;
    }

    bool isValid() const override { return calendar_; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return calendar_ ? calendar_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(calendar_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && day() ? QString::number(day()) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!calendar_) {
            return {};
        }
        const QRect g = calendar_->gridRect();
        const int w = calendar_->cellWidth(), h = calendar_->cellHeight();
        const QRect local(g.left() + column_ * w, g.top() + (row_ + 2) * h, w, h);
        return QRect(calendar_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!calendar_) {
            s.invalid = true;
            return s;
        }
        s.disabled = !calendar_->isEnabled();
        s.selectable = day() != 0;
        s.selected = isSelected();
        s.focused = s.selected && calendar_->hasFocus();
        s.invisible = !calendar_->isVisible();
        return s;
    }

    bool isSelected() const override {
        return calendar_ && day() && day() == calendar_->property("Day").toInt();
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override {
        return day() && calendar_->isEnabled() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && day()) {
            calendar_->selectDay(day());
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    int day() const { return calendar_ ? calendar_->dayInCell(row_, column_) : 0; }

    QPointer<VxCalendar> calendar_;
    int row_, column_;
};

} // namespace

void installAccessibility() {
    vx::common::installAccessibleFactory(factory);
}

void notifyAccessibleDate(VxCalendar* calendar) {
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent e(calendar, calendar->property("Date"));
        QAccessible::updateAccessibility(&e);
        QAccessibleEvent names(calendar, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&names);
    }
}

VxCalendarAccessible::VxCalendarAccessible(VxCalendar* calendar)
    : QAccessibleWidget(calendar, QAccessible::Table) {}

VxCalendarAccessible::~VxCalendarAccessible() {
    for (const QAccessible::Id id : std::as_const(cells_)) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

VxCalendar* VxCalendarAccessible::calendar() const {
    return static_cast<VxCalendar*>(widget());
}

void* VxCalendarAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    if (t == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(t);
}

QString VxCalendarAccessible::text(QAccessible::Text t) const {
    VxCalendar* c = calendar();
    switch (t) {
    case QAccessible::Name:
        // A screen's label wins; otherwise the month on show, as the title row says.
        return c->accessibleName().isEmpty() ? c->titleText() : c->accessibleName();
    case QAccessible::Description:
        return c->accessibleDescription().isEmpty() ? c->toolTipText() : c->accessibleDescription();
    case QAccessible::Value:
        return QStringLiteral("%1年%2月%3日")
            .arg(c->property("Year").toInt())
            .arg(c->property("Month").toInt())
            .arg(c->property("Day").toInt());
    default:
        return QAccessibleWidget::text(t);
    }
}

int VxCalendarAccessible::childCount() const {
    return Weeks * Weekdays + QAccessibleWidget::childCount();
}

QAccessibleInterface* VxCalendarAccessible::child(int index) const {
    if (index < 0) {
        return nullptr;
    }
    if (index < Weeks * Weekdays) {
        return cellAt(index / Weekdays, index % Weekdays);
    }
    return QAccessibleWidget::child(index - Weeks * Weekdays);
}

int VxCalendarAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child) {
        return -1;
    }
    if (child->role() == QAccessible::Cell && child->parent() == this) {
        const auto* cell = static_cast<const DayCell*>(child);
        return cell->rowIndex() * Weekdays + cell->columnIndex();
    }
    const int i = QAccessibleWidget::indexOfChild(child);
    return i < 0 ? -1 : i + Weeks * Weekdays;
}

QAccessibleInterface* VxCalendarAccessible::childAt(int x, int y) const {
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface* c = child(i);
        if (c && c->rect().contains(x, y)) {
            return c;
        }
    }
    return nullptr;
}

QAccessibleInterface* VxCalendarAccessible::focusChild() const {
    const QList<QAccessibleInterface*> selected = selectedCells();
    return calendar()->hasFocus() && !selected.isEmpty() ? selected.first() : nullptr;
}

QVariant VxCalendarAccessible::currentValue() const {
    return calendar()->property("Date");
}
void VxCalendarAccessible::setCurrentValue(const QVariant& value) {
    calendar()->setDate(value);
}
QVariant VxCalendarAccessible::maximumValue() const {
    return calendar()->property("MaxDate");
}
QVariant VxCalendarAccessible::minimumValue() const {
    return calendar()->property("MinDate");
}
QVariant VxCalendarAccessible::minimumStepSize() const {
    return 1;
}

QAccessibleInterface* VxCalendarAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= Weeks || column < 0 || column >= Weekdays) {
        return nullptr;
    }
    const int key = row * Weekdays + column;
    auto it = cells_.constFind(key);
    if (it == cells_.constEnd()) {
        it = cells_.insert(
            key, QAccessible::registerAccessibleInterface(new DayCell(calendar(), row, column)));
    }
    return QAccessible::accessibleInterface(*it);
}

int VxCalendarAccessible::selectedCellCount() const {
    return selectedCells().size();
}

QList<QAccessibleInterface*> VxCalendarAccessible::selectedCells() const {
    for (int r = 0; r < Weeks; ++r) {
        for (int c = 0; c < Weekdays; ++c) {
            if (calendar()->dayInCell(r, c) == calendar()->property("Day").toInt()) {
                return {cellAt(r, c)};
            }
        }
    }
    return {};
}

QString VxCalendarAccessible::columnDescription(int column) const {
    return calendar()->weekdayTitle(column);
}

} // namespace vxcal
