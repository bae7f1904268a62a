#pragma once
// Date and time boxes that may be empty. The date box shows the era or the
// Gregorian pattern of its screen and drops down a month calendar whose
// title uses the matching month pattern. Reused by the list screens.

#include <QDate>
#include <QTime>
#include <QWidget>
#include <optional>

class QLineEdit;
class QToolButton;
class QCalendarWidget;
class QLabel;

namespace desk {

class DateBox : public QWidget {
    Q_OBJECT
public:
    explicit DateBox(QWidget* parent = nullptr);

    std::optional<QDate> date() const { return date_; }
    void setDate(const std::optional<QDate>& d);
    void clear() { setDate(std::nullopt); }
    bool isEmpty() const { return !date_.has_value(); }

    // e.g. "ggg ee年mm月dd日" and "ggg ee年 mm月", or "yy/mm/dd" and "yyyy年 mm月".
    void setFormats(const QString& display, const QString& calendarTitle);
    QString text() const;
    // The typed text could not be read as a date: it stays in the box,
    // marked, and the box keeps the focus until it is mended or emptied.
    bool refused() const { return refused_; }

    // The drop-down calendar (created on first use).
    void showCalendar();
    QCalendarWidget* calendar() const { return calendar_; }
    QString calendarTitle() const;

signals:
    void dateChanged();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void commitTyped();
    void refresh();
    QLineEdit* edit_;
    QToolButton* drop_;
    QWidget* popup_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
    QLabel* title_ = nullptr;
    void setRefused(bool on);
    std::optional<QDate> date_;
    bool refused_ = false;
    QString display_ = QStringLiteral("yyyy/mm/dd");
    QString titleFormat_ = QStringLiteral("yyyy年 mm月");
};

class TimeBox : public QWidget {
    Q_OBJECT
public:
    explicit TimeBox(QWidget* parent = nullptr);
    std::optional<QTime> time() const { return time_; }
    void setTime(const std::optional<QTime>& t);
    void clear() { setTime(std::nullopt); }
    bool isEmpty() const { return !time_.has_value(); }
    QString text() const;

signals:
    void timeChanged();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void commitTyped();
    QLineEdit* edit_;
    std::optional<QTime> time_;
};

} // namespace desk
