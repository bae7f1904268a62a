#pragma once
// FrmMainMenu: the main menu. Opens the five screens and ends the program.

#include <QLabel>
#include <QWidget>

#include "vxcmdbtn.h"

namespace ui {

class FrmMainMenu : public QWidget {
    Q_OBJECT
public:
    explicit FrmMainMenu(QWidget* parent = nullptr);

    // The screen each menu button opens.
    static QString screenOf(const QString& buttonName);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    vx::VxCmdBtn* addButton(const QString& name, const QString& caption);
    bool closing_ = false;
};

} // namespace ui
