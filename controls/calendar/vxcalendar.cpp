#include "vxcalendar.h"

#include "vxcalaccessible.h"
#include "vxcaltexts.h"
#include "vxcommon.h"
#include "vxini.h"
#include "vxkeys.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace vxcal {

std::function<void(QWidget*, const QString&)> VxCalendar::aboutPresenter =
    [](QWidget* p, const QString& t) { QMessageBox::about(p, QStringLiteral("VxCalendar"), t); };

namespace {

const QString kDays =
    QStringLiteral(" 1 2 3 4 5 6 7 8 910111213141516171819202122232425262728293031");
const QString kSection = QStringLiteral("VxCalendar Settings");

// Whole seconds of the last tooltip hidden by pointer movement, process-wide.
qint64& lastTipHide() {
    static qint64 s = 0;
    return s;
}

int monthIndex(const Mdy& d) {
    return d.year * 12 + d.month - 1;
}

using vx::common::vbButton;
using vx::common::vbShift;

} // namespace

VxCalendar::VxCalendar(QWidget* parent)
    : QWidget(parent)
    , refusals_([this](int n, const QString& m) { emit propertyRefused(n, m); },
                [this] { update(); }) {
    vx::common::installFontSubstitutes();
    installAccessibility();
    connect(this, &VxCalendar::Change, this, [this] { notifyAccessibleDate(this); });
    setFont(QFont(QStringLiteral("MS Pゴシック"), 9));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    const QPalette pal = QApplication::palette();
    light_ = pal.color(QPalette::Light);
    shade_ = pal.color(QPalette::Dark);
    borderColor_ = pal.color(QPalette::Shadow);
    disabledColor_ = pal.color(QPalette::Disabled, QPalette::Text);
    back_ = pal.color(QPalette::Base);
    fore_ = pal.color(QPalette::Text);
    marks_.fill(Qt::white);
    bar_ = new QScrollBar(this);
    bar_->hide();
    connect(bar_, &QScrollBar::actionTriggered, this, &VxCalendar::onScrollAction);
    connect(bar_, &QScrollBar::sliderReleased, this, &VxCalendar::onScrollReleased);
    tipTimer_.setSingleShot(true);
    connect(&tipTimer_, &QTimer::timeout, this, [this] {
        if (rect().contains(mapFromGlobal(QCursor::pos()))) {
            showTip();
        } else {
            tipState_ = 0;
        }
    });
    parseTitles();
    const QDate today = QDate::currentDate();
    date_ = serialOf(type_, today.month(), today.day(), today.year());
    recompute();
    shown_ = mdy_;
    resize(134, 154);
    layoutGrid();
    updateScrollBar();
}

VxCalendar::~VxCalendar() {
    delete tip_;
}

// ------------------------------------------------------------------ refusals

bool VxCalendar::acceptBool(const QVariant& v, bool* out) const {
    // Only 0, 1 and -1 (and true and false) are Booleans here, not the words.
    return vx::common::acceptBool(v, out, false);
}

bool VxCalendar::acceptInt(const QVariant& v, int lo, int hi, int* out) const {
    return vx::common::acceptInt(v, lo, hi, out);
}

// ------------------------------------------------------------------ dates

void VxCalendar::recompute() {
    mdy_ = mdyOf(type_, date_);
    firstWeekday_ = weekdayOf(type_, serialOf(type_, mdy_.month, 1, mdy_.year));
}

bool VxCalendar::readableNow() const {
    return !design_ || refuse(ErrGetNotSupported, text::kNotSupported);
}

QVariant VxCalendar::weekday() const {
    return readableNow() ? QVariant(weekdayOf(type_, date_)) : QVariant();
}
QVariant VxCalendar::daysInMonthValue() const {
    return readableNow() ? QVariant(vxcal::daysInMonth(mdy_.month, mdy_.year)) : QVariant();
}
QVariant VxCalendar::yearDayNumber() const {
    return readableNow() ? QVariant(date_ - serialOf(type_, 1, 1, mdy_.year) + 1) : QVariant();
}
QVariant VxCalendar::yearDaysLeft() const {
    return readableNow() ? QVariant(serialOf(type_, 12, 31, mdy_.year) - date_) : QVariant();
}
bool VxCalendar::setReadOnly(const QVariant&) {
    return refuse(ErrNotSupported, text::kNotSupported);
}

int VxCalendar::offset() const {
    return ((firstWeekday_ - firstDay_) % 7 + 7) % 7;
}

void VxCalendar::procedureA(int month, int day, int year) {
    const Mdy before = shown_;
    date_ = std::clamp(serialOf(type_, month, day, year), min_, max_);
    recompute();
    shown_ = mdy_;
    updateScrollBar();
    if (before.month == mdy_.month && before.year == mdy_.year && before.day == mdy_.day) {
        return;
    }
    if (before.month != mdy_.month || before.year != mdy_.year) {
        markType_.fill(markType_[0]);
    }
    emit Change();
    update();
}

void VxCalendar::procedureB(qint64 serial) {
    date_ = static_cast<int>(std::clamp<qint64>(serial, min_, max_));
    recompute();
    if (mdy_.month == shown_.month && mdy_.year == shown_.year && mdy_.day == shown_.day) {
        return;
    }
    if (mdy_.month != shown_.month || mdy_.year != shown_.year) {
        markType_.fill(markType_[0]);
        emit Change();
        shown_.month = mdy_.month;
        shown_.year = mdy_.year;
        update();
    } else {
        emit Change();
        if (dayFrame_) {
            update(cellOfDay(shown_.day).adjusted(-3, -3, 3, 3));
            update(cellOfDay(mdy_.day).adjusted(-3, -3, 3, 3));
        }
    }
    shown_.day = mdy_.day;
    updateScrollBar();
}

void VxCalendar::procedureC(int clickedDay) {
    const int serial = std::clamp(date_ + (clickedDay - shown_.day), min_, max_);
    if (serial == date_) {
        return;
    }
    const int old = shown_.day;
    date_ = serial;
    recompute();
    emit Change();
    if (dayFrame_) {
        update(cellOfDay(old).adjusted(-3, -3, 3, 3));
        update(cellOfDay(mdy_.day).adjusted(-3, -3, 3, 3));
    }
    shown_.day = mdy_.day;
}

void VxCalendar::stepMonths(int n) {
    const Mdy d = addMonths(mdy_, n);
    procedureA(d.month, d.day, d.year);
}

void VxCalendar::stepYears(int n) {
    const Mdy d = addYears(mdy_, n);
    procedureA(d.month, d.day, d.year);
}

bool VxCalendar::setDate(const QVariant& v) {
    int s;
    if (!acceptInt(v, min_, max_, &s)) {
        return refuse(ErrInvalidProperty, text::kDate);
    }
    if (s == date_) {
        return true;
    }
    date_ = s;
    recompute();
    shown_ = mdy_; // the marks stay as they are
    updateScrollBar();
    emit Change();
    update();
    return true;
}

bool VxCalendar::setMaxDate(const QVariant& v) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || d < min_) {
        return refuse(ErrInvalidProperty, text::kMaxDate);
    }
    max_ = static_cast<int>(std::clamp<double>(d, kMinSerial[type_], kMaxSerial[type_]));
    if (date_ >= d) {
        date_ = max_;
        recompute();
        shown_ = mdy_;
        emit Change(); // also when Date already was the maximum
        update();
    }
    updateScrollBar();
    return true;
}

bool VxCalendar::setMinDate(const QVariant& v) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || d > max_) {
        return refuse(ErrInvalidProperty, text::kMinDate);
    }
    min_ = static_cast<int>(std::clamp<double>(d, kMinSerial[type_], kMaxSerial[type_]));
    if (date_ <= d) {
        date_ = min_;
        recompute();
        shown_ = mdy_;
        emit Change();
        update();
    }
    updateScrollBar();
    return true;
}

bool VxCalendar::setDateType(const QVariant& v) {
    int t;
    if (!acceptInt(v, 0, 1, &t)) {
        return refuse(ErrInvalidProperty, text::kDateType);
    }
    const Mdy shown = mdy_;
    type_ = t;
    if (t == TypeNative) {
        if (max_ < kMinSerial[1] || max_ > kMaxSerial[1]) {
            if (!setMaxDate(std::clamp(max_, kMinSerial[1], kMaxSerial[1]))) {
                return false; // the type stays stored; the rest does not happen
            }
        }
        if (min_ < kMinSerial[1] || min_ > kMaxSerial[1]) {
            if (!setMinDate(std::clamp(min_, kMinSerial[1], kMaxSerial[1]))) {
                return false;
            }
        }
    } else {
        if (max_ == kMaxSerial[1]) {
            max_ = kMaxSerial[0];
        }
        if (min_ == kMinSerial[1]) {
            min_ = kMinSerial[0];
        }
    }
    date_ = std::clamp(serialOf(type_, shown.month, shown.day, shown.year), min_, max_);
    recompute();
    shown_ = mdy_;
    updateScrollBar();
    update();
    return true;
}

bool VxCalendar::setDay(const QVariant& v) {
    int n;
    if (!acceptInt(v, 1, vxcal::daysInMonth(mdy_.month, mdy_.year), &n)) {
        return refuse(ErrInvalidProperty, text::kDay);
    }
    procedureA(mdy_.month, n, mdy_.year);
    return true;
}

bool VxCalendar::setMonth(const QVariant& v) {
    int n;
    if (!acceptInt(v, 1, 12, &n)) {
        return refuse(ErrInvalidProperty, text::kMonth);
    }
    procedureA(n, mdy_.day, mdy_.year);
    return true;
}

bool VxCalendar::setYear(const QVariant& v) {
    int n;
    if (!acceptInt(v, 100, 9999, &n)) {
        return refuse(ErrInvalidProperty, text::kYear);
    }
    procedureA(mdy_.month, mdy_.day, n);
    return true;
}

// ------------------------------------------------------------------ other properties

bool VxCalendar::setDayFrame(const QVariant& v) {
    bool on;
    if (!acceptBool(v, &on)) {
        return refuse(ErrInvalidProperty, text::kDayFrame);
    }
    dayFrame_ = on;
    update(cellOfDay(mdy_.day).adjusted(-3, -3, 3, 3));
    return true;
}

bool VxCalendar::setThreeD(const QVariant& v) {
    bool on;
    if (!acceptBool(v, &on)) {
        return refuse(ErrInvalidProperty, text::kThreeD);
    }
    threeD_ = on;
    back_ = QApplication::palette().color(on ? QPalette::Button : QPalette::Base);
    layoutGrid();
    update();
    return true;
}

bool VxCalendar::setScrollBar(const QVariant& v) {
    int n;
    if (!acceptInt(v, 0, 2, &n)) {
        return refuse(ErrInvalidProperty, text::kScrollBar);
    }
    scrollBar_ = n;
    bar_->hide();
    bar_->setOrientation(n == 2 ? Qt::Vertical : Qt::Horizontal);
    updateScrollBar();
    layoutGrid();
    if (n != 0) {
        bar_->show();
    }
    update();
    return true;
}

bool VxCalendar::setFirstDay(const QVariant& v) {
    return refusals_.takeInt(v, 1, 7, text::kFirstDay, firstDay_);
}

bool VxCalendar::setGetArrows(const QVariant& v) {
    bool on;
    if (!acceptBool(v, &on)) {
        return refuse(ErrInvalidProperty, text::kGetArrows);
    }
    getArrows_ = on;
    return true;
}

bool VxCalendar::setFocusFrame(const QVariant& v) {
    return refusals_.takeBool(v, false, text::kFocusFrame, focusFrame_);
}

void VxCalendar::parseTitles() {
    // Items are the runs between single-byte blanks; missing ones are empty.
    auto split = [](const QString& s, int n) {
        QStringList items = s.split(QLatin1Char(' '), Qt::SkipEmptyParts).mid(0, n);
        while (items.size() < n) {
            items << QString();
        }
        return items;
    };
    dayItems_ = split(dayTitles_, 7);
    monthItems_ = split(monthNames_, 12);
}

void VxCalendar::setDayTitles(const QString& t) {
    dayTitles_ = t;
    parseTitles();
    update();
}

void VxCalendar::setMonthNames(const QString& t) {
    monthNames_ = t;
    parseTitles();
    update();
}

void VxCalendar::setMarkColor(int i, const QColor& c) {
    if (i >= 1 && i <= 8) {
        marks_[size_t(i - 1)] = c;
        update();
    }
}

bool VxCalendar::setMouseIcon(const QVariant& v) {
    QIcon icon;
    if (!vx::common::loadIcon(v, &icon)) {
        return refuse(ErrInvalidPicture, text::kMouseIcon);
    }
    mouseIcon_ = icon;
    mouseIconValue_ = icon.isNull() ? QVariant() : v;
    applyCursor();
    return true;
}

bool VxCalendar::setMousePointer(const QVariant& v) {
    if (!refusals_.takeInt(v, 0, 15, text::kMousePointer, mousePointer_, {99})) {
        return false;
    }
    applyCursor(); // at once, not at the next move of the pointer
    return true;
}

void VxCalendar::applyCursor() {
    if (mousePointer_ == 0) {
        unsetCursor();
    } else if (mousePointer_ == 15 || mousePointer_ == 99) {
        setCursor(mouseIcon_.isNull() ? QCursor(Qt::ArrowCursor)
                                      : QCursor(mouseIcon_.pixmap(32, 32)));
    } else {
        // The calendar's list has no arrow with question mark: its 14 is the
        // size-all pointer, the common table's 15.
        setCursor(vx::common::standardPointer(mousePointer_ == 14 ? 15 : mousePointer_));
    }
}

void VxCalendar::setLightColor(const QColor& c) {
    light_ = c;
    update();
}
void VxCalendar::setShadeColor(const QColor& c) {
    shade_ = c;
    update();
}
void VxCalendar::setBorderColor(const QColor& c) {
    borderColor_ = c;
    update();
}
void VxCalendar::setDisabledColor(const QColor& c) {
    disabledColor_ = c;
    if (!isEnabled()) {
        update();
    }
}
void VxCalendar::setBackColor(const QColor& c) {
    back_ = c;
    update();
}
void VxCalendar::setForeColor(const QColor& c) {
    fore_ = c;
    update();
}

bool VxCalendar::setDatePosition(const QVariant& v) {
    return refusals_.takeInt(v, 0, 9, text::kDatePosition, datePosition_);
}

void VxCalendar::setToolTipText(const QString& t) {
    tipText_ = t;
    hideTip();
}

bool VxCalendar::setBorderStyle(const QVariant& v) {
    int n;
    if (!acceptInt(v, -1, 1, &n)) {
        return refuse(ErrInvalidProperty, text::kBorderStyle);
    }
    borderStyle_ = n == 0 ? 0 : 1;
    layoutGrid();
    update();
    return true;
}

// ------------------------------------------------------------------ marks and methods

int VxCalendar::MarkType(int index) const {
    if (!readableNow() || index < 0 || index > vxcal::daysInMonth(mdy_.month, mdy_.year)) {
        return 0;
    }
    return markType_[size_t(index)];
}

bool VxCalendar::setMarkType(int index, int value) {
    if (design_) {
        return refuse(ErrNotSupported, text::kNotSupported);
    }
    if (index == 0) {
        markType_.fill(static_cast<qint16>(value));
        update();
        return true;
    }
    if (index < 1 || index > vxcal::daysInMonth(mdy_.month, mdy_.year)) {
        return refuse(ErrInvalidProperty, text::kMarkDay);
    }
    if (value > 8) {
        return refuse(ErrInvalidProperty, text::kMarkType);
    }
    markType_[size_t(index)] = static_cast<qint16>(value);
    update(cellOfDay(index));
    return true;
}

double VxCalendar::MDYtoDateTime(int month, int day, int year) const {
    const int y = widenYear(year);
    return isValid(month, day, y) ? serialOf(type_, month, day, y) : 0;
}

void VxCalendar::DateTimeToMDY(double julianDate, short& month, short& day, short& year) const {
    const Mdy d = mdyOf(type_, static_cast<int>(julianDate)); // cut toward zero
    month = static_cast<short>(d.month);
    day = static_cast<short>(d.day);
    year = static_cast<short>(d.year);
}

QVariantList VxCalendar::DateTimeToMDY(double julianDate) const {
    short m, d, y;
    DateTimeToMDY(julianDate, m, d, y);
    return {int(m), int(d), int(y)};
}

int VxCalendar::CalcDayOfWeek(int month, int day, int year) const {
    const int y = widenYear(year);
    return isValid(month, day, y) ? weekdayOf(type_, serialOf(type_, month, day, y)) : 0;
}

int VxCalendar::CalcDaysInMonth(int month, int year) const {
    return vxcal::daysInMonth(month, year);
}

double VxCalendar::AddMonth(double date, int increment) const {
    const Mdy d = addMonths(mdyOf(type_, static_cast<int>(date)), increment);
    return serialOf(type_, d.month, d.day, d.year);
}

double VxCalendar::AddYear(double date, int increment) const {
    const Mdy d = addYears(mdyOf(type_, static_cast<int>(date)), increment);
    return serialOf(type_, d.month, d.day, d.year);
}

void VxCalendar::AboutBox() {
    if (aboutPresenter) {
        aboutPresenter(this, QStringLiteral("VxCalendar カレンダー\nVXCAL32 (Qt %1)")
                                 .arg(QString::fromLatin1(qVersion())));
    }
}

// ------------------------------------------------------------------ layout

void VxCalendar::layoutGrid() {
    int w = width(), h = height();
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (scrollBar_ == 1) {
        h -= extent + 2;
        bar_->setGeometry(0, height() - extent, width(), extent);
    } else if (scrollBar_ == 2) {
        w -= extent + 2;
        bar_->setGeometry(width() - extent, 0, extent, height());
    }
    const int b = borderStyle_, t = threeD_ ? 2 : 0;
    const int uw = w - 6 - 2 * b - 2 * t;
    const int uh = h - 10 - 2 * b - 2 * t;
    cw_ = std::max(0, uw / 7);
    ch_ = std::max(0, uh / 8);
    const int left = b + t + 3 + (uw - 7 * cw_) / 2;
    const int top = b + t + 5 + (uh - 8 * ch_) / 2;
    grid_ = QRect(QPoint(left, top), QPoint(left + 7 * cw_, top + 8 * ch_));
}

QRect VxCalendar::cellOfDay(int day) const {
    const int p = offset() + day - 1;
    const int row = p / 7 + 2, col = p % 7;
    return QRect(grid_.left() + col * cw_, grid_.top() + row * ch_, cw_, ch_);
}

int VxCalendar::dayAt(QPoint p) const {
    if (cw_ <= 0 || ch_ <= 0 || p.x() < grid_.left() || p.y() < grid_.top() ||
        p.x() >= grid_.right() || p.y() >= grid_.bottom()) {
        return 0;
    }
    const int col = (p.x() - grid_.left()) / cw_;
    const int row = (p.y() - grid_.top()) / ch_ - 2;
    if (row < 0) {
        return 0;
    }
    const int d = 7 * row + col + 1 - offset();
    return d >= 1 && d <= vxcal::daysInMonth(mdy_.month, mdy_.year) ? d : 0;
}

int VxCalendar::dayInCell(int row, int column) const {
    const int d = 7 * row + column + 1 - offset();
    return row >= 0 && row < 6 && column >= 0 && column < 7 && d >= 1 &&
                   d <= vxcal::daysInMonth(mdy_.month, mdy_.year)
               ? d
               : 0;
}

QString VxCalendar::weekdayTitle(int column) const {
    return column >= 0 && column < 7 ? dayItems_.value((firstDay_ - 1 + column) % 7) : QString();
}

void VxCalendar::selectDay(int day) {
    if (isEnabled() && day >= 1 && day <= vxcal::daysInMonth(mdy_.month, mdy_.year)) {
        procedureC(day);
    }
}

void VxCalendar::resizeEvent(QResizeEvent*) {
    layoutGrid();
}

// ------------------------------------------------------------------ scroll bar

void VxCalendar::updateScrollBar() {
    const int minIndex = monthIndex(mdyOf(type_, min_));
    const int diff = monthIndex(mdyOf(type_, max_)) - minIndex;
    int pos = monthIndex(shown_) - minIndex;
    if (diff > 32767) {
        pos = static_cast<int>(qint64(pos) * 32768 / diff);
    }
    const QSignalBlocker block(bar_);
    bar_->setRange(0, std::min(diff, 32767));
    bar_->setSingleStep(1);
    bar_->setPageStep(12);
    bar_->setValue(pos);
}

void VxCalendar::onScrollAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        stepMonths(-1);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        stepMonths(1);
        break;
    case QAbstractSlider::SliderPageStepSub:
        stepYears(-1);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        stepYears(1);
        break;
    case QAbstractSlider::SliderMove:
        ++trackCount_;
        return; // tracking only counts
    default:
        return;
    }
    // The bar shows where procedure A put the month, not where it moved itself.
    QTimer::singleShot(0, this, [this] { updateScrollBar(); });
}

void VxCalendar::onScrollReleased() {
    const int count = trackCount_;
    trackCount_ = 0;
    if (count == 1) {
        updateScrollBar();
        return;
    }
    const int minIndex = monthIndex(mdyOf(type_, min_));
    const int diff = monthIndex(mdyOf(type_, max_)) - minIndex;
    int q = bar_->sliderPosition();
    if (diff > 32767) {
        q = static_cast<int>(qint64(q) * diff / 32768);
    }
    const int index = minIndex + q;
    const int y = index / 12, m = index % 12 + 1;
    const int d = mdy_.day > 28 ? std::min(mdy_.day, vxcal::daysInMonth(m, y)) : mdy_.day;
    procedureA(m, d, y);
    updateScrollBar();
}

// ------------------------------------------------------------------ drawing

void VxCalendar::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    QRect r = rect();
    if (scrollBar_ == 1) {
        r.setHeight(r.height() - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2);
    } else if (scrollBar_ == 2) {
        r.setWidth(r.width() - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2);
    }
    const QRect outer = r;
    auto raised = [&](QRect f, bool sunken) {
        p.setPen(sunken ? shade_ : light_);
        p.drawLine(f.topLeft(), f.topRight());
        p.drawLine(f.topLeft(), f.bottomLeft());
        p.setPen(sunken ? light_ : shade_);
        p.drawLine(f.bottomLeft(), f.bottomRight());
        p.drawLine(f.topRight(), f.bottomRight());
    };
    // 1-2. background and the raised frames
    p.setFont(font());
    if (threeD_) {
        if (borderStyle_ != 0) {
            r.adjust(1, 1, -1, -1);
        }
        p.fillRect(r, back_);
        raised(r, false);
        r.adjust(1, 1, -1, -1);
        raised(r, false);
        r.adjust(1, 1, -1, -1);
    } else {
        p.fillRect(r, back_);
    }
    // 3. focus frame: every second pixel of the edges in the complement
    if (isEnabled() && focusFrame_ && hasFocus()) {
        const QRect f = rect().adjusted(2, 2, -3, -3);
        const QColor inv(255 - back_.red(), 255 - back_.green(), 255 - back_.blue());
        p.setPen(inv);
        for (int x = f.left(); x <= f.right(); x += 2) {
            p.drawPoint(x, f.top());
            p.drawPoint(x, f.bottom());
        }
        for (int y = f.top(); y <= f.bottom(); y += 2) {
            p.drawPoint(f.left(), y);
            p.drawPoint(f.right(), y);
        }
    }
    const QRect titleRow(grid_.left(), grid_.top(), 7 * cw_, ch_);
    // 4. title
    if (e->rect().intersects(titleRow)) {
        p.setPen(fore_);
        p.drawText(titleRow, Qt::AlignCenter | Qt::TextSingleLine, titleText());
        if (threeD_) {
            raised(titleRow.adjusted(0, 0, -1, -1), true);
        }
    }
    // 5. grid lines
    if (!threeD_) {
        p.setPen(QColor(128, 128, 128));
        for (int i = 2; i <= 8; ++i) {
            const int y = grid_.top() + i * ch_ - 1;
            p.drawLine(grid_.left() - 1, y, grid_.left() - 1 + 7 * cw_ - 1, y);
        }
        for (int j = 0; j <= 7; ++j) {
            const int x = grid_.left() + j * cw_ - 1;
            p.drawLine(x, grid_.top() + 2 * ch_ - 1, x, grid_.top() + 2 * ch_ - 1 + 6 * ch_);
        }
    }
    // 6. weekday titles
    const QRect titlesRow(grid_.left(), grid_.top() + ch_, 7 * cw_, ch_);
    if (e->rect().intersects(titlesRow)) {
        p.setPen(fore_);
        for (int c = 0; c < 7; ++c) {
            p.drawText(QRect(grid_.left() + c * cw_, grid_.top() + ch_, cw_, ch_), Qt::AlignCenter,
                       weekdayTitle(c));
        }
    }
    // 7-9. days
    const QFontMetrics fm(font());
    const QSize digits = fm.size(Qt::TextSingleLine, QStringLiteral("30"));
    const int dim = vxcal::daysInMonth(mdy_.month, mdy_.year);
    for (int d = 1; d <= dim; ++d) {
        QRect cell = cellOfDay(d);
        if (!e->rect().intersects(cell.adjusted(-3, -3, 3, 3))) {
            continue;
        }
        QRect inner = cell;
        if (threeD_) {
            inner.adjust(1, 1, -1, -1);
            raised(inner.adjusted(0, 0, -1, -1), true);
            inner.adjust(1, 1, -1, -1);
        }
        const int mark = markType_[size_t(d)];
        if (mark >= 1 && mark <= 8) {
            p.fillRect(threeD_ ? inner : cell.adjusted(0, 0, -1, -1), marks_[size_t(mark - 1)]);
        }
        if (datePosition_ != 9) {
            QRect t = threeD_ ? inner : cell.adjusted(0, 0, -1, -1);
            const int col = datePosition_ % 3, row = datePosition_ / 3;
            int flags = Qt::TextSingleLine;
            flags |= col == 0 ? Qt::AlignLeft : col == 1 ? Qt::AlignHCenter : Qt::AlignRight;
            flags |= row == 0 ? Qt::AlignTop : row == 1 ? Qt::AlignVCenter : Qt::AlignBottom;
            if (col == 1) {
                t.adjust(-1, 0, 0, 0);
            } else if (t.width() > digits.width() + 4) {
                t.adjust(1, 0, -2, 0);
            } else {
                t.adjust(-1, 0, 0, 0);
            }
            if (t.height() < digits.height() + 4) {
                if (row == 0) {
                    t.translate(0, -2);
                } else if (row == 2) {
                    t.translate(0, 2);
                }
            }
            p.setPen(isEnabled() ? fore_ : disabledColor_);
            p.drawText(t, flags, kDays.mid(2 * (d - 1), 2));
        }
        if (dayFrame_ && d == mdy_.day) {
            p.setPen(Qt::black);
            p.setBrush(Qt::NoBrush);
            if (!threeD_) {
                p.drawRect(cell.adjusted(0, 0, -1, -1));
                p.drawRect(cell.adjusted(-2, -2, 1, 1));
            } else {
                p.drawRect(inner.adjusted(-3, -3, 2, 2));
                p.drawRect(inner.adjusted(-4, -4, 3, 3));
            }
        }
    }
    // 10. border
    if (borderStyle_ != 0) {
        p.setPen(borderColor_);
        p.setBrush(Qt::NoBrush);
        p.drawRect(outer.adjusted(0, 0, -1, -1));
    }
    // 11. a control that has just become disabled hands the focus on
    if (isEnabled() != wasEnabled_) {
        wasEnabled_ = isEnabled();
        if (!wasEnabled_ && hasFocus()) {
            focusNextChild();
        }
    }
}

// ------------------------------------------------------------------ keys and mouse

bool VxCalendar::takesArrow(const QKeyEvent* e) const {
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return getArrows_ || (e->modifiers() & Qt::ControlModifier);
    default:
        return true;
    }
}

void VxCalendar::keyPressEvent(QKeyEvent* e) {
    hideTip();
    if (!takesArrow(e)) {
        // The arrow stays with the container, which moves the focus: the
        // control fires nothing for it.
        e->ignore();
        return;
    }
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    bool handled = true;
    switch (e->key()) {
    case Qt::Key_PageUp:
        if (ctrl) {
            procedureA(mdy_.month, mdy_.day, mdy_.year - 1); // 29 February lands on 1 March
        } else {
            stepMonths(-1);
        }
        break;
    case Qt::Key_PageDown:
        if (ctrl) {
            procedureA(mdy_.month, mdy_.day, mdy_.year + 1);
        } else {
            stepMonths(1);
        }
        break;
    case Qt::Key_End:
        procedureA(mdy_.month, vxcal::daysInMonth(mdy_.month, mdy_.year), mdy_.year);
        break;
    case Qt::Key_Home:
        if (ctrl) {
            const QDate t = QDate::currentDate();
            procedureA(t.month(), t.day(), t.year());
        } else {
            procedureA(mdy_.month, 1, mdy_.year);
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: {
        const int step = e->key() == Qt::Key_Left    ? -1
                         : e->key() == Qt::Key_Up    ? -7
                         : e->key() == Qt::Key_Right ? 1
                                                     : 7;
        procedureB(qint64(date_) + step);
        break;
    }
    default:
        handled = false;
        break;
    }
    if (const int code = vx::common::keyCode(e)) {
        emit KeyDown(code, vbShift(e->modifiers()));
    }
    if (const int ascii = vx::common::keyAscii(e)) {
        emit KeyPress(ascii);
    }
    if (!handled) {
        e->ignore();
    }
}

void VxCalendar::keyReleaseEvent(QKeyEvent* e) {
    if (takesArrow(e)) {
        if (const int code = vx::common::keyCode(e)) {
            emit KeyUp(code, vbShift(e->modifiers()));
        }
    }
    e->ignore();
}

void VxCalendar::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        hideTip(3);
        if (const int d = dayAt(e->position().toPoint())) {
            procedureC(d);
        }
    } else if (e->button() == Qt::RightButton) {
        hideTip();
    }
    emit MouseDown(vbButton(e->button()), vbShift(e->modifiers()), e->position().x(),
                   e->position().y());
}

void VxCalendar::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        hideTip();
    }
    emit MouseUp(vbButton(e->button()), vbShift(e->modifiers()), e->position().x(),
                 e->position().y());
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
        emit Click();
    }
}

void VxCalendar::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        emit DblClick();
    }
}

void VxCalendar::mouseMoveEvent(QMouseEvent* e) {
    emit MouseMove(vbButton(e->buttons()), vbShift(e->modifiers()), e->position().x(),
                   e->position().y());
    if (!isEnabled() || design_) {
        return;
    }
    if (tipState_ == 0 && !tipText_.isEmpty()) {
        const bool recent = QDateTime::currentSecsSinceEpoch() - lastTipHide() < 1;
        tipTimer_.start(recent ? 250 : 1000);
        tipState_ = 1;
    } else if (tipState_ == 2) {
        hideTip(3);
        lastTipHide() = QDateTime::currentSecsSinceEpoch();
    }
}

void VxCalendar::leaveEvent(QEvent*) {
    hideTip(0);
}
void VxCalendar::focusInEvent(QFocusEvent*) {
    update();
}
void VxCalendar::focusOutEvent(QFocusEvent*) {
    hideTip();
    update();
}
void VxCalendar::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) {
        layoutGrid();
    }
    if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(e);
}

// ------------------------------------------------------------------ tooltip

void VxCalendar::showTip() {
    tip_ = vx::common::showTipBox(tipText_, QStringLiteral("VxCalTip"), this);
    tipState_ = 2;
}

void VxCalendar::hideTip(int newState) {
    tipTimer_.stop();
    delete tip_;
    tipState_ = newState;
}

// ------------------------------------------------------------------ persistence

QVariantMap VxCalendar::saveProperties() const {
    QVariantMap b;
    b["BorderStyle"] = borderStyle_;
    b["DateType"] = type_;
    b["DatePosition"] = datePosition_;
    b["Date"] = date_;
    b["MaxDate"] = max_;
    b["MinDate"] = min_;
    b["DayFrame"] = dayFrame_;
    b["ThreeD"] = threeD_;
    b["ScrollBar"] = scrollBar_;
    b["FirstDay"] = firstDay_;
    b["GetArrows"] = getArrows_;
    b["FocusFrame"] = focusFrame_;
    b["DayTitles"] = dayTitles_;
    b["MonthNames"] = monthNames_;
    b["ToolTip"] = tipText_;
    b["LightColor"] = light_;
    b["ShadeColor"] = shade_;
    b["BorderColor"] = borderColor_;
    b["DisabledColor"] = disabledColor_;
    for (int i = 1; i <= 8; ++i) {
        b[QStringLiteral("MarkColor%1").arg(i)] = marks_[size_t(i - 1)];
    }
    b["MousePointer"] = mousePointer_;
    b["MouseIcon"] = mouseIconValue_;
    b["MaxMonths"] = monthIndex(mdyOf(type_, max_));
    b["MinMonths"] = monthIndex(mdyOf(type_, min_));
    b["BackColor"] = back_;
    b["ForeColor"] = fore_;
    b["Enabled"] = isEnabled();
    b["Version"] = QStringLiteral("4.1");
    return b;
}

void VxCalendar::loadProperties(const QVariantMap& b) {
    auto num = [&](const char* k, int def) { return b.contains(k) ? b.value(k).toInt() : def; };
    type_ = std::clamp(num("DateType", 0), 0, 1);
    min_ = std::clamp(num("MinDate", kMinSerial[type_]), kMinSerial[type_], kMaxSerial[type_]);
    max_ = std::clamp(num("MaxDate", kMaxSerial[type_]), min_, kMaxSerial[type_]);
    date_ = std::clamp(num("Date", date_), min_, max_);
    borderStyle_ = num("BorderStyle", 1) == 0 ? 0 : 1;
    datePosition_ = std::clamp(num("DatePosition", 4), 0, 9);
    dayFrame_ = b.value("DayFrame", true).toBool();
    threeD_ = b.value("ThreeD", false).toBool();
    scrollBar_ = std::clamp(num("ScrollBar", 0), 0, 2);
    firstDay_ = std::clamp(num("FirstDay", 1), 1, 7);
    getArrows_ = b.value("GetArrows", false).toBool();
    focusFrame_ = b.value("FocusFrame", true).toBool();
    dayTitles_ = b.value("DayTitles", dayTitles_).toString();
    monthNames_ = b.value("MonthNames", monthNames_).toString();
    tipText_ = b.value("ToolTip", tipText_).toString();
    auto color = [&](const char* k, QColor& c) {
        const QColor v = b.value(k).value<QColor>();
        if (v.isValid()) {
            c = v;
        }
    };
    color("LightColor", light_);
    color("ShadeColor", shade_);
    color("BorderColor", borderColor_);
    color("DisabledColor", disabledColor_);
    color("BackColor", back_);
    color("ForeColor", fore_);
    for (int i = 1; i <= 8; ++i) {
        color(QStringLiteral("MarkColor%1").arg(i).toLatin1().constData(), marks_[size_t(i - 1)]);
    }
    mousePointer_ = num("MousePointer", 0);
    if (!setMouseIcon(b.value("MouseIcon"))) {
        setMouseIcon(QVariant()); // a picture that fails to load is dropped
    }
    if (b.contains("Enabled")) {
        setEnabled(b.value("Enabled").toBool());
    }
    // Marks are not saved; everything derived is recomputed.
    markType_.fill(0);
    parseTitles();
    recompute();
    shown_ = mdy_;
    setScrollBar(scrollBar_);
    applyCursor();
    layoutGrid();
    update();
}

QString VxCalendar::iniFile() {
    return vx::common::defaultsFilePath();
}

void VxCalendar::applyDesignDefaults(const QString& iniPath) {
    const vx::common::IniFile ini(iniPath);
    const QString& S = kSection;
    const QString titles = ini.value(S, "DayTitles");
    if (!titles.isEmpty()) {
        dayTitles_ = titles;
    }
    const QString names = ini.value(S, "MonthNames");
    if (!names.isEmpty()) {
        monthNames_ = names;
    }
    type_ = ini.intValue(S, "DateType", 0, 1, 0);
    min_ = ini.intValue(S, "MinDate", kMinSerial[type_], kMaxSerial[type_], kMinSerial[type_]);
    max_ = ini.intValue(S, "MaxDate", min_, kMaxSerial[type_], kMaxSerial[type_]);
    dayFrame_ = ini.boolValue(S, "DayFrame", true);
    threeD_ = ini.boolValue(S, "ThreeD", false);
    firstDay_ = ini.intValue(S, "FirstDay", 1, 7, 1);
    getArrows_ = ini.boolValue(S, "GetArrows", false);
    focusFrame_ = ini.boolValue(S, "FocusFrame", true);
    for (int i = 0; i < 8; ++i) {
        marks_[size_t(i)] = ini.colorValue(S, QStringLiteral("MarkColor%1").arg(i), Qt::white);
    }
    borderStyle_ = ini.intValue(S, "BorderStyle", 0, 1, 1);
    const QString face = ini.value(S, "FontName");
    QFont f(face.isEmpty() ? QStringLiteral("MS Pゴシック") : face);
    f.setPointSizeF(ini.doubleValue(S, "FontSize", 1, 200, 9));
    f.setBold(ini.boolValue(S, "FontBold", false));
    f.setItalic(ini.boolValue(S, "FontItalic", false));
    f.setUnderline(ini.boolValue(S, "FontUnderline", false));
    f.setStrikeOut(ini.boolValue(S, "FontStrikeout", false));
    setFont(f);
    const QPalette pal = QApplication::palette();
    back_ = ini.colorValue(S, "BackColor", pal.color(QPalette::Base));
    fore_ = ini.colorValue(S, "ForeColor", pal.color(QPalette::Text));
    mousePointer_ = ini.intValue(S, "MousePointer", 0, 15, 0, {99});
    light_ = ini.colorValue(S, "LightColor", pal.color(QPalette::Light));
    shade_ = ini.colorValue(S, "ShadeColor", pal.color(QPalette::Dark));
    borderColor_ = ini.colorValue(S, "BorderColor", pal.color(QPalette::Shadow));
    disabledColor_ =
        ini.colorValue(S, "DisabledColor", pal.color(QPalette::Disabled, QPalette::Text));
    datePosition_ = ini.intValue(S, "DatePosition", 0, 9, 4);
    resize(ini.intValue(S, "Width", 1, 10000, 134), ini.intValue(S, "Height", 1, 10000, 154));
    markType_.fill(0);
    const QDate today = QDate::currentDate();
    date_ = std::clamp(serialOf(type_, today.month(), today.day(), today.year()), min_, max_);
    parseTitles();
    recompute();
    shown_ = mdy_;
    setScrollBar(ini.intValue(S, "ScrollBar", 0, 2, 0));
    applyCursor();
}

void VxCalendar::saveDesignDefaults(const QString& iniPath) const {
    vx::common::IniFile ini(iniPath);
    const QString& S = kSection;
    ini.setValue(S, "DayTitles", dayTitles_);
    ini.setValue(S, "MonthNames", monthNames_);
    ini.setValue(S, "ScrollBar", scrollBar_);
    ini.setValue(S, "DateType", type_);
    ini.setValue(S, "MaxDate", max_);
    ini.setValue(S, "MinDate", min_);
    ini.setValue(S, "DayFrame", dayFrame_ ? 1 : 0);
    ini.setValue(S, "ThreeD", threeD_ ? 1 : 0);
    ini.setValue(S, "FirstDay", firstDay_);
    ini.setValue(S, "GetArrows", getArrows_ ? 1 : 0);
    ini.setValue(S, "FocusFrame", focusFrame_ ? 1 : 0);
    for (int i = 0; i < 8; ++i) {
        ini.setColor(S, QStringLiteral("MarkColor%1").arg(i), marks_[size_t(i)]);
    }
    ini.setValue(S, "BorderStyle", borderStyle_);
    ini.setValue(S, "Height", height());
    ini.setValue(S, "Width", width());
    ini.setValue(S, "FontName", font().family());
    ini.setValue(S, "FontSize", QString::number(font().pointSizeF(), 'g', 7));
    ini.setValue(S, "FontBold", font().bold() ? 1 : 0);
    ini.setValue(S, "FontItalic", font().italic() ? 1 : 0);
    ini.setValue(S, "FontUnderline", font().underline() ? 1 : 0);
    ini.setValue(S, "FontStrikeout", font().strikeOut() ? 1 : 0);
    ini.setColor(S, "BackColor", back_);
    ini.setColor(S, "ForeColor", fore_);
    ini.setValue(S, "MousePointer", mousePointer_);
    ini.setColor(S, "LightColor", light_);
    ini.setColor(S, "ShadeColor", shade_);
    ini.setColor(S, "BorderColor", borderColor_);
    ini.setColor(S, "DisabledColor", disabledColor_);
    ini.setValue(S, "DatePosition", datePosition_);
    ini.save();
}

bool VxCalendar::resetDesignDefaults(const QString& iniPath) {
    vx::common::IniFile ini(iniPath);
    return !ini.removeSection(kSection) || ini.save();
}

QString VxCalendar::titleText() const {
    return QStringLiteral("%1 %2")
        .arg(monthItems_.value(mdy_.month - 1))
        .arg(mdy_.year, 4, 10, QLatin1Char('0'));
}

} // namespace vxcal
