#include "vxcalproppage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

namespace vxcal {

VxCalPropPage::VxCalPropPage(VxCalendar& calendar, const QString& iniPath, QWidget* parent)
    : QDialog(parent)
    , cal_(calendar)
    , ini_(iniPath) {
    setWindowTitle(QStringLiteral("VxCalendar プロパティ"));
    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    auto combo = [&](const char* name, const QStringList& items) {
        auto* c = new QComboBox;
        c->setObjectName(QString::fromLatin1(name));
        c->addItems(items);
        form->addRow(QString::fromLatin1(name), c);
        return c;
    };
    type_ = combo("DateType", {"0 - VBasic", "1 - Native"});
    firstDay_ = combo("FirstDay", {"1 - 日曜日", "2 - 月曜日", "3 - 火曜日", "4 - 水曜日",
                                   "5 - 木曜日", "6 - 金曜日", "7 - 土曜日"});
    scrollBar_ = combo("ScrollBar", {"0 - なし", "1 - 水平", "2 - 垂直"});
    QStringList pointers;
    for (int i = 0; i <= 15; ++i) {
        pointers << QString::number(i);
    }
    pointers << "99";
    pointer_ = combo("MousePointer", pointers);
    border_ = combo("BorderStyle", {"0 - なし", "1 - 固定（実線）"});
    auto edit = [&](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(name));
        form->addRow(QString::fromLatin1(name), e);
        return e;
    };
    dayTitles_ = edit("DayTitles");
    monthNames_ = edit("MonthNames");
    toolTip_ = edit("ToolTip");
    auto dateRow = [&](const char* name, QSpinBox** boxes) {
        auto* row = new QHBoxLayout;
        const int ranges[3][2] = {{1, 12}, {1, 31}, {100, 9999}};
        for (int i = 0; i < 3; ++i) {
            boxes[i] = new QSpinBox;
            boxes[i]->setRange(ranges[i][0], ranges[i][1]);
            boxes[i]->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(i));
            row->addWidget(boxes[i]);
        }
        form->addRow(QString::fromLatin1(name), row);
    };
    dateRow("Date", date_);
    dateRow("MinDate", min_);
    dateRow("MaxDate", max_);
    auto check = [&](const char* name) {
        auto* c = new QCheckBox(QString::fromLatin1(name));
        c->setObjectName(QString::fromLatin1(name));
        form->addRow(c);
        return c;
    };
    dayFrame_ = check("DayFrame");
    threeD_ = check("ThreeD");
    getArrows_ = check("GetArrows");
    focusFrame_ = check("FocusFrame");
    enabled_ = check("Enabled");
    position_ = new QButtonGroup(this);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 9; ++i) {
        auto* b = new QRadioButton;
        position_->addButton(b, i);
        grid->addWidget(b, i / 3, i % 3);
    }
    auto* none = new QRadioButton(QStringLiteral("No Display"));
    position_->addButton(none, 9);
    grid->addWidget(none, 3, 0, 1, 3);
    form->addRow(QStringLiteral("DatePosition"), grid);
    // Choosing a date type sets the bounds of that type.
    connect(type_, &QComboBox::currentIndexChanged, this, [this](int t) {
        setDateBoxes(min_, t == 0 ? serialOf(0, 1, 1, 1753) : serialOf(1, 1, 1, 1900));
        setDateBoxes(max_, t == 0 ? serialOf(0, 12, 31, 2078) : kMaxSerial[1]);
    });
    tabs->addTab(page, QStringLiteral("全般"));
    auto* buttons = new QHBoxLayout;
    for (auto [name, caption] : {std::pair{"cmdSave", "保存"},
                                 {"cmdReset", "リセット"},
                                 {"cmdAbout", "製品情報"},
                                 {"cmdOk", "OK"}}) {
        auto* b = new QPushButton(QString::fromUtf8(caption));
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
    }
    connect(findChild<QPushButton*>("cmdSave"), &QPushButton::clicked, this, &VxCalPropPage::save);
    connect(findChild<QPushButton*>("cmdReset"), &QPushButton::clicked, this,
            &VxCalPropPage::reset);
    connect(findChild<QPushButton*>("cmdAbout"), &QPushButton::clicked, &cal_,
            &VxCalendar::AboutBox);
    connect(findChild<QPushButton*>("cmdOk"), &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    load();
}

void VxCalPropPage::setDateBoxes(QSpinBox* const* mdy, int serial) {
    const Mdy d = mdyOf(type_->currentIndex(), serial);
    mdy[0]->setValue(d.month);
    mdy[1]->setValue(d.day);
    mdy[2]->setValue(d.year);
}

int VxCalPropPage::dateOf(QSpinBox* const* mdy) const {
    return serialOf(type_->currentIndex(), mdy[0]->value(), mdy[1]->value(), mdy[2]->value());
}

void VxCalPropPage::load() {
    const QSignalBlocker block(type_);
    type_->setCurrentIndex(cal_.dateType().toInt());
    firstDay_->setCurrentIndex(cal_.firstDay().toInt() - 1);
    scrollBar_->setCurrentIndex(cal_.scrollBar().toInt());
    const int mp = cal_.mousePointer().toInt();
    pointer_->setCurrentIndex(mp == 99 ? 16 : mp);
    border_->setCurrentIndex(cal_.borderStyle().toInt());
    dayTitles_->setText(cal_.dayTitles());
    monthNames_->setText(cal_.monthNames());
    toolTip_->setText(cal_.toolTipText());
    setDateBoxes(date_, cal_.date().toInt());
    setDateBoxes(min_, cal_.minDate().toInt());
    setDateBoxes(max_, cal_.maxDate().toInt());
    dayFrame_->setChecked(cal_.dayFrame().toBool());
    threeD_->setChecked(cal_.threeD().toBool());
    getArrows_->setChecked(cal_.getArrows().toBool());
    focusFrame_->setChecked(cal_.focusFrame().toBool());
    enabled_->setChecked(cal_.isEnabled());
    position_->button(cal_.datePosition().toInt())->setChecked(true);
}

void VxCalPropPage::apply() {
    cal_.setDateType(type_->currentIndex());
    cal_.setMinDate(kMinSerial[type_->currentIndex()]);
    cal_.setMaxDate(dateOf(max_));
    cal_.setMinDate(dateOf(min_));
    cal_.setDate(dateOf(date_));
    cal_.setFirstDay(firstDay_->currentIndex() + 1);
    cal_.setScrollBar(scrollBar_->currentIndex());
    cal_.setMousePointer(pointer_->currentIndex() == 16 ? 99 : pointer_->currentIndex());
    cal_.setBorderStyle(border_->currentIndex());
    cal_.setDayTitles(dayTitles_->text());
    cal_.setMonthNames(monthNames_->text());
    cal_.setToolTipText(toolTip_->text());
    cal_.setDayFrame(dayFrame_->isChecked());
    cal_.setThreeD(threeD_->isChecked());
    cal_.setGetArrows(getArrows_->isChecked());
    cal_.setFocusFrame(focusFrame_->isChecked());
    cal_.setEnabled(enabled_->isChecked());
    cal_.setDatePosition(position_->checkedId());
}

void VxCalPropPage::save() {
    apply();
    cal_.saveDesignDefaults(ini_);
}

void VxCalPropPage::reset() {
    if (!VxCalendar::resetDesignDefaults(ini_)) {
        return; // the page keeps what it shows
    }
    VxCalendar factory;
    factory.applyDesignDefaults(ini_);
    dayTitles_->setText(factory.dayTitles());
    monthNames_->setText(factory.monthNames());
    position_->button(4)->setChecked(true);
    type_->setCurrentIndex(0);
    firstDay_->setCurrentIndex(0);
    scrollBar_->setCurrentIndex(0);
    border_->setCurrentIndex(1);
    dayFrame_->setChecked(true);
    threeD_->setChecked(false);
    getArrows_->setChecked(false);
    focusFrame_->setChecked(true);
}

} // namespace vxcal
