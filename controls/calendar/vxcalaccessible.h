#pragma once
// The calendar as assistive technology and UI automation see it: a table
// of day cells (six weeks by seven weekdays) whose value is the selected
// date; a cell's press action selects its day as a click does.

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace vxcal {

class VxCalendar;

// Registers the interface with the toolkit; done once, by the first calendar.
void installAccessibility();
// Tells a listening screen reader that the date changed.
void notifyAccessibleDate(VxCalendar* calendar);

class VxCalendarAccessible : public QAccessibleWidget,
                             public QAccessibleValueInterface,
                             public QAccessibleTableInterface {
public:
    enum { Weeks = 6, Weekdays = 7 };
    explicit VxCalendarAccessible(VxCalendar* calendar);
    ~VxCalendarAccessible() override;

    void* interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // value: the selected date's serial, within MinDate..MaxDate
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // table
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return Weekdays; }
    int rowCount() const override { return Weeks; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    VxCalendar* calendar() const;
    // The cells live as long as this interface; the toolkit knows them by id.
    mutable QHash<int, QAccessible::Id> cells_;
};

} // namespace vxcal
