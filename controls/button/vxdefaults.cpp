#include "vxdefaults.h"

#include "vxcmdbtn.h"
#include "vxini.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace vx {
namespace {

const QString kSection = QStringLiteral("VxCmd Settings");

QString boolText(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

VxDefaults VxDefaults::factory() {
    VxDefaults d;
    const QPalette pal = QApplication::palette();
    d.LightColor = d.ChiselColor = pal.color(QPalette::Active, QPalette::Light);
    d.ShadeColor = pal.color(QPalette::Active, QPalette::Dark);
    d.BorderColor = pal.color(QPalette::Active, QPalette::Shadow);
    d.DisabledColor = pal.color(QPalette::Disabled, QPalette::Text);
    d.BackColor = pal.color(QPalette::Active, QPalette::Button);
    d.ForeColor = pal.color(QPalette::Active, QPalette::ButtonText);
    return d;
}

QString VxDefaults::iniFile() {
    return common::defaultsFilePath();
}

VxDefaults VxDefaults::load(const QString& iniPath) {
    const VxDefaults f = factory();
    VxDefaults d = f;
    const common::IniFile ini(iniPath);
    const QString& S = kSection;
    d.BevelWidth = ini.intValue(S, "BevelWidth", 0, 10, f.BevelWidth);
    d.BorderStyle = ini.intValue(S, "BorderStyle", 0, 2, f.BorderStyle);
    d.ButtonState = ini.intValue(S, "ButtonState", 0, 1, f.ButtonState);
    d.CaptionPosition = ini.intValue(S, "CaptionPosition", 0, 4, f.CaptionPosition);
    d.ChiselText = ini.intValue(S, "ChiselText", 0, 2, f.ChiselText);
    d.MouseFocus = ini.boolValue(S, "MouseFocus", f.MouseFocus);
    d.MultiLine = ini.intValue(S, "MultiLine", 0, 3, f.MultiLine);
    d.SizePicture = ini.boolValue(S, "SizePicture", f.SizePicture);
    d.Toggle = ini.boolValue(S, "Toggle", f.Toggle);
    d.ZoomFactor = ini.doubleValue(S, "ZoomFactor", 0, 100, f.ZoomFactor);
    d.Style = ini.intValue(S, "Style", 0, 1, f.Style);
    d.ChiselColor = ini.colorValue(S, "ChiselColor", f.ChiselColor);
    d.BorderColor = ini.colorValue(S, "BorderColor", f.BorderColor);
    d.DisabledColor = ini.colorValue(S, "DisabledColor", f.DisabledColor);
    d.LightColor = ini.colorValue(S, "LightColor", f.LightColor);
    d.ShadeColor = ini.colorValue(S, "ShadeColor", f.ShadeColor);
    d.BackColor = ini.colorValue(S, "BackColor", f.BackColor);
    d.ForeColor = ini.colorValue(S, "ForeColor", f.ForeColor);
    d.MousePointer = ini.intValue(S, "MousePointer", 0, 15, f.MousePointer, {99});
    const QString name = ini.value(S, "Font Name");
    d.FontName = name.isEmpty() || name.size() > 64 ? f.FontName : name;
    d.FontSize = ini.doubleValue(S, "Font Size", 1, 200, f.FontSize);
    d.FontBold = ini.boolValue(S, "Font Bold", f.FontBold);
    d.FontItalic = ini.boolValue(S, "Font Italic", f.FontItalic);
    d.FontUnderline = ini.boolValue(S, "Font Underline", f.FontUnderline);
    d.FontStrikethru = ini.boolValue(S, "Font Strikethru", f.FontStrikethru);
    d.Height = ini.intValue(S, "Height", 1, 10000, f.Height);
    d.Width = ini.intValue(S, "Width", 1, 10000, f.Width);
    return d;
}

bool VxDefaults::save(const QString& iniPath) const {
    common::IniFile ini(iniPath);
    const QString& S = kSection;
    ini.setValue(S, "BevelWidth", BevelWidth);
    ini.setValue(S, "BorderStyle", BorderStyle);
    ini.setValue(S, "ButtonState", ButtonState);
    ini.setValue(S, "CaptionPosition", CaptionPosition);
    ini.setValue(S, "ChiselText", ChiselText);
    ini.setValue(S, "MouseFocus", boolText(MouseFocus));
    ini.setValue(S, "MultiLine", MultiLine);
    ini.setValue(S, "SizePicture", boolText(SizePicture));
    ini.setValue(S, "Toggle", boolText(Toggle));
    ini.setValue(S, "ZoomFactor", QString::number(ZoomFactor));
    ini.setValue(S, "Style", Style);
    ini.setColor(S, "ChiselColor", ChiselColor);
    ini.setColor(S, "BorderColor", BorderColor);
    ini.setColor(S, "DisabledColor", DisabledColor);
    ini.setColor(S, "LightColor", LightColor);
    ini.setColor(S, "ShadeColor", ShadeColor);
    ini.setColor(S, "BackColor", BackColor);
    ini.setColor(S, "ForeColor", ForeColor);
    ini.setValue(S, "MousePointer", MousePointer);
    ini.setValue(S, "Font Name", FontName);
    ini.setValue(S, "Font Size", QString::number(FontSize));
    ini.setValue(S, "Font Bold", boolText(FontBold));
    ini.setValue(S, "Font Italic", boolText(FontItalic));
    ini.setValue(S, "Font Underline", boolText(FontUnderline));
    ini.setValue(S, "Font Strikethru", boolText(FontStrikethru));
    ini.setValue(S, "Height", Height);
    ini.setValue(S, "Width", Width);
    return ini.save();
}

bool VxDefaults::reset(const QString& iniPath) {
    common::IniFile ini(iniPath);
    // Nothing to delete is as good as deleted.
    return !ini.removeSection(kSection) || ini.save();
}

void VxDefaults::applyTo(VxCmdBtn& b) const {
    b.setBevelWidth(BevelWidth);
    b.setBorderStyle(BorderStyle);
    b.setButtonState(ButtonState);
    b.setCaptionPosition(CaptionPosition);
    b.setChiselText(ChiselText);
    b.setMouseFocus(MouseFocus);
    b.setMultiLine(MultiLine);
    b.setSizePicture(SizePicture);
    b.setToggle(Toggle);
    b.setZoomFactor(ZoomFactor);
    b.setStyle(Style);
    b.setChiselColor(ChiselColor);
    b.setBorderColor(BorderColor);
    b.setDisabledColor(DisabledColor);
    b.setLightColor(LightColor);
    b.setShadeColor(ShadeColor);
    b.setBackColor(BackColor);
    b.setForeColor(ForeColor);
    b.setMousePointer(MousePointer);
    QFont f(FontName);
    f.setPointSizeF(FontSize);
    f.setBold(FontBold);
    f.setItalic(FontItalic);
    f.setUnderline(FontUnderline);
    f.setStrikeOut(FontStrikethru);
    b.setFont(f);
    b.resize(Width, Height);
}

VxDefaultsDialog::VxDefaultsDialog(const QString& iniPath, QWidget* parent)
    : QDialog(parent)
    , iniPath_(iniPath) {
    setWindowTitle(QStringLiteral("VxCmd Settings"));
    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    auto spin = [&](const char* name, int lo, int hi) {
        auto* s = new QSpinBox;
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(lo, hi);
        form->addRow(QString::fromLatin1(name), s);
        return s;
    };
    spin("BevelWidth", 0, 10);
    spin("BorderStyle", 0, 2);
    spin("CaptionPosition", 0, 4);
    spin("ChiselText", 0, 2);
    spin("MultiLine", 0, 3);
    spin("Style", 0, 1);
    auto* zoom = new QDoubleSpinBox;
    zoom->setObjectName("ZoomFactor");
    zoom->setRange(0, 100);
    form->addRow("ZoomFactor", zoom);
    for (const char* name : {"Toggle", "MouseFocus", "SizePicture"}) {
        auto* c = new QCheckBox;
        c->setObjectName(QString::fromLatin1(name));
        form->addRow(QString::fromLatin1(name), c);
    }
    tabs->addTab(page, QStringLiteral("全般"));
    auto* buttons = new QDialogButtonBox;
    auto* save = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole);
    save->setObjectName("cmdSave");
    auto* reset = buttons->addButton(QStringLiteral("リセット"), QDialogButtonBox::ResetRole);
    reset->setObjectName("cmdReset");
    auto* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    connect(save, &QPushButton::clicked, this, &VxDefaultsDialog::saveValues);
    connect(reset, &QPushButton::clicked, this, &VxDefaultsDialog::resetValues);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    display(VxDefaults::load(iniPath_));
}

void VxDefaultsDialog::display(const VxDefaults& d) {
    current_ = d;
    findChild<QSpinBox*>("BevelWidth")->setValue(d.BevelWidth);
    findChild<QSpinBox*>("BorderStyle")->setValue(d.BorderStyle);
    findChild<QSpinBox*>("CaptionPosition")->setValue(d.CaptionPosition);
    findChild<QSpinBox*>("ChiselText")->setValue(d.ChiselText);
    findChild<QSpinBox*>("MultiLine")->setValue(d.MultiLine);
    findChild<QSpinBox*>("Style")->setValue(d.Style);
    findChild<QDoubleSpinBox*>("ZoomFactor")->setValue(d.ZoomFactor);
    findChild<QCheckBox*>("Toggle")->setChecked(d.Toggle);
    findChild<QCheckBox*>("MouseFocus")->setChecked(d.MouseFocus);
    findChild<QCheckBox*>("SizePicture")->setChecked(d.SizePicture);
}

VxDefaults VxDefaultsDialog::values() const {
    VxDefaults d = current_;
    d.BevelWidth = findChild<QSpinBox*>("BevelWidth")->value();
    d.BorderStyle = findChild<QSpinBox*>("BorderStyle")->value();
    d.CaptionPosition = findChild<QSpinBox*>("CaptionPosition")->value();
    d.ChiselText = findChild<QSpinBox*>("ChiselText")->value();
    d.MultiLine = findChild<QSpinBox*>("MultiLine")->value();
    d.Style = findChild<QSpinBox*>("Style")->value();
    d.ZoomFactor = findChild<QDoubleSpinBox*>("ZoomFactor")->value();
    d.Toggle = findChild<QCheckBox*>("Toggle")->isChecked();
    d.MouseFocus = findChild<QCheckBox*>("MouseFocus")->isChecked();
    d.SizePicture = findChild<QCheckBox*>("SizePicture")->isChecked();
    return d;
}

void VxDefaultsDialog::saveValues() {
    values().save(iniPath_);
}

void VxDefaultsDialog::resetValues() {
    if (VxDefaults::reset(iniPath_)) {
        display(VxDefaults::factory());
    }
}

} // namespace vx
