#include "deskapp.h"

#include "frmmainmenu.h"
#include "screens.h"
#include "showmsg.h"
#include "startup.h"
#include "vxcommon.h"

#include <QApplication>
#include <QFont>

namespace ui {

void installJapaneseFonts() {
    vx::common::installFontSubstitutes();
    QFont base(QStringLiteral("IPAPGothic"));
    base.setPointSize(10);
    QApplication::setFont(base);
}

int startDesk(const core::Paths& paths, std::unique_ptr<FrmMainMenu>* menu) {
    QString error;
    if (!core::startUp(paths, &error)) {
        showNotice(QStringLiteral("RBCTI Pro"), error, core::MsgStyle::Warning);
        return 1;
    }
    screens().connectHistory();
    *menu = std::make_unique<FrmMainMenu>();
    (*menu)->show();
    return 0;
}

} // namespace ui
