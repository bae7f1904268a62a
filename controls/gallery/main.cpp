// The control gallery: the command button in its styles and states, for
// people who reuse the control.

#include "vxcalendar.h"
#include "vxcalproppage.h"
#include "vxcmdbtn.h"
#include "vxcommon.h"
#include "vxdefaults.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QPixmap samplePicture(QColor c) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(c);
    p.setPen(Qt::black);
    p.drawEllipse(2, 2, 20, 20);
    return pm;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vx::common::installFontSubstitutes();
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 10));
    QWidget window;
    window.setWindowTitle(QStringLiteral("コントロール ギャラリー"));
    auto* layout = new QVBoxLayout(&window);
    auto* status = new QLabel(QStringLiteral("ボタンを押してください"));

    auto* buttons = new QGroupBox(QStringLiteral("VxCmdBtn"));
    auto* grid = new QGridLayout(buttons);
    auto add = [&](int row, int col, const QString& caption, auto setup) {
        auto* b = new vx::VxCmdBtn(caption);
        b->setMinimumSize(130, 56);
        setup(b);
        QObject::connect(b, &vx::VxCmdBtn::Click, status, [status, caption, b] {
            status->setText(QStringLiteral("Click: %1 (Value=%2)").arg(caption).arg(b->value()));
        });
        grid->addWidget(b, row, col);
        return b;
    };
    add(0, 0, QStringLiteral("標準"), [](vx::VxCmdBtn*) {});
    add(0, 1, QStringLiteral("四角の枠"), [](vx::VxCmdBtn* b) { b->setBorderStyle(2); });
    add(0, 2, QStringLiteral("枠なし"), [](vx::VxCmdBtn* b) { b->setBorderStyle(0); });
    add(0, 3, QStringLiteral("ベベル 5"), [](vx::VxCmdBtn* b) { b->setBevelWidth(5); });
    add(1, 0, QStringLiteral("トグル"), [](vx::VxCmdBtn* b) { b->setToggle(true); });
    add(1, 1, QStringLiteral("くぼみ文字"), [](vx::VxCmdBtn* b) {
        b->setChiselText(1);
        b->setChiselColor(Qt::white);
    });
    add(1, 2, QStringLiteral("浮き出し"), [](vx::VxCmdBtn* b) {
        b->setChiselText(2);
        b->setChiselColor(Qt::white);
    });
    add(1, 3, QStringLiteral("使用不可"), [](vx::VxCmdBtn* b) { b->setEnabled(false); });
    add(2, 0, QStringLiteral("上に文字"),
        [](vx::VxCmdBtn* b) { b->setPicture(samplePicture(Qt::red)); });
    add(2, 1, QStringLiteral("右に文字"), [](vx::VxCmdBtn* b) {
        b->setPicture(samplePicture(Qt::blue));
        b->setCaptionPosition(3);
    });
    add(2, 2, QStringLiteral("絵 (使用不可)"), [](vx::VxCmdBtn* b) {
        b->setPicture(samplePicture(Qt::darkGreen));
        b->setCaptionPosition(1);
        b->setEnabled(false);
    });
    add(2, 3, QStringLiteral("二行の~見出し"), [](vx::VxCmdBtn* b) { b->setMultiLine(1); });
    add(3, 0, QStringLiteral("ボタンバー"), [](vx::VxCmdBtn* b) { b->setStyle(1); });
    add(3, 1, QStringLiteral("ヒント付き"),
        [](vx::VxCmdBtn* b) { b->setToolTipText(QStringLiteral("ヒントの文です")); });
    add(3, 2, QStringLiteral("色付き"), [](vx::VxCmdBtn* b) {
        b->setBackColor(QColor(255, 230, 180));
        b->setForeColor(QColor(120, 40, 0));
    });
    auto* defaults = add(3, 3, QStringLiteral("既定値…"), [](vx::VxCmdBtn*) {});
    QObject::connect(defaults, &vx::VxCmdBtn::Click, &window, [&window] {
        vx::VxDefaultsDialog dialog(vx::VxDefaults::iniFile(), &window);
        dialog.exec();
    });
    layout->addWidget(buttons);

    auto* calendars = new QGroupBox(QStringLiteral("VxCalendar"));
    auto* row = new QHBoxLayout(calendars);
    auto* plain = new vxcal::VxCalendar;
    plain->setFixedSize(134, 154);
    auto* threeD = new vxcal::VxCalendar;
    threeD->setThreeD(true);
    threeD->setFirstDay(2);
    threeD->setScrollBar(1);
    threeD->setFixedSize(200, 200);
    threeD->setMarkColor(1, QColor(255, 220, 220));
    threeD->setMarkType(1, 1);
    threeD->setMarkType(15, 1);
    row->addWidget(plain);
    row->addWidget(threeD);
    for (vxcal::VxCalendar* c : {plain, threeD}) {
        QObject::connect(c, &vxcal::VxCalendar::Change, status, [status, c] {
            const QVariantList mdy = c->DateTimeToMDY(c->date().toDouble());
            status->setText(QStringLiteral("Change: %1/%2/%3")
                                .arg(mdy[2].toInt())
                                .arg(mdy[0].toInt(), 2, 10, QLatin1Char('0'))
                                .arg(mdy[1].toInt(), 2, 10, QLatin1Char('0')));
        });
    }
    auto* page = new vx::VxCmdBtn(QStringLiteral("プロパティ…"));
    QObject::connect(page, &vx::VxCmdBtn::Click, &window, [threeD, &window] {
        vxcal::VxCalPropPage dialog(*threeD, vxcal::VxCalendar::iniFile(), &window);
        dialog.exec();
    });
    row->addWidget(page);
    layout->addWidget(calendars);
    layout->addWidget(status);
    window.show();
    return app.exec();
}
