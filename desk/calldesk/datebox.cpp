#include "datebox.h"

#include "dateformat.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace desk {

DateBox::DateBox(QWidget* parent)
    : QWidget(parent) {
    auto* l = new QHBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("edit"));
    drop_ = new QToolButton(this);
    drop_->setObjectName(QStringLiteral("drop"));
    drop_->setArrowType(Qt::DownArrow);
    drop_->setFocusPolicy(Qt::NoFocus);
    // An arrow alone says nothing to a screen reader.
    drop_->setAccessibleName(QStringLiteral("カレンダー"));
    l->addWidget(edit_);
    l->addWidget(drop_);
    setFocusProxy(edit_);
    edit_->installEventFilter(this);
    connect(drop_, &QToolButton::clicked, this, &DateBox::showCalendar);
}

void DateBox::setFormats(const QString& display, const QString& calendarTitle) {
    display_ = display;
    titleFormat_ = calendarTitle;
    refresh();
}

void DateBox::setDate(const std::optional<QDate>& d) {
    const std::optional<QDate> valid = (d && d->isValid()) ? d : std::nullopt;
    const bool changed = valid != date_;
    date_ = valid;
    refresh();
    if (changed) {
        emit dateChanged();
    }
}

QString DateBox::text() const {
    return date_ ? core::dates::format(*date_, display_) : QString();
}

void DateBox::refresh() {
    edit_->setText(text());
    if (title_ && calendar_) {
        title_->setText(calendarTitle());
    }
}

QString DateBox::calendarTitle() const {
    const QDate shown = calendar_ ? QDate(calendar_->yearShown(), calendar_->monthShown(), 1)
                                  : date_.value_or(QDate::currentDate());
    return core::dates::format(shown, titleFormat_);
}

void DateBox::commitTyped() {
    const QString t = edit_->text().trimmed();
    if (t.isEmpty()) {
        setDate(std::nullopt);
        return;
    }
    if (t == text()) {
        return;
    }
    // Typed dates are read year first, as the rest of the desk writes them.
    if (auto when = core::dates::parseYearFirst(t)) {
        setDate(when->date());
    } else {
        refresh(); // not a date: the box keeps what it had
    }
}

bool DateBox::eventFilter(QObject* o, QEvent* e) {
    if (o == edit_ && e->type() == QEvent::FocusOut) {
        commitTyped();
    }
    if (o == edit_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Down && (k->modifiers() & Qt::AltModifier)) {
            showCalendar();
            return true;
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            commitTyped();
        }
    }
    return QWidget::eventFilter(o, e);
}

void DateBox::showCalendar() {
    if (!popup_) {
        popup_ = new QWidget(this, Qt::Popup);
        popup_->setObjectName(QStringLiteral("calendarPopup"));
        auto* v = new QVBoxLayout(popup_);
        v->setContentsMargins(2, 2, 2, 2);
        auto* head = new QHBoxLayout;
        auto* prev = new QToolButton(popup_);
        prev->setArrowType(Qt::LeftArrow);
        auto* next = new QToolButton(popup_);
        next->setArrowType(Qt::RightArrow);
        title_ = new QLabel(popup_);
        title_->setObjectName(QStringLiteral("calendarTitle"));
        title_->setAlignment(Qt::AlignCenter);
        head->addWidget(prev);
        head->addWidget(title_, 1);
        head->addWidget(next);
        v->addLayout(head);
        calendar_ = new QCalendarWidget(popup_);
        calendar_->setNavigationBarVisible(false);
        calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        v->addWidget(calendar_);
        connect(prev, &QToolButton::clicked, calendar_, &QCalendarWidget::showPreviousMonth);
        connect(next, &QToolButton::clicked, calendar_, &QCalendarWidget::showNextMonth);
        connect(calendar_, &QCalendarWidget::currentPageChanged, this,
                [this] { title_->setText(calendarTitle()); });
        connect(calendar_, &QCalendarWidget::clicked, this, [this](QDate d) {
            setDate(d);
            popup_->hide();
            edit_->setFocus();
        });
    }
    const QDate d = date_.value_or(QDate::currentDate());
    calendar_->setSelectedDate(d);
    calendar_->setCurrentPage(d.year(), d.month());
    title_->setText(calendarTitle());
    popup_->adjustSize();
    popup_->move(mapToGlobal(QPoint(0, height())));
    popup_->show();
}

TimeBox::TimeBox(QWidget* parent)
    : QWidget(parent) {
    auto* l = new QHBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("edit"));
    edit_->setPlaceholderText(QStringLiteral("hh:mm:ss"));
    l->addWidget(edit_);
    setFocusProxy(edit_);
    edit_->installEventFilter(this);
}

void TimeBox::setTime(const std::optional<QTime>& t) {
    const std::optional<QTime> valid =
        (t && t->isValid()) ? std::optional<QTime>(QTime(t->hour(), t->minute(), t->second()))
                            : std::nullopt;
    const bool changed = valid != time_;
    time_ = valid;
    edit_->setText(text());
    if (changed) {
        emit timeChanged();
    }
}

QString TimeBox::text() const {
    return time_ ? time_->toString(QStringLiteral("HH:mm:ss")) : QString();
}

void TimeBox::commitTyped() {
    const QString t = edit_->text().trimmed();
    if (t.isEmpty()) {
        setTime(std::nullopt);
        return;
    }
    if (auto when = core::dates::parseYearFirst(t);
        when && when->date() == core::dates::nullDate()) {
        setTime(when->time());
    } else {
        edit_->setText(text());
    }
}

bool TimeBox::eventFilter(QObject* o, QEvent* e) {
    if (o == edit_ &&
        (e->type() == QEvent::FocusOut ||
         (e->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Return ||
                                            static_cast<QKeyEvent*>(e)->key() == Qt::Key_Enter)))) {
        commitTyped();
    }
    return QWidget::eventFilter(o, e);
}

} // namespace desk
