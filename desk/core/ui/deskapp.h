#pragma once
// Start-up of the desk program: fix the paths, open the databases, bring
// the schema up to date, load the settings and show the main menu.

#include <QString>
#include <memory>

#include "paths.h"

namespace ui {

class FrmMainMenu;

// The MS fonts the screens name and the IPA fonts that stand in for them.
void installJapaneseFonts();

// 0 with the menu shown, or the status to end with after the engine's
// message has been shown.
int startDesk(const core::Paths& paths, std::unique_ptr<FrmMainMenu>* menu);

} // namespace ui
