#pragma once
// VxCalendar: one month as a grid of days with one selected date, kept as a
// day serial of the chosen date type. Properties keep their published
// names; a refused value keeps the property as it was and is reported
// through propertyRefused() with error 380 (481 for MouseIcon) and the
// property's own message.

#include <QColor>
#include <QElapsedTimer>
#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <array>
#include <functional>

#include "vxcaldate.h"
#include "vxcommon.h"
#include "vxcontrol.h"

class QKeyEvent;
class QScrollBar;
class QLabel;

#if defined(VXCAL32_LIBRARY)
#define VXCAL_EXPORT Q_DECL_EXPORT
#else
#define VXCAL_EXPORT Q_DECL_IMPORT
#endif

namespace vxcal {

class VXCAL_EXPORT VxCalendar : public QWidget, public vx::common::FontShortcuts<VxCalendar> {
    Q_OBJECT
    Q_PROPERTY(QString FontName READ fontName WRITE setFontName)
    Q_PROPERTY(bool FontBold READ fontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ fontItalic WRITE setFontItalic)
    Q_PROPERTY(double FontSize READ fontSize WRITE setFontSize)
    Q_PROPERTY(bool FontUnderline READ fontUnderline WRITE setFontUnderline)
    Q_PROPERTY(bool FontStrikethru READ fontStrikethru WRITE setFontStrikethru)
    Q_PROPERTY(QVariant DateType READ dateType WRITE setDateType)
    Q_PROPERTY(QVariant Date READ date WRITE setDate)
    Q_PROPERTY(QVariant MaxDate READ maxDate WRITE setMaxDate)
    Q_PROPERTY(QVariant MinDate READ minDate WRITE setMinDate)
    Q_PROPERTY(QVariant DayFrame READ dayFrame WRITE setDayFrame)
    Q_PROPERTY(QVariant ThreeD READ threeD WRITE setThreeD)
    Q_PROPERTY(QVariant Day READ day WRITE setDay)
    Q_PROPERTY(QVariant Month READ month WRITE setMonth)
    Q_PROPERTY(QVariant Year READ year WRITE setYear)
    Q_PROPERTY(QVariant Weekday READ weekday WRITE setReadOnly)
    Q_PROPERTY(QVariant DaysInMonth READ daysInMonthValue WRITE setReadOnly)
    Q_PROPERTY(QVariant YearDayNumber READ yearDayNumber WRITE setReadOnly)
    Q_PROPERTY(QVariant YearDaysLeft READ yearDaysLeft WRITE setReadOnly)
    Q_PROPERTY(QVariant ScrollBar READ scrollBar WRITE setScrollBar)
    Q_PROPERTY(QVariant FirstDay READ firstDay WRITE setFirstDay)
    Q_PROPERTY(QVariant GetArrows READ getArrows WRITE setGetArrows)
    Q_PROPERTY(QVariant FocusFrame READ focusFrame WRITE setFocusFrame)
    Q_PROPERTY(QString DayTitles READ dayTitles WRITE setDayTitles)
    Q_PROPERTY(QString MonthNames READ monthNames WRITE setMonthNames)
    Q_PROPERTY(QColor MarkColor1 READ markColor1 WRITE setMarkColor1)
    Q_PROPERTY(QColor MarkColor2 READ markColor2 WRITE setMarkColor2)
    Q_PROPERTY(QColor MarkColor3 READ markColor3 WRITE setMarkColor3)
    Q_PROPERTY(QColor MarkColor4 READ markColor4 WRITE setMarkColor4)
    Q_PROPERTY(QColor MarkColor5 READ markColor5 WRITE setMarkColor5)
    Q_PROPERTY(QColor MarkColor6 READ markColor6 WRITE setMarkColor6)
    Q_PROPERTY(QColor MarkColor7 READ markColor7 WRITE setMarkColor7)
    Q_PROPERTY(QColor MarkColor8 READ markColor8 WRITE setMarkColor8)
    Q_PROPERTY(QVariant MouseIcon READ mouseIcon WRITE setMouseIcon)
    Q_PROPERTY(QVariant MousePointer READ mousePointer WRITE setMousePointer)
    Q_PROPERTY(int HdnWidth READ width)
    Q_PROPERTY(int HdnHeight READ height)
    Q_PROPERTY(QColor LightColor READ lightColor WRITE setLightColor)
    Q_PROPERTY(QColor ShadeColor READ shadeColor WRITE setShadeColor)
    Q_PROPERTY(QColor BorderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(QColor DisabledColor READ disabledColor WRITE setDisabledColor)
    Q_PROPERTY(QVariant DatePosition READ datePosition WRITE setDatePosition)
    Q_PROPERTY(QString ToolTip READ toolTipText WRITE setToolTipText)
    Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(QVariant BorderStyle READ borderStyle WRITE setBorderStyle)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(bool designMode READ designMode WRITE setDesignMode)

public:
    // Writing a read-only property is refused with 383, reading one that is
    // not available at design time with 394.
    enum {
        ErrInvalidProperty = 380,
        ErrInvalidPicture = 481,
        ErrNotSupported = 383,
        ErrGetNotSupported = 394
    };

    explicit VxCalendar(QWidget* parent = nullptr);
    ~VxCalendar() override;

    // ---- properties
    QVariant dateType() const { return type_; }
    bool setDateType(const QVariant& v);
    QVariant date() const { return date_; }
    bool setDate(const QVariant& v);
    QVariant maxDate() const { return max_; }
    bool setMaxDate(const QVariant& v);
    QVariant minDate() const { return min_; }
    bool setMinDate(const QVariant& v);
    QVariant dayFrame() const { return dayFrame_; }
    bool setDayFrame(const QVariant& v);
    QVariant threeD() const { return threeD_; }
    bool setThreeD(const QVariant& v);
    QVariant day() const { return mdy_.day; }
    bool setDay(const QVariant& v);
    QVariant month() const { return mdy_.month; }
    bool setMonth(const QVariant& v);
    QVariant year() const { return mdy_.year; }
    bool setYear(const QVariant& v);
    QVariant weekday() const;
    QVariant daysInMonthValue() const;
    QVariant yearDayNumber() const;
    QVariant yearDaysLeft() const;
    bool setReadOnly(const QVariant&);
    QVariant scrollBar() const { return scrollBar_; }
    bool setScrollBar(const QVariant& v);
    QVariant firstDay() const { return firstDay_; }
    bool setFirstDay(const QVariant& v);
    QVariant getArrows() const { return getArrows_; }
    bool setGetArrows(const QVariant& v);
    QVariant focusFrame() const { return focusFrame_; }
    bool setFocusFrame(const QVariant& v);
    QString dayTitles() const { return dayTitles_; }
    void setDayTitles(const QString& t);
    QString monthNames() const { return monthNames_; }
    void setMonthNames(const QString& t);
    QColor markColor(int i) const { return marks_[size_t(i - 1)]; }
    void setMarkColor(int i, const QColor& c);
    QColor markColor1() const { return markColor(1); }
    QColor markColor2() const { return markColor(2); }
    QColor markColor3() const { return markColor(3); }
    QColor markColor4() const { return markColor(4); }
    QColor markColor5() const { return markColor(5); }
    QColor markColor6() const { return markColor(6); }
    QColor markColor7() const { return markColor(7); }
    QColor markColor8() const { return markColor(8); }
    void setMarkColor1(const QColor& c) { setMarkColor(1, c); }
    void setMarkColor2(const QColor& c) { setMarkColor(2, c); }
    void setMarkColor3(const QColor& c) { setMarkColor(3, c); }
    void setMarkColor4(const QColor& c) { setMarkColor(4, c); }
    void setMarkColor5(const QColor& c) { setMarkColor(5, c); }
    void setMarkColor6(const QColor& c) { setMarkColor(6, c); }
    void setMarkColor7(const QColor& c) { setMarkColor(7, c); }
    void setMarkColor8(const QColor& c) { setMarkColor(8, c); }
    QVariant mouseIcon() const { return mouseIconValue_; }
    bool setMouseIcon(const QVariant& v);
    QVariant mousePointer() const { return mousePointer_; }
    bool setMousePointer(const QVariant& v);
    QColor lightColor() const { return light_; }
    void setLightColor(const QColor& c);
    QColor shadeColor() const { return shade_; }
    void setShadeColor(const QColor& c);
    QColor borderColor() const { return borderColor_; }
    void setBorderColor(const QColor& c);
    QColor disabledColor() const { return disabledColor_; }
    void setDisabledColor(const QColor& c);
    QVariant datePosition() const { return datePosition_; }
    bool setDatePosition(const QVariant& v);
    QString toolTipText() const { return tipText_; }
    void setToolTipText(const QString& t);
    QColor backColor() const { return back_; }
    void setBackColor(const QColor& c);
    QColor foreColor() const { return fore_; }
    void setForeColor(const QColor& c);
    QVariant borderStyle() const { return borderStyle_; }
    bool setBorderStyle(const QVariant& v);
    // Stands for the container's user mode: at design time the derived
    // values and the marks are not available.
    bool designMode() const { return design_; }
    void setDesignMode(bool on) { design_ = on; }

    int lastErrorNumber() const { return refusals_.number(); }
    QString lastErrorMessage() const { return refusals_.message(); }

    // ---- marks and methods
    Q_INVOKABLE int MarkType(int index) const;
    Q_INVOKABLE bool setMarkType(int index, int value);
    Q_INVOKABLE double MDYtoDateTime(int month, int day, int year) const;
    Q_INVOKABLE QVariantList DateTimeToMDY(double julianDate) const; // month, day, year
    void DateTimeToMDY(double julianDate, short& month, short& day, short& year) const;
    Q_INVOKABLE int CalcDayOfWeek(int month, int day, int year) const;
    Q_INVOKABLE int CalcDaysInMonth(int month, int year) const;
    Q_INVOKABLE double AddMonth(double date, int increment) const;
    Q_INVOKABLE double AddYear(double date, int increment) const;
    Q_INVOKABLE void AboutBox();
    static std::function<void(QWidget*, const QString&)> aboutPresenter;

    // ---- layout (pixels) and hit testing
    QRect gridRect() const { return grid_; }
    int cellWidth() const { return cw_; }
    int cellHeight() const { return ch_; }
    QRect cellOfDay(int day) const;
    int dayAt(QPoint p) const; // 0 when no day is hit
    // The day in week row 0..5 and column 0..6 of the grid, 0 for an empty cell.
    int dayInCell(int row, int column) const;
    // The weekday title over a column.
    QString weekdayTitle(int column) const;
    // Selects a day of the shown month as a click on its cell does.
    void selectDay(int day);
    QScrollBar* scrollBarWidget() const { return bar_; }
    int tooltipState() const { return tipState_; }
    QWidget* tipWindow() const { return tip_; }

    // ---- persistence and design-time defaults
    QVariantMap saveProperties() const;
    void loadProperties(const QVariantMap& bag);
    static QString iniFile();
    // Applies the "VxCalendar Settings" of ZX4WIN.INI, key by key.
    void applyDesignDefaults(const QString& iniPath = iniFile());
    void saveDesignDefaults(const QString& iniPath = iniFile()) const;
    // Deletes the section, the rest of the file left as it was; false when
    // the file could not be written.
    static bool resetDesignDefaults(const QString& iniPath = iniFile());

    // What the title row shows: month name and year.
    QString titleText() const;

    QSize sizeHint() const override { return {134, 154}; }

signals:
    void Change();
    void Click();
    void DblClick();
    void KeyDown(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void KeyUp(int keyCode, int shift);
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void propertyRefused(int number, const QString& message);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void changeEvent(QEvent*) override;

private:
    bool refuse(int number, const QString& message) const {
        return refusals_.refuse(number, message);
    }
    // At design time the derived values cannot be read.
    bool readableNow() const;
    bool acceptBool(const QVariant& v, bool* out) const;
    bool acceptInt(const QVariant& v, int lo, int hi, int* out) const;
    bool takesArrow(const QKeyEvent* e) const;
    void recompute(); // derived values from date_
    void procedureA(int month, int day, int year);
    void procedureB(qint64 serial);
    void procedureC(int clickedDay);
    void stepMonths(int n);
    void stepYears(int n);
    void layoutGrid();
    void updateScrollBar();
    void onScrollAction(int action);
    void onScrollReleased();
    void parseTitles();
    void hideTip(int newState = 0);
    void showTip();
    void applyCursor();
    int offset() const;

    int type_ = TypeVB;
    int date_ = 0;
    int max_ = kMaxSerial[0];
    int min_ = kMinSerial[0];
    Mdy mdy_;
    Mdy shown_;
    int firstWeekday_ = 1;
    bool dayFrame_ = true;
    bool threeD_ = false;
    int scrollBar_ = 0;
    int firstDay_ = 1;
    bool getArrows_ = false;
    bool focusFrame_ = true;
    QString dayTitles_ = QStringLiteral("日 月 火 水 木 金 土");
    QString monthNames_ =
        QStringLiteral("一月 二月 三月 四月 五月 六月 七月 八月 九月 十月 十一月 十二月");
    QStringList dayItems_, monthItems_;
    std::array<QColor, 8> marks_;
    std::array<qint16, 32> markType_{};
    QVariant mouseIconValue_;
    QIcon mouseIcon_;
    int mousePointer_ = 0;
    QColor light_, shade_, borderColor_, disabledColor_, back_, fore_;
    int datePosition_ = 4;
    QString tipText_ = QStringLiteral("VxCal");
    int borderStyle_ = 1;
    bool design_ = false;
    mutable vx::common::Refusals refusals_;

    QRect grid_;
    int cw_ = 0, ch_ = 0;
    QScrollBar* bar_ = nullptr;
    int trackCount_ = 0;
    int tipState_ = 0;
    QTimer tipTimer_;
    QPointer<QWidget> tip_;
    bool wasEnabled_ = true;
};

} // namespace vxcal
