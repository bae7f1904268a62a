#pragma once
// The calendar's property page "全般": its settings, the design-time
// defaults file (保存, リセット) and the about box (製品情報).

#include <QDialog>

#include "vxcalendar.h"

class QComboBox;
class QLineEdit;
class QCheckBox;
class QSpinBox;
class QButtonGroup;

namespace vxcal {

class VXCAL_EXPORT VxCalPropPage : public QDialog {
    Q_OBJECT
public:
    VxCalPropPage(VxCalendar& calendar, const QString& iniPath = VxCalendar::iniFile(),
                  QWidget* parent = nullptr);

    // Puts the page's values on the calendar.
    void apply();
    void save();
    void reset();

private:
    void load();
    int dateOf(QSpinBox* const* mdy) const;
    void setDateBoxes(QSpinBox* const* mdy, int serial);
    VxCalendar& cal_;
    QString ini_;
    QComboBox *type_, *firstDay_, *scrollBar_, *pointer_, *border_;
    QLineEdit *dayTitles_, *monthNames_, *toolTip_;
    QCheckBox *dayFrame_, *threeD_, *getArrows_, *focusFrame_, *enabled_;
    QSpinBox* date_[3];
    QSpinBox* min_[3];
    QSpinBox* max_[3];
    QButtonGroup* position_;
};

} // namespace vxcal
