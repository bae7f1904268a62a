#include <QAccessible>
#include <QBuffer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "vxcaldate.h"
#include "vxcalendar.h"
#include "vxcalproppage.h"
#include "vxcaltexts.h"

using vxcal::VxCalendar;

namespace {
int serial(int type, int y, int m, int d) {
    return vxcal::serialOf(type, m, d, y);
}

// A container that notes the keys that reach it.
struct Container : QWidget {
    QList<int> keys;
    void keyPressEvent(QKeyEvent* e) override { keys << e->key(); }
};
} // namespace

class TestVxCalendar : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ arithmetic

    void serials_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("serial");
        QTest::addColumn<int>("weekday");
        QTest::newRow("VB day 0") << 0 << 1899 << 12 << 30 << 0 << 7;
        QTest::newRow("VB leap day 2024") << 0 << 2024 << 2 << 29 << 45351 << 5;
        QTest::newRow("VB 1753") << 0 << 1753 << 1 << 1 << -53688 << 2;
        QTest::newRow("VB smallest") << 0 << 100 << 1 << 1 << -657434 << 6;
        QTest::newRow("VB largest") << 0 << 9999 << 12 << 31 << 2958465 << 6;
        QTest::newRow("VB 2078 end") << 0 << 2078 << 12 << 31 << 65380 << 7;
        QTest::newRow("native 1980") << 1 << 1980 << 1 << 1 << 1 << 3;
        QTest::newRow("native 2000") << 1 << 2000 << 1 << 1 << 7306 << 7;
        QTest::newRow("native largest") << 1 << 2065 << 11 << 17 << 31368 << 3;
        QTest::newRow("native smallest") << 1 << 1899 << 12 << 31 << -29219 << 1;
    }
    void serials() {
        QFETCH(int, type);
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, serial);
        QFETCH(int, weekday);
        QCOMPARE(vxcal::serialOf(type, month, day, year), serial);
        const vxcal::Mdy back = vxcal::mdyOf(type, serial);
        QCOMPARE(back.year, year);
        QCOMPARE(back.month, month);
        QCOMPARE(back.day, day);
        QCOMPARE(vxcal::weekdayOf(type, serial), weekday);
        // Weekdays agree with Qt's calendar.
        QCOMPARE(weekday, QDate(year, month, day).dayOfWeek() % 7 + 1);
    }

    void inverseOverTheWholeRange() {
        for (int type : {0, 1}) {
            for (int s = vxcal::kMinSerial[type]; s <= vxcal::kMaxSerial[type]; s += 997) {
                const vxcal::Mdy d = vxcal::mdyOf(type, s);
                QCOMPARE(vxcal::serialOf(type, d.month, d.day, d.year), s);
            }
        }
    }

    void methods() {
        VxCalendar c;
        QCOMPARE(c.MDYtoDateTime(2, 29, 24), 45351.0);
        QCOMPARE(c.MDYtoDateTime(2, 30, 2023), 0.0);
        QCOMPARE(c.MDYtoDateTime(3, 0, 2023), double(serial(0, 2023, 2, 28)));
        QCOMPARE(c.MDYtoDateTime(1, 1, 30), double(serial(0, 1930, 1, 1)));
        QCOMPARE(c.MDYtoDateTime(13, 1, 2023), 0.0);
        QCOMPARE(c.CalcDaysInMonth(2, 1900), 28);
        QCOMPARE(c.CalcDaysInMonth(2, 2000), 29);
        QCOMPARE(c.CalcDaysInMonth(0, 2000), 0);
        QCOMPARE(c.CalcDayOfWeek(12, 30, 1899), 7);
        QCOMPARE(c.CalcDayOfWeek(2, 30, 2023), 0);
        QCOMPARE(c.AddMonth(serial(0, 2023, 1, 31), 1), double(serial(0, 2023, 2, 28)));
        QCOMPARE(c.AddMonth(serial(0, 2023, 1, 31), -13), double(serial(0, 2021, 12, 31)));
        QCOMPARE(c.AddYear(serial(0, 2024, 2, 29), 1), double(serial(0, 2025, 2, 28)));
        QCOMPARE(c.DateTimeToMDY(45351.9), (QVariantList{2, 29, 2024}));
        QVariantList mdy;
        QVERIFY(QMetaObject::invokeMethod(&c, "DateTimeToMDY", Q_RETURN_ARG(QVariantList, mdy),
                                          Q_ARG(double, 0)));
        QCOMPARE(mdy, (QVariantList{12, 30, 1899}));
        c.setDateType(1);
        QCOMPARE(c.MDYtoDateTime(1, 1, 2000), 7306.0);
    }

    // ------------------------------------------------------------ properties

    void refusals_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("message");
        using namespace vxcal::text;
        QTest::newRow("date type 2") << "DateType" << QVariant(2) << 380 << kDateType;
        QTest::newRow("date above max") << "Date" << QVariant(2958466) << 380 << kDate;
        QTest::newRow("day frame 2") << "DayFrame" << QVariant(2) << 380 << kDayFrame;
        QTest::newRow("three d text") << "ThreeD" << QVariant("yes") << 380 << kThreeD;
        QTest::newRow("month 13") << "Month" << QVariant(13) << 380 << kMonth;
        QTest::newRow("year 99") << "Year" << QVariant(99) << 380 << kYear;
        QTest::newRow("scroll bar 3") << "ScrollBar" << QVariant(3) << 380 << kScrollBar;
        QTest::newRow("first day 0") << "FirstDay" << QVariant(0) << 380 << kFirstDay;
        QTest::newRow("first day 8") << "FirstDay" << QVariant(8) << 380 << kFirstDay;
        QTest::newRow("get arrows 5") << "GetArrows" << QVariant(5) << 380 << kGetArrows;
        QTest::newRow("focus frame -2") << "FocusFrame" << QVariant(-2) << 380 << kFocusFrame;
        QTest::newRow("pointer 16") << "MousePointer" << QVariant(16) << 380 << kMousePointer;
        QTest::newRow("date position 10") << "DatePosition" << QVariant(10) << 380 << kDatePosition;
        QTest::newRow("border 2") << "BorderStyle" << QVariant(2) << 380 << kBorderStyle;
        QTest::newRow("mouse icon bitmap")
            << "MouseIcon" << QVariant(QByteArray("BM....")) << 481 << kMouseIcon;
    }
    void refusals() {
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        QFETCH(int, number);
        QFETCH(QString, message);
        VxCalendar c;
        const QVariant before = c.property(property.toLatin1());
        QSignalSpy refused(&c, &VxCalendar::propertyRefused);
        c.setProperty(property.toLatin1(), value);
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused.first().at(0).toInt(), number);
        QCOMPARE(refused.first().at(1).toString(), message);
        QCOMPARE(c.lastErrorMessage(), message);
        QCOMPARE(c.property(property.toLatin1()), before);
    }

    void dayAndBoundsRefusals() {
        VxCalendar c;
        c.setProperty("Date", serial(0, 2023, 4, 10));
        QSignalSpy refused(&c, &VxCalendar::propertyRefused);
        c.setProperty("Day", 31); // April has 30
        QCOMPARE(refused.last().at(1).toString(), vxcal::text::kDay);
        c.setProperty("Year", 100);
        QCOMPARE(c.property("Year").toInt(), 100);
        c.setProperty("MaxDate", serial(0, 2030, 1, 1));
        c.setProperty("MinDate", serial(0, 2031, 1, 1));
        QCOMPARE(refused.last().at(1).toString(), vxcal::text::kMinDate);
        c.setProperty("MaxDate", c.property("MinDate").toInt() - 1);
        QCOMPARE(refused.last().at(1).toString(), vxcal::text::kMaxDate);
        QVERIFY(!c.setMarkType(32, 1));
        QCOMPARE(c.lastErrorMessage(), vxcal::text::kMarkDay);
        QVERIFY(!c.setMarkType(3, 9));
        QCOMPARE(c.lastErrorMessage(), vxcal::text::kMarkType);
        QVERIFY(!c.setProperty("Weekday", 3) || c.lastErrorNumber() == 383);
    }

    void derivedValues() {
        VxCalendar c;
        c.setProperty("Date", serial(0, 2024, 2, 29));
        QCOMPARE(c.property("Weekday").toInt(), 5);
        QCOMPARE(c.property("DaysInMonth").toInt(), 29);
        QCOMPARE(c.property("YearDayNumber").toInt(), 60);
        QCOMPARE(c.property("YearDaysLeft").toInt(), 306);
        c.setDesignMode(true);
        QVERIFY(!c.property("Weekday").isValid());
        QVERIFY(!c.setMarkType(1, 1));
    }

    // At design time the derived values are refused, not read as empty.
    void designTimeReadsAreRefused_data() {
        QTest::addColumn<QString>("property");
        QTest::newRow("Weekday") << "Weekday";
        QTest::newRow("DaysInMonth") << "DaysInMonth";
        QTest::newRow("YearDayNumber") << "YearDayNumber";
        QTest::newRow("YearDaysLeft") << "YearDaysLeft";
        QTest::newRow("MarkType") << "MarkType";
    }
    void designTimeReadsAreRefused() {
        QFETCH(QString, property);
        VxCalendar c;
        c.setProperty("Date", serial(0, 2024, 2, 29));
        const auto read = [&] {
            return property == "MarkType" ? QVariant(c.MarkType(1))
                                          : c.property(property.toLatin1());
        };
        QSignalSpy refused(&c, &VxCalendar::propertyRefused);
        QVERIFY(read().isValid());
        QCOMPARE(refused.size(), 0);
        c.setDesignMode(true);
        read();
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused.first().at(0).toInt(), int(VxCalendar::ErrGetNotSupported));
        QCOMPARE(c.lastErrorNumber(), int(VxCalendar::ErrGetNotSupported));
    }

    void maxDateEqualToDateFiresChange() {
        VxCalendar c;
        c.setProperty("Date", serial(0, 2024, 5, 5));
        QSignalSpy changes(&c, &VxCalendar::Change);
        c.setProperty("MaxDate", serial(0, 2024, 5, 5));
        QCOMPARE(changes.size(), 1);
        QCOMPARE(c.property("Date").toInt(), serial(0, 2024, 5, 5));
        c.setProperty("Date", serial(0, 2024, 5, 5)); // the same date: nothing
        QCOMPARE(changes.size(), 1);
    }

    void dateTypeThereAndBack() {
        VxCalendar c;
        c.setProperty("Date", serial(0, 2024, 2, 29));
        QSignalSpy changes(&c, &VxCalendar::Change);
        c.setProperty("DateType", 1);
        QCOMPARE(c.property("MaxDate").toInt(), 31368);
        QCOMPARE(c.property("MinDate").toInt(), -29219);
        QCOMPARE(c.property("Date").toInt(), serial(1, 2024, 2, 29));
        c.setProperty("DateType", 0);
        QCOMPARE(c.property("MaxDate").toInt(), 2958465);
        QCOMPARE(c.property("MinDate").toInt(), -657434);
        QCOMPARE(c.property("Date").toInt(), 45351);
        // Only the bound rule may fire: the old number lay above the new maximum.
        QVERIFY(changes.size() <= 1);
    }

    void marks() {
        VxCalendar c;
        c.setProperty("Date", serial(0, 2024, 3, 10));
        QVERIFY(c.setMarkType(5, 3));
        QCOMPARE(c.MarkType(5), 3);
        QCOMPARE(c.MarkType(40), 0);
        QVERIFY(c.setMarkType(0, 2)); // every day of every month from now
        c.setProperty("Month", 4);
        QCOMPARE(c.MarkType(5), 2);
        QCOMPARE(c.MarkType(30), 2);
    }

    // ------------------------------------------------------------ layout and mouse

    void layoutOfANewControl_data() {
        QTest::addColumn<int>("border");
        QTest::addColumn<QRect>("firstCell"); // origin and cell size
        QTest::newRow("border") << 1 << QRect(4, 9, 18, 17);
        QTest::newRow("no border") << 0 << QRect(4, 5, 18, 18);
    }
    void layoutOfANewControl() {
        QFETCH(int, border);
        QFETCH(QRect, firstCell);
        VxCalendar c;
        QCOMPARE(c.size(), QSize(134, 154));
        c.setProperty("BorderStyle", border);
        QCOMPARE(c.gridRect().topLeft(), firstCell.topLeft());
        QCOMPARE(c.cellWidth(), firstCell.width());
        QCOMPARE(c.cellHeight(), firstCell.height());
    }

    void dayOneForEachFirstDay_data() {
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<int>("column");
        for (int f = 1; f <= 7; ++f) {
            QTest::newRow(qPrintable(QString::number(f))) << f << (7 - (f - 1)) % 7;
        }
    }
    void dayOneForEachFirstDay() {
        QFETCH(int, firstDay);
        QFETCH(int, column);
        VxCalendar c;
        c.setProperty("Date", serial(0, 2023, 1, 15)); // January 2023 starts on a Sunday
        c.setProperty("FirstDay", firstDay);
        const QRect cell = c.cellOfDay(1);
        QCOMPARE((cell.left() - c.gridRect().left()) / c.cellWidth(), column);
        QCOMPARE((cell.top() - c.gridRect().top()) / c.cellHeight(), 2);
        QCOMPARE(c.dayAt(cell.center()), 1);
    }

    void clicks() {
        VxCalendar c;
        c.setProperty("Date", serial(0, 2023, 1, 15));
        c.show();
        QSignalSpy changes(&c, &VxCalendar::Change);
        const QPoint title(c.gridRect().center().x(), c.gridRect().top() + 2);
        const QPoint weekdays(c.gridRect().center().x(), c.gridRect().top() + c.cellHeight() + 2);
        QTest::mouseClick(&c, Qt::LeftButton, {}, title);
        QTest::mouseClick(&c, Qt::LeftButton, {}, weekdays);
        // The last row is empty in January 2023.
        QTest::mouseClick(&c, Qt::LeftButton, {},
                          QPoint(c.gridRect().right() - 2, c.gridRect().bottom() - 2));
        QCOMPARE(changes.size(), 0);
        QTest::mouseClick(&c, Qt::LeftButton, {}, c.cellOfDay(20).center());
        QCOMPARE(changes.size(), 1);
        QCOMPARE(c.property("Day").toInt(), 20);
        QCOMPARE(c.property("Date").toInt(), serial(0, 2023, 1, 20));
    }

    // Key events carry the old codes; an arrow the calendar does not take
    // stays with the container and fires nothing.
    void keyEvents_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("getArrows");
        QTest::addColumn<int>("code"); // 0: no event at all, the container has it
        const int ctrl = int(Qt::ControlModifier);
        QTest::newRow("right, GetArrows off") << int(Qt::Key_Right) << 0 << false << 0;
        QTest::newRow("up, GetArrows off") << int(Qt::Key_Up) << 0 << false << 0;
        QTest::newRow("ctrl right") << int(Qt::Key_Right) << ctrl << false << 39;
        QTest::newRow("left, GetArrows on") << int(Qt::Key_Left) << 0 << true << 37;
        QTest::newRow("down, GetArrows on") << int(Qt::Key_Down) << 0 << true << 40;
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 0 << false << 33;
        QTest::newRow("home") << int(Qt::Key_Home) << 0 << false << 36;
        QTest::newRow("F5") << int(Qt::Key_F5) << 0 << false << 116;
        QTest::newRow("enter") << int(Qt::Key_Return) << 0 << false << 13;
    }
    void keyEvents() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, getArrows);
        QFETCH(int, code);
        Container host;
        auto* c = new VxCalendar(&host);
        c->setProperty("GetArrows", getArrows);
        host.show();
        c->setFocus();
        QSignalSpy downs(c, &VxCalendar::KeyDown);
        QSignalSpy presses(c, &VxCalendar::KeyPress);
        QSignalSpy ups(c, &VxCalendar::KeyUp);
        const auto mods = Qt::KeyboardModifiers(modifiers);
        const QString text = key == Qt::Key_Return ? QStringLiteral("\r") : QString();
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(c, &press);
        QApplication::sendEvent(c, &release);
        if (code == 0) {
            QCOMPARE(downs.size() + presses.size() + ups.size(), 0);
            QCOMPARE(host.keys, QList<int>{key});
            return;
        }
        QCOMPARE(downs.size(), 1);
        QCOMPARE(downs.first().at(0).toInt(), code);
        QCOMPARE(downs.first().at(1).toInt(), modifiers ? 2 : 0);
        QCOMPARE(ups.size(), 1);
        QCOMPARE(ups.first().at(0).toInt(), code);
        QCOMPARE(presses.size(), text.isEmpty() ? 0 : 1);
    }

    void pointerShapes_data() {
        QTest::addColumn<int>("pointer");
        QTest::addColumn<int>("shape");
        QTest::newRow("arrow") << 1 << int(Qt::ArrowCursor);
        QTest::newRow("four-headed size") << 5 << int(Qt::SizeAllCursor);
        QTest::newRow("arrow with hourglass") << 13 << int(Qt::BusyCursor);
        QTest::newRow("size-all") << 14 << int(Qt::SizeAllCursor);
        QTest::newRow("15 without icon") << 15 << int(Qt::ArrowCursor);
    }
    void pointerShapes() {
        QFETCH(int, pointer);
        QFETCH(int, shape);
        VxCalendar c;
        QVERIFY(c.setMousePointer(pointer));
        QCOMPARE(int(c.cursor().shape()), shape);
    }

    // ------------------------------------------------------------ accessibility

    void accessibleCalendar() {
        VxCalendar c;
        c.setProperty("Date", serial(0, 2023, 1, 15)); // January 2023 starts on a Sunday
        c.setToolTipText("締め日");
        c.show();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&c);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Table);
        QCOMPARE(a->text(QAccessible::Name), "一月 2023");
        QCOMPARE(a->text(QAccessible::Value), "2023年1月15日");
        QCOMPARE(a->text(QAccessible::Description), "締め日");
        QAccessibleValueInterface* value = a->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toInt(), serial(0, 2023, 1, 15));
        QCOMPARE(value->maximumValue().toInt(), 2958465);

        QAccessibleTableInterface* table = a->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 6);
        QCOMPARE(table->columnCount(), 7);
        QCOMPARE(table->columnDescription(0), "日");
        QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name), "1");
        QCOMPARE(table->cellAt(4, 2)->text(QAccessible::Name), "31");
        QCOMPARE(table->cellAt(4, 3)->text(QAccessible::Name), ""); // past the month's end
        QCOMPARE(table->selectedCells().size(), 1);
        QCOMPARE(table->selectedCells().first()->text(QAccessible::Name), "15");
        QCOMPARE(a->childCount() >= 42, true);
        QCOMPARE(a->indexOfChild(table->cellAt(2, 3)), 17);

        // A cell's press action selects its day, as a click does.
        QSignalSpy changes(&c, &VxCalendar::Change);
        QAccessibleInterface* day20 = table->cellAt(2, 5);
        QCOMPARE(day20->role(), QAccessible::Cell);
        day20->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(changes.size(), 1);
        QCOMPARE(c.property("Day").toInt(), 20);
        QVERIFY(day20->state().selected);
        QCOMPARE(a->text(QAccessible::Value), "2023年1月20日");
        // Empty cells have no action.
        QVERIFY(table->cellAt(5, 6)->actionInterface()->actionNames().isEmpty());

        // The value can be set within the bounds only.
        value->setCurrentValue(serial(0, 2024, 2, 29));
        QCOMPARE(a->text(QAccessible::Value), "2024年2月29日");
        QCOMPARE(a->text(QAccessible::Name), "二月 2024");
        c.setAccessibleName("締め日の選択");
        QCOMPARE(a->text(QAccessible::Name), "締め日の選択");
    }

    // ------------------------------------------------------------ keys and scroll bar

    void keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("getArrows");
        QTest::addColumn<QDate>("expected");
        const int ctrl = int(Qt::ControlModifier);
        QTest::newRow("ctrl page up on 29 Feb")
            << int(Qt::Key_PageUp) << ctrl << false << QDate(2023, 3, 1);
        QTest::newRow("ctrl page down")
            << int(Qt::Key_PageDown) << ctrl << false << QDate(2025, 3, 1);
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 0 << false << QDate(2024, 1, 29);
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 0 << false << QDate(2024, 3, 29);
        QTest::newRow("end") << int(Qt::Key_End) << 0 << false << QDate(2024, 2, 29);
        QTest::newRow("home") << int(Qt::Key_Home) << 0 << false << QDate(2024, 2, 1);
        QTest::newRow("ctrl home is today")
            << int(Qt::Key_Home) << ctrl << false << QDate::currentDate();
        QTest::newRow("arrow without GetArrows")
            << int(Qt::Key_Right) << 0 << false << QDate(2024, 2, 29);
        QTest::newRow("arrow with GetArrows")
            << int(Qt::Key_Right) << 0 << true << QDate(2024, 3, 1);
        QTest::newRow("ctrl up") << int(Qt::Key_Up) << ctrl << false << QDate(2024, 2, 22);
        QTest::newRow("ctrl down") << int(Qt::Key_Down) << ctrl << false << QDate(2024, 3, 7);
    }
    void keys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, getArrows);
        QFETCH(QDate, expected);
        VxCalendar c;
        c.setProperty("Date", serial(0, 2024, 2, 29));
        c.setProperty("GetArrows", getArrows);
        QTest::keyClick(&c, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(c.property("Date").toInt(),
                 serial(0, expected.year(), expected.month(), expected.day()));
    }

    void scrollBar() {
        VxCalendar c;
        c.setProperty("Date", serial(0, 2024, 2, 29));
        c.setProperty("ScrollBar", 1);
        QScrollBar* bar = c.scrollBarWidget();
        QCOMPARE(bar->maximum(), 32767); // 9900 years of months, capped
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(c.property("Date").toInt(), serial(0, 2023, 2, 28));
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(c.property("Date").toInt(), serial(0, 2023, 3, 28));
        // Released after exactly one tracking notification: nothing moves.
        const int before = c.property("Date").toInt();
        bar->setSliderDown(true);
        bar->setSliderPosition(bar->sliderPosition() + 100);
        bar->setSliderDown(false);
        QCOMPARE(c.property("Date").toInt(), before);
        // With more notifications the month follows the thumb.
        VxCalendar small;
        small.setProperty("MinDate", serial(0, 2020, 1, 1));
        small.setProperty("MaxDate", serial(0, 2029, 12, 31));
        small.setProperty("Date", serial(0, 2024, 1, 31));
        small.setProperty("ScrollBar", 2);
        QScrollBar* b = small.scrollBarWidget();
        QCOMPARE(b->maximum(), 119);
        QCOMPARE(b->value(), 48);
        b->setSliderDown(true);
        b->setSliderPosition(50);
        b->setSliderPosition(49);
        b->setSliderDown(false);
        QCOMPARE(small.property("Date").toInt(), serial(0, 2024, 2, 29));
    }

    // ------------------------------------------------------------ drawing

    void drawing() {
        VxCalendar c;
        c.setProperty("Date", serial(0, 2023, 1, 15));
        c.setBackColor(Qt::white);
        c.setBorderColor(Qt::blue);
        c.setMarkColor(2, QColor(255, 0, 0));
        QVERIFY(c.setMarkType(10, 2));
        const QImage img = c.grab().toImage();
        const QRect g = c.gridRect();
        const int cw = c.cellWidth(), ch = c.cellHeight();
        const QColor grey(128, 128, 128);
        QCOMPARE(img.pixelColor(0, 0), QColor(Qt::blue)); // border
        QCOMPARE(img.pixelColor(133, 100), QColor(Qt::blue));
        QCOMPARE(img.pixelColor(g.left() + 5, g.top() + 2 * ch - 1), grey);      // first week line
        QCOMPARE(img.pixelColor(g.left() + 3 * cw - 1, g.top() + 5 * ch), grey); // a column line
        // The selected day has two black frames: on the cell and 2 pixels out.
        const QRect sel = c.cellOfDay(15);
        QCOMPARE(img.pixelColor(sel.left(), sel.center().y()), QColor(Qt::black));
        QCOMPARE(img.pixelColor(sel.left() - 2, sel.center().y()), QColor(Qt::black));
        QCOMPARE(img.pixelColor(sel.left() - 1, sel.center().y()) == QColor(Qt::black), false);
        // A marked day is filled with its mark colour.
        const QRect marked = c.cellOfDay(10);
        QCOMPARE(img.pixelColor(marked.left() + 1, marked.top() + 1), QColor(255, 0, 0));
        // Three-dimensional: no grid lines, a sunken frame per day.
        c.setProperty("ThreeD", true);
        const QImage td = c.grab().toImage();
        QVERIFY(td.pixelColor(g.left() + 5, g.top() + 2 * ch - 1) != grey);
    }

    // ------------------------------------------------------------ tooltip, persistence, defaults

    void tooltip() {
        VxCalendar c;
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        QTest::mouseMove(&c, QPoint(60, 60));
        QCOMPARE(c.tooltipState(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(c.tooltipState(), 2, 2000);
        QCOMPARE(c.tipWindow()->grab().toImage().pixelColor(c.tipWindow()->width() / 2, 1),
                 QColor(255, 255, 128));
        QTest::mouseMove(&c, QPoint(62, 62)); // moving hides it until the pointer leaves
        QCOMPARE(c.tooltipState(), 3);
        QVERIFY(!c.tipWindow());
        QTest::keyClick(&c, Qt::Key_A);
        QCOMPARE(c.tooltipState(), 0);
        QTest::mouseMove(&c, QPoint(64, 64)); // within the second: 250 ms
        QTRY_COMPARE_WITH_TIMEOUT(c.tooltipState(), 2, 600);
    }

    void propertyBag() {
        VxCalendar a;
        a.setProperty("Date", serial(0, 2024, 7, 7));
        a.setProperty("FirstDay", 2);
        a.setProperty("ThreeD", true);
        a.setDayTitles("S M T W T F S");
        a.setMarkType(3, 1);
        VxCalendar b;
        b.loadProperties(a.saveProperties());
        QCOMPARE(b.property("Date").toInt(), serial(0, 2024, 7, 7));
        QCOMPARE(b.property("FirstDay").toInt(), 2);
        QCOMPARE(b.property("ThreeD").toBool(), true);
        QCOMPARE(b.dayTitles(), "S M T W T F S");
        QCOMPARE(b.MarkType(3), 0); // marks are not saved
        QCOMPARE(a.saveProperties().value("Version").toString(), "4.1");
    }

    // The calendar's section shares the file with the button's: saving or
    // resetting one leaves the other as it was.
    void defaultsFileSharedWithTheButton() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("ZX4WIN.INI");
        const QByteArray button =
            "[VxCmd Settings]\r\nFont Name=ＭＳ Ｐゴシック\r\nBevelWidth=4\r\n";
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(button);
        f.close();
        VxCalendar c;
        c.setProperty("FirstDay", 3);
        c.saveDesignDefaults(ini);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        f.close();
        QVERIFY(text.startsWith(button + "[VxCalendar Settings]\r\n"));
        QVERIFY(text.contains("\r\nFirstDay=3\r\n"));
        QVERIFY(text.contains("\r\nMarkColor7=16777215\r\n"));
        QVERIFY(!text.contains('%'));
        VxCalendar n;
        n.applyDesignDefaults(ini);
        QCOMPARE(n.property("FirstDay").toInt(), 3);
        QVERIFY(VxCalendar::resetDesignDefaults(ini));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), button);
    }

    void designDefaultsFile() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("ZX4WIN.INI");
        {
            VxCalendar c;
            c.setProperty("FirstDay", 2);
            c.setProperty("DatePosition", 0);
            c.resize(200, 180);
            c.saveDesignDefaults(ini);
        }
        VxCalendar n;
        n.applyDesignDefaults(ini);
        QCOMPARE(n.property("FirstDay").toInt(), 2);
        QCOMPARE(n.property("DatePosition").toInt(), 0);
        QCOMPARE(n.size(), QSize(200, 180));
        VxCalendar::resetDesignDefaults(ini);
        VxCalendar f;
        f.applyDesignDefaults(ini);
        QCOMPARE(f.property("FirstDay").toInt(), 1);
        QCOMPARE(f.size(), QSize(134, 154));
        // A damaged file falls back key by key.
        QFile junk(ini);
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("[VxCalendar Settings]\nFirstDay=9\nDatePosition=2\n\x01\x02\xff garbage\n");
        junk.close();
        VxCalendar d;
        d.applyDesignDefaults(ini);
        QCOMPARE(d.property("FirstDay").toInt(), 1);
        QCOMPARE(d.property("DatePosition").toInt(), 2);

        vxcal::VxCalPropPage page(d, ini);
        page.reset();
        page.apply();
        QCOMPARE(d.property("DatePosition").toInt(), 4);
    }
};

QTEST_MAIN(TestVxCalendar)
#include "tst_vxcalendar.moc"
