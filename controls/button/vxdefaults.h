#pragma once
// The design-time defaults of new buttons, kept in "ZX4WIN.INI", section
// "VxCmd Settings", in the user's configuration directory. Saving or
// resetting touches only that section of the file.

#include <QColor>
#include <QDialog>
#include <QString>

#include "vxglobal.h"

namespace vx {

class VxCmdBtn;

struct VXCMD_EXPORT VxDefaults {
    int BevelWidth = 2;
    int BorderStyle = 1;
    int ButtonState = 1;
    int CaptionPosition = 0;
    int ChiselText = 0;
    bool MouseFocus = true;
    int MultiLine = 0;
    bool SizePicture = false;
    bool Toggle = false;
    double ZoomFactor = 1.0;
    int Style = 0;
    QColor ChiselColor, BorderColor, DisabledColor, LightColor, ShadeColor, BackColor, ForeColor;
    int MousePointer = 0;
    QString FontName = QStringLiteral("ＭＳ Ｐゴシック");
    double FontSize = 9;
    bool FontBold = false, FontItalic = false, FontUnderline = false, FontStrikethru = false;
    int Height = 25;
    int Width = 75;

    // The factory defaults (colours from the system palette).
    static VxDefaults factory();
    // Reads the file; every key that is missing or out of range keeps its
    // factory value.
    static VxDefaults load(const QString& iniPath = iniFile());
    bool save(const QString& iniPath = iniFile()) const;
    // Deletes the section, leaving the rest of the file as it was: new
    // buttons start from the factory again. False when the file could not
    // be written.
    static bool reset(const QString& iniPath = iniFile());
    static QString iniFile();

    void applyTo(VxCmdBtn& button) const;
};

// The small dialog that edits the defaults: 保存 stores, リセット restores
// the factory values.
class VXCMD_EXPORT VxDefaultsDialog : public QDialog {
    Q_OBJECT
public:
    explicit VxDefaultsDialog(const QString& iniPath = VxDefaults::iniFile(),
                              QWidget* parent = nullptr);
    VxDefaults values() const;

public slots:
    void saveValues();
    void resetValues();

private:
    void display(const VxDefaults& d);
    QString iniPath_;
    VxDefaults current_;
};

} // namespace vx
