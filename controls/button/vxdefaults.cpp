#include "vxdefaults.h"

#include "vxcmdbtn.h"
#include "vxcommon.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>

namespace vx {
namespace {

const QString kSection = QStringLiteral("VxCmd Settings");

int intKey(const QSettings& s, const QString& key, int lo, int hi, int fallback,
           const QList<int>& extra = {}) {
    bool ok = false;
    const int v = s.value(key).toString().trimmed().toInt(&ok);
    return ok && ((v >= lo && v <= hi) || extra.contains(v)) ? v : fallback;
}

bool boolKey(const QSettings& s, const QString& key, bool fallback) {
    const QString v = s.value(key).toString().trimmed().toLower();
    if (v == QLatin1String("true") || v == QLatin1String("1") || v == QLatin1String("-1")) {
        return true;
    }
    if (v == QLatin1String("false") || v == QLatin1String("0")) {
        return false;
    }
    return fallback;
}

QColor colorKey(const QSettings& s, const QString& key, const QColor& fallback) {
    return common::colorFromText(s.value(key).toString(), fallback);
}

using common::colorText;

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
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/ZX4WIN.INI");
}

VxDefaults VxDefaults::load(const QString& iniPath) {
    const VxDefaults f = factory();
    VxDefaults d = f;
    QSettings s(iniPath, QSettings::IniFormat);
    s.beginGroup(kSection);
    d.BevelWidth = intKey(s, "BevelWidth", 0, 10, f.BevelWidth);
    d.BorderStyle = intKey(s, "BorderStyle", 0, 2, f.BorderStyle);
    d.ButtonState = intKey(s, "ButtonState", 0, 1, f.ButtonState);
    d.CaptionPosition = intKey(s, "CaptionPosition", 0, 4, f.CaptionPosition);
    d.ChiselText = intKey(s, "ChiselText", 0, 2, f.ChiselText);
    d.MouseFocus = boolKey(s, "MouseFocus", f.MouseFocus);
    d.MultiLine = intKey(s, "MultiLine", 0, 3, f.MultiLine);
    d.SizePicture = boolKey(s, "SizePicture", f.SizePicture);
    d.Toggle = boolKey(s, "Toggle", f.Toggle);
    {
        bool ok = false;
        const double z = s.value("ZoomFactor").toString().trimmed().toDouble(&ok);
        d.ZoomFactor = ok && z >= 0 && z <= 100 ? z : f.ZoomFactor;
    }
    d.Style = intKey(s, "Style", 0, 1, f.Style);
    d.ChiselColor = colorKey(s, "ChiselColor", f.ChiselColor);
    d.BorderColor = colorKey(s, "BorderColor", f.BorderColor);
    d.DisabledColor = colorKey(s, "DisabledColor", f.DisabledColor);
    d.LightColor = colorKey(s, "LightColor", f.LightColor);
    d.ShadeColor = colorKey(s, "ShadeColor", f.ShadeColor);
    d.BackColor = colorKey(s, "BackColor", f.BackColor);
    d.ForeColor = colorKey(s, "ForeColor", f.ForeColor);
    d.MousePointer = intKey(s, "MousePointer", 0, 15, f.MousePointer, {99});
    {
        const QString name = s.value("Font Name").toString().trimmed();
        d.FontName = name.isEmpty() || name.size() > 64 ? f.FontName : name;
        bool ok = false;
        const double size = s.value("Font Size").toString().trimmed().toDouble(&ok);
        d.FontSize = ok && size >= 1 && size <= 200 ? size : f.FontSize;
    }
    d.FontBold = boolKey(s, "Font Bold", f.FontBold);
    d.FontItalic = boolKey(s, "Font Italic", f.FontItalic);
    d.FontUnderline = boolKey(s, "Font Underline", f.FontUnderline);
    d.FontStrikethru = boolKey(s, "Font Strikethru", f.FontStrikethru);
    d.Height = intKey(s, "Height", 1, 10000, f.Height);
    d.Width = intKey(s, "Width", 1, 10000, f.Width);
    return d;
}

bool VxDefaults::save(const QString& iniPath) const {
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
    QSettings s(iniPath, QSettings::IniFormat);
    s.beginGroup(kSection);
    s.setValue("BevelWidth", BevelWidth);
    s.setValue("BorderStyle", BorderStyle);
    s.setValue("ButtonState", ButtonState);
    s.setValue("CaptionPosition", CaptionPosition);
    s.setValue("ChiselText", ChiselText);
    s.setValue("MouseFocus", MouseFocus ? "True" : "False");
    s.setValue("MultiLine", MultiLine);
    s.setValue("SizePicture", SizePicture ? "True" : "False");
    s.setValue("Toggle", Toggle ? "True" : "False");
    s.setValue("ZoomFactor", QString::number(ZoomFactor));
    s.setValue("Style", Style);
    s.setValue("ChiselColor", colorText(ChiselColor));
    s.setValue("BorderColor", colorText(BorderColor));
    s.setValue("DisabledColor", colorText(DisabledColor));
    s.setValue("LightColor", colorText(LightColor));
    s.setValue("ShadeColor", colorText(ShadeColor));
    s.setValue("BackColor", colorText(BackColor));
    s.setValue("ForeColor", colorText(ForeColor));
    s.setValue("MousePointer", MousePointer);
    s.setValue("Font Name", FontName);
    s.setValue("Font Size", QString::number(FontSize));
    s.setValue("Font Bold", FontBold ? "True" : "False");
    s.setValue("Font Italic", FontItalic ? "True" : "False");
    s.setValue("Font Underline", FontUnderline ? "True" : "False");
    s.setValue("Font Strikethru", FontStrikethru ? "True" : "False");
    s.setValue("Height", Height);
    s.setValue("Width", Width);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}

void VxDefaults::reset(const QString& iniPath) {
    QSettings s(iniPath, QSettings::IniFormat);
    s.remove(kSection);
    s.sync();
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
    VxDefaults::reset(iniPath_);
    display(VxDefaults::factory());
}

} // namespace vx
