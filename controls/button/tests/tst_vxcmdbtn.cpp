#include <QAccessible>
#include <QBuffer>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "vxcmdbtn.h"
#include "vxdefaults.h"
#include "vxtexts.h"

#include <QStringEncoder>

using vx::VxCmdBtn;

namespace {

QByteArray imageBytes(const QImage& img, const char* format) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format);
    return bytes;
}

QImage solid(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// A record source that notes what it was asked and answers as told.
struct FakeSource : vx::DataSource {
    QStringList calls;
    Result answer = Result::Ok;
    Result note(const char* what) {
        calls << what;
        return answer;
    }
    Result addNew() override { return note("addNew"); }
    Result remove() override { return note("remove"); }
    Result update() override { return note("update"); }
    Result moveToBookmark(const QByteArray& b) override {
        return note(b.isEmpty() ? "bookmark" : b.constData());
    }
    Result moveFirst() override { return note("first"); }
    Result moveLast() override { return note("last"); }
    Result moveNext() override { return note("next"); }
    Result movePrevious() override { return note("previous"); }
};

// A button with fixed colours on a container of a known colour.
struct Rig {
    QWidget host;
    VxCmdBtn* b;
    Rig() {
        QPalette pal = host.palette();
        pal.setColor(QPalette::Window, QColor(0, 128, 0));
        host.setPalette(pal);
        host.setAutoFillBackground(true);
        host.resize(200, 100);
        b = new VxCmdBtn(&host);
        b->setGeometry(10, 10, 100, 40);
        b->setBackColor(QColor(200, 200, 200));
        b->setForeColor(Qt::black);
        b->setBorderColor(Qt::black);
        b->setLightColor(Qt::white);
        b->setShadeColor(QColor(100, 100, 100));
    }
    QImage image() { return b->grab().toImage(); }
    void showActive() {
        host.show();
        QApplication::setActiveWindow(&host);
        QVERIFY(QTest::qWaitForWindowActive(&host));
    }
};

} // namespace

class TestVxCmdBtn : public QObject {
    Q_OBJECT
private slots:
    void refusals_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("message");
        using namespace vx::text;
        QTest::newRow("bevel 11") << "BevelWidth" << QVariant(11) << 380 << kBevelWidth;
        QTest::newRow("bevel -1") << "BevelWidth" << QVariant(-1) << 380 << kBevelWidth;
        QTest::newRow("bevel text") << "BevelWidth" << QVariant("wide") << 380 << kBevelWidth;
        QTest::newRow("toggle 2") << "Toggle" << QVariant(2) << 380 << kToggle;
        QTest::newRow("toggle text") << "Toggle" << QVariant("yes") << 380 << kToggle;
        QTest::newRow("zoom negative") << "ZoomFactor" << QVariant(-0.5) << 380 << kZoomFactor;
        QTest::newRow("caption 5") << "CaptionPosition" << QVariant(5) << 380 << kCaptionPosition;
        QTest::newRow("caption -1") << "CaptionPosition" << QVariant(-1) << 380 << kCaptionPosition;
        QTest::newRow("rounded 3") << "RoundedCorners" << QVariant(3) << 380 << kRoundedCorners;
        QTest::newRow("border text") << "Border" << QVariant("x") << 380 << kBorder;
        QTest::newRow("color source 2") << "ColorSource" << QVariant(2) << 380 << kColorSource;
        QTest::newRow("size picture 5") << "SizePicture" << QVariant(5) << 380 << kSizePicture;
        QTest::newRow("mouse focus text") << "MouseFocus" << QVariant("on") << 380 << kMouseFocus;
        QTest::newRow("data method 9") << "DataMethod" << QVariant(9) << 380 << kDataMethod;
        QTest::newRow("multi line 4") << "MultiLine" << QVariant(4) << 380 << kMultiLine;
        QTest::newRow("chisel 3") << "ChiselText" << QVariant(3) << 380 << kChiselText;
        QTest::newRow("pointer 16") << "MousePointer" << QVariant(16) << 380 << kMousePointer;
        QTest::newRow("pointer 98") << "MousePointer" << QVariant(98) << 380 << kMousePointer;
        QTest::newRow("pointer 100") << "MousePointer" << QVariant(100) << 380 << kMousePointer;
        QTest::newRow("appearance 2") << "Appearance" << QVariant(2) << 380 << kAppearance;
        QTest::newRow("border style 3") << "BorderStyle" << QVariant(3) << 380 << kBorderStyle;
        QTest::newRow("style 2") << "Style" << QVariant(2) << 380 << kInvalidValue;
        QTest::newRow("button state 2") << "ButtonState" << QVariant(2) << 380 << kInvalidValue;
        QTest::newRow("picture of text")
            << "Picture" << QVariant(QByteArray("not a picture")) << 481 << kPicture;
        QTest::newRow("picture svg")
            << "Picture" << QVariant(QByteArray("<svg xmlns='http://www.w3.org/2000/svg'/>")) << 481
            << kPicture;
        QTest::newRow("picture missing file")
            << "PictureDown" << QVariant(QString("/no/such.bmp")) << 481 << kPicture;
        QTest::newRow("mouse icon bitmap")
            << "MouseIcon" << QVariant(imageBytes(solid(8, 8, Qt::red), "BMP")) << 481
            << kMouseIcon;
    }
    void refusals() {
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        QFETCH(int, number);
        QFETCH(QString, message);
        VxCmdBtn b;
        const QVariant before = b.property(property.toLatin1());
        QSignalSpy refused(&b, &VxCmdBtn::propertyRefused);
        b.setProperty(property.toLatin1(), value);
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused.first().at(0).toInt(), number);
        QCOMPARE(refused.first().at(1).toString(), message);
        QCOMPARE(b.lastErrorNumber(), number);
        QCOMPARE(b.lastErrorMessage(), message);
        QCOMPARE(b.property(property.toLatin1()), before);
    }

    void acceptedEdges_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("readBack");
        QTest::newRow("bevel 0") << "BevelWidth" << QVariant(0) << QVariant(0);
        QTest::newRow("bevel 10") << "BevelWidth" << QVariant(10) << QVariant(10);
        QTest::newRow("caption overlaid") << "CaptionPosition" << QVariant(4) << QVariant(4);
        QTest::newRow("pointer custom") << "MousePointer" << QVariant(99) << QVariant(99);
        QTest::newRow("zoom 0") << "ZoomFactor" << QVariant(0.0) << QVariant(0.0);
        QTest::newRow("toggle -1 is True") << "Toggle" << QVariant(-1) << QVariant(true);
        QTest::newRow("toggle text") << "Toggle" << QVariant("True") << QVariant(true);
        QTest::newRow("bmp picture")
            << "Picture" << QVariant(imageBytes(solid(8, 8, Qt::red), "BMP"))
            << QVariant(imageBytes(solid(8, 8, Qt::red), "BMP"));
    }
    void acceptedEdges() {
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        QFETCH(QVariant, readBack);
        VxCmdBtn b;
        QSignalSpy refused(&b, &VxCmdBtn::propertyRefused);
        b.setProperty(property.toLatin1(), value);
        QCOMPARE(refused.size(), 0);
        QCOMPARE(b.property(property.toLatin1()), readBack);
    }

    void defaults() {
        VxCmdBtn b;
        QCOMPARE(b.property("Style").toInt(), 0);
        QCOMPARE(b.property("BevelWidth").toInt(), 2);
        QCOMPARE(b.property("ButtonState").toInt(), 1);
        QCOMPARE(b.property("Toggle").toBool(), false);
        QCOMPARE(b.property("ZoomFactor").toDouble(), 1.0);
        QCOMPARE(b.property("RoundedCorners").toBool(), true);
        QCOMPARE(b.property("Border").toBool(), true);
        QCOMPARE(b.property("BorderStyle").toInt(), 1);
        QCOMPARE(b.property("MouseFocus").toBool(), true);
        QCOMPARE(b.property("Appearance").toInt(), 1);
        QCOMPARE(b.property("Enabled").toBool(), true);
        QCOMPARE(b.property("FontName").toString(), QString("ＭＳ Ｐゴシック"));
        QCOMPARE(b.property("HdnWidth").toInt(), b.width());
    }

    void borderViews() {
        VxCmdBtn b;
        b.setProperty("RoundedCorners", false);
        QCOMPARE(b.property("BorderStyle").toInt(), 2);
        b.setProperty("Border", false);
        QCOMPARE(b.property("BorderStyle").toInt(), 0);
        b.setProperty("RoundedCorners", true); // no border: stays without
        QCOMPARE(b.property("BorderStyle").toInt(), 0);
        b.setProperty("Border", true);
        QCOMPARE(b.property("BorderStyle").toInt(), 1);
    }

    void systemColors() {
        VxCmdBtn b;
        b.setBackColor(Qt::red);
        b.setLightColor(Qt::red);
        b.setProperty("ColorSource", 1);
        const QPalette pal = QApplication::palette();
        QCOMPARE(b.backColor(), pal.color(QPalette::Button));
        QCOMPARE(b.lightColor(), pal.color(QPalette::Light));
        QCOMPARE(b.chiselColor(), pal.color(QPalette::Light));
    }

    void dataMethodCaptions() {
        VxCmdBtn b;
        b.setObjectName("VxCmdBtn1");
        b.setCaption("VxCmdBtn1");
        b.setProperty("DataMethod", 7);
        QCOMPARE(b.caption(), "&Next");
        b.setProperty("DataMethod", 1);
        QCOMPARE(b.caption(), "&Add New");
        b.setCaption("追加");
        b.setProperty("DataMethod", 2);
        QCOMPARE(b.caption(), "追加"); // a caption of the user's own stays
    }

    void plainClick() {
        Rig rig;
        rig.showActive();
        QSignalSpy clicks(rig.b, &VxCmdBtn::Click);
        QSignalSpy downs(rig.b, &VxCmdBtn::MouseDown);
        QTest::mousePress(rig.b, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(rig.b->value(), true);
        QVERIFY(rig.b->hasFocus());
        QTest::mouseRelease(rig.b, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(rig.b->value(), false);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(downs.first().at(0).toInt(), 1);
        // Released outside: no click.
        QTest::mousePress(rig.b, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseRelease(rig.b, Qt::LeftButton, {}, QPoint(300, 20));
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(rig.b->value(), false);
        // Space and Enter press and release it too.
        QTest::keyClick(rig.b, Qt::Key_Space);
        QTest::keyClick(rig.b, Qt::Key_Return);
        QCOMPARE(clicks.size(), 3);
        // Disabled: nothing.
        rig.b->setEnabled(false);
        QTest::mouseClick(rig.b, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(clicks.size(), 3);
    }

    void mouseFocusOff() {
        Rig rig;
        rig.showActive();
        auto* other = new VxCmdBtn(&rig.host);
        other->move(120, 10);
        other->show();
        other->setFocus();
        rig.b->setProperty("MouseFocus", false);
        QSignalSpy clicks(rig.b, &VxCmdBtn::Click);
        QTest::mouseClick(rig.b, Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(!rig.b->hasFocus());
        QVERIFY(other->hasFocus());
        QCOMPARE(clicks.size(), 1);
    }

    void toggle() {
        Rig rig;
        rig.showActive();
        rig.b->setProperty("Toggle", true);
        QSignalSpy clicks(rig.b, &VxCmdBtn::Click);
        QSignalSpy values(rig.b, &VxCmdBtn::ValueChanged);
        QTest::mouseClick(rig.b, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(rig.b->value(), true);
        QTest::mouseClick(rig.b, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(rig.b->value(), false);
        QCOMPARE(clicks.size(), 2);
        QCOMPARE(values.size(), 2);
        // Pressed, then released outside: keeps its state, no click.
        QTest::mousePress(rig.b, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(rig.b->value(), true);
        QTest::mouseRelease(rig.b, Qt::LeftButton, {}, QPoint(-50, 20));
        QCOMPARE(rig.b->value(), false);
        QCOMPARE(clicks.size(), 2);
        // DoClick flips it and says so.
        rig.b->DoClick();
        QCOMPARE(rig.b->value(), true);
        QCOMPARE(clicks.size(), 3);
        // Turning Toggle off brings it up.
        rig.b->setProperty("Toggle", false);
        QCOMPARE(rig.b->value(), false);
        QVERIFY(QMetaObject::invokeMethod(rig.b, "DoClick"));
        QCOMPARE(clicks.size(), 4);
    }

    void dataMethods_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<QString>("call");
        QTest::newRow("add") << 1 << "addNew";
        QTest::newRow("delete") << 2 << "remove";
        QTest::newRow("update") << 3 << "update";
        QTest::newRow("first") << 5 << "first";
        QTest::newRow("last") << 6 << "last";
        QTest::newRow("next") << 7 << "next";
        QTest::newRow("previous") << 8 << "previous";
    }
    void dataMethods() {
        QFETCH(int, method);
        QFETCH(QString, call);
        VxCmdBtn b;
        FakeSource source;
        b.setDataSource(&source);
        b.setProperty("DataMethod", method);
        QSignalSpy clicks(&b, &VxCmdBtn::Click);
        b.DoClick();
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(source.calls, QStringList{call});
    }

    void queryMethodCancels() {
        VxCmdBtn b;
        FakeSource source;
        b.setDataSource(&source);
        b.setProperty("DataMethod", 7);
        QSignalSpy clicks(&b, &VxCmdBtn::Click);
        connect(&b, &VxCmdBtn::QueryMethod, [](bool* cancel) { *cancel = true; });
        b.DoClick();
        QCOMPARE(clicks.size(), 0);
        QVERIFY(source.calls.isEmpty());
    }

    void bookmarkNeedsBytes() {
        VxCmdBtn b;
        FakeSource source;
        b.setDataSource(&source);
        b.setProperty("DataMethod", 4);
        b.setProperty("Bookmark", QString("12"));
        b.DoClick();
        QVERIFY(source.calls.isEmpty());
        b.setProperty("Bookmark", QByteArray("12"));
        b.DoClick();
        QCOMPARE(source.calls, QStringList{"12"});
    }

    void dataFailuresReportErrors_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("number");
        using R = vx::DataSource::Result;
        QTest::newRow("failed") << int(R::Failed) << 1;
        QTest::newRow("bookmark") << int(R::InvalidBookmark) << 3;
        QTest::newRow("deleted") << int(R::RowDeleted) << 4;
        QTest::newRow("lock") << int(R::CannotLock) << 6;
        QTest::newRow("not supported") << int(R::NotSupported) << 7;
    }
    void dataFailuresReportErrors() {
        QFETCH(int, result);
        QFETCH(int, number);
        VxCmdBtn b;
        FakeSource source;
        source.answer = vx::DataSource::Result(result);
        b.setDataSource(&source);
        b.setProperty("DataMethod", 3);
        QSignalSpy errors(&b, &VxCmdBtn::Error);
        b.DoClick();
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first().at(0).toInt(), number);
        QCOMPARE(errors.first().at(1).toString(), vx::text::kDataErrors[number - 1]);
    }

    void noDataSourceIsReported() {
        VxCmdBtn b;
        b.setProperty("DataMethod", 5);
        QSignalSpy errors(&b, &VxCmdBtn::Error);
        b.DoClick();
        QCOMPARE(errors.size(), 1);
    }

    // ------------------------------------------------------------ drawing

    void borderCornersAndBevel() {
        Rig rig;
        const QImage up = rig.image();
        const QColor green(0, 128, 0), black(Qt::black), white(Qt::white), shade(100, 100, 100);
        // Rounded: the corner pixels take the container's colour.
        QCOMPARE(up.pixelColor(0, 0), green);
        QCOMPARE(up.pixelColor(99, 39), green);
        QCOMPARE(up.pixelColor(1, 0), black);
        QCOMPARE(up.pixelColor(0, 20), black);
        QCOMPARE(up.pixelColor(99, 20), black);
        // Two rings of bevel two pixels in: light top-left, shade bottom-right.
        QCOMPARE(up.pixelColor(2, 20), white);
        QCOMPARE(up.pixelColor(3, 20), white);
        QCOMPARE(up.pixelColor(50, 2), white);
        QCOMPARE(up.pixelColor(97, 20), shade);
        QCOMPARE(up.pixelColor(96, 20), shade);
        QCOMPARE(up.pixelColor(50, 37), shade);
        QCOMPARE(up.pixelColor(4, 20), QColor(200, 200, 200));

        rig.b->setProperty("BorderStyle", 2);
        QCOMPARE(rig.image().pixelColor(0, 0), black);

        rig.b->setProperty("ButtonState", 0); // down: one shade line top and left
        const QImage down = rig.image();
        QCOMPARE(down.pixelColor(2, 20), shade);
        QCOMPARE(down.pixelColor(50, 2), shade);
        QCOMPARE(down.pixelColor(3, 20), QColor(200, 200, 200));
        QCOMPARE(down.pixelColor(97, 20), QColor(200, 200, 200));

        rig.b->setProperty("ButtonState", 1);
        rig.b->setProperty("BevelWidth", 0);
        QCOMPARE(rig.image().pixelColor(2, 20), QColor(200, 200, 200));
    }

    void pictureShiftsOnePixelWhileDown() {
        Rig rig;
        rig.b->setPicture(solid(10, 10, Qt::red));
        auto redBox = [](const QImage& img) {
            QRect box;
            for (int y = 0; y < img.height(); ++y) {
                for (int x = 0; x < img.width(); ++x) {
                    if (img.pixelColor(x, y) == QColor(Qt::red)) {
                        box |= QRect(x, y, 1, 1);
                    }
                }
            }
            return box;
        };
        const QRect up = redBox(rig.image());
        QCOMPARE(up.size(), QSize(10, 10));
        rig.b->setProperty("ButtonState", 0);
        QCOMPARE(redBox(rig.image()), up.translated(1, 1));
        // The pressed picture replaces it while down.
        rig.b->setPictureDown(solid(10, 10, Qt::blue));
        QVERIFY(redBox(rig.image()).isNull());
    }

    void disabledPictureIsACheckerboard() {
        Rig rig;
        rig.b->setPicture(solid(10, 10, Qt::red));
        rig.b->setEnabled(false);
        const QImage img = rig.image();
        const QRect r = rig.b->pictureRect();
        int red = 0, back = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                const bool isRed = img.pixelColor(x, y) == QColor(Qt::red);
                // Every second pixel, alternating from row to row.
                QCOMPARE(isRed, ((x - r.left()) + (y - r.top())) % 2 == 1);
                (isRed ? red : back)++;
            }
        }
        QCOMPARE(red, 50);
        // An own disabled picture wins over the generated one.
        rig.b->setPictureDisabled(solid(10, 10, Qt::blue));
        QCOMPARE(rig.image().pixelColor(r.center()), QColor(Qt::blue));
    }

    void disabledTextDarkenedWhenItMatchesTheBackground() {
        Rig rig;
        rig.b->setCaption("■■■■");
        rig.b->setDisabledColor(QColor(200, 200, 200));
        rig.b->setEnabled(false);
        const QImage img = rig.image();
        bool darker = false;
        for (int x = 0; x < 100; ++x) {
            darker = darker || img.pixelColor(x, 20) == QColor(136, 136, 136);
        }
        QVERIFY(darker);
    }

    void captionPlacement() {
        Rig rig;
        rig.b->resize(120, 100);
        rig.b->setCaption("Caption");
        rig.b->setPicture(solid(20, 20, Qt::red));
        rig.image();
        QVERIFY(rig.b->textRect().bottom() < rig.b->pictureRect().top()); // 0: caption on top
        rig.b->setProperty("CaptionPosition", 1);
        rig.image();
        QVERIFY(rig.b->textRect().top() > rig.b->pictureRect().bottom());
        rig.b->setProperty("CaptionPosition", 2);
        rig.image();
        QVERIFY(rig.b->textRect().right() < rig.b->pictureRect().left());
        rig.b->setProperty("CaptionPosition", 4);
        rig.image();
        QCOMPARE(rig.b->textRect().center().y() / 2, rig.b->pictureRect().center().y() / 2);
        // Multi-line: "~" starts a new line, so the text is taller.
        rig.b->setProperty("CaptionPosition", 0);
        rig.b->setPicture(QVariant());
        rig.image();
        const int one = rig.b->textRect().height();
        rig.b->setCaption("上段~下段");
        rig.b->setProperty("MultiLine", 1);
        rig.image();
        QVERIFY(rig.b->textRect().height() > one);
    }

    // ------------------------------------------------------------ tooltip

    void tooltipTiming() {
        Rig rig;
        rig.showActive();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.host));
        rig.b->setToolTipText("ヒント");
        QCOMPARE(rig.b->tipDelay(), 1000);
        QTest::mouseMove(rig.b, QPoint(20, 20));
        QTest::qWait(600);
        QVERIFY(!rig.b->tipWindow());
        QTRY_VERIFY_WITH_TIMEOUT(rig.b->tipWindow() != nullptr, 1500);
        QWidget* tip = rig.b->tipWindow();
        QCOMPARE(tip->grab().toImage().pixelColor(tip->width() / 2, 1), QColor(255, 255, 128));
        // Pressing hides it; within a second the next one comes after 250 ms.
        QTest::mousePress(rig.b, Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(!rig.b->tipWindow());
        QTest::mouseRelease(rig.b, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(rig.b->tipDelay(), 250);
    }

    void mousePointer() {
        VxCmdBtn b;
        b.setProperty("MousePointer", 11);
        QCOMPARE(b.cursor().shape(), Qt::WaitCursor);
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(Qt::blue);
        QVERIFY(b.setMouseIcon(imageBytes(icon, "ICO")));
        b.setProperty("MousePointer", 99);
        QCOMPARE(b.cursor().shape(), Qt::BitmapCursor);
    }

    // ------------------------------------------------------------ keys

    void keyEventsCarryOldCodes_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text"); // what the keyboard types
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("ascii"); // 0: no KeyPress
        const int shift = int(Qt::ShiftModifier), keypad = int(Qt::KeypadModifier);
        QTest::newRow("enter") << int(Qt::Key_Return) << 0 << "\r" << 13 << 13;
        QTest::newRow("enter without text") << int(Qt::Key_Return) << 0 << "" << 13 << 13;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << keypad << "\r" << 13 << 13;
        QTest::newRow("esc") << int(Qt::Key_Escape) << 0 << "\x1b" << 27 << 27;
        QTest::newRow("space") << int(Qt::Key_Space) << 0 << " " << 32 << 32;
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 0 << "" << 33 << 0;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 0 << "" << 34 << 0;
        QTest::newRow("end") << int(Qt::Key_End) << 0 << "" << 35 << 0;
        QTest::newRow("home") << int(Qt::Key_Home) << 0 << "" << 36 << 0;
        QTest::newRow("left") << int(Qt::Key_Left) << 0 << "" << 37 << 0;
        QTest::newRow("up") << int(Qt::Key_Up) << 0 << "" << 38 << 0;
        QTest::newRow("right") << int(Qt::Key_Right) << 0 << "" << 39 << 0;
        QTest::newRow("down") << int(Qt::Key_Down) << 0 << "" << 40 << 0;
        QTest::newRow("insert") << int(Qt::Key_Insert) << 0 << "" << 45 << 0;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << "" << 46 << 0;
        QTest::newRow("F1") << int(Qt::Key_F1) << 0 << "" << 112 << 0;
        QTest::newRow("F12") << int(Qt::Key_F12) << 0 << "" << 123 << 0;
        QTest::newRow("a") << int(Qt::Key_A) << 0 << "a" << 65 << 97;
        QTest::newRow("shift z") << int(Qt::Key_Z) << shift << "Z" << 90 << 90;
        QTest::newRow("digit 0") << int(Qt::Key_0) << 0 << "0" << 48 << 48;
        QTest::newRow("digit 9") << int(Qt::Key_9) << 0 << "9" << 57 << 57;
        QTest::newRow("keypad 5") << int(Qt::Key_5) << keypad << "5" << 101 << 53;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 8 << 8;
    }
    void keyEventsCarryOldCodes() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, code);
        QFETCH(int, ascii);
        Rig rig;
        QSignalSpy downs(rig.b, &VxCmdBtn::KeyDown);
        QSignalSpy presses(rig.b, &VxCmdBtn::KeyPress);
        QSignalSpy ups(rig.b, &VxCmdBtn::KeyUp);
        const auto mods = Qt::KeyboardModifiers(modifiers);
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(rig.b, &press);
        QApplication::sendEvent(rig.b, &release);
        QCOMPARE(downs.size(), 1);
        QCOMPARE(downs.first().at(0).toInt(), code);
        QCOMPARE(downs.first().at(1).toInt(), modifiers & Qt::ShiftModifier ? 1 : 0);
        QCOMPARE(ups.size(), 1);
        QCOMPARE(ups.first().at(0).toInt(), code);
        QCOMPARE(presses.size(), ascii ? 1 : 0);
        if (ascii) {
            QCOMPARE(presses.first().at(0).toInt(), ascii);
        }
    }

    // Every standard pointer has its shape; 14 is not 15.
    void standardPointers_data() {
        QTest::addColumn<int>("pointer");
        QTest::addColumn<int>("shape");
        const Qt::CursorShape shapes[] = {
            Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,   Qt::ArrowCursor,
            Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor,
            Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,    Qt::ForbiddenCursor,
            Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
        for (int i = 1; i <= 15; ++i) {
            QTest::newRow(qPrintable(QString::number(i))) << i << int(shapes[i - 1]);
        }
    }
    void standardPointers() {
        QFETCH(int, pointer);
        QFETCH(int, shape);
        VxCmdBtn b;
        QVERIFY(b.setMousePointer(pointer));
        QCOMPARE(int(b.cursor().shape()), shape);
    }

    // ------------------------------------------------------------ accessibility

    void accessibleButton() {
        Rig rig;
        rig.showActive();
        rig.b->setCaption("閉じる(&X)");
        rig.b->setToolTipText("画面を閉じます");
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(rig.b);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::PushButton);
        QCOMPARE(a->text(QAccessible::Name), "閉じる(X)");
        QCOMPARE(a->text(QAccessible::Description), "画面を閉じます");
        QCOMPARE(a->text(QAccessible::Accelerator), "Alt+X");
        QVERIFY(!a->state().checkable);
        QVERIFY(!a->state().disabled);
        rig.b->setFocus();
        QVERIFY(a->state().focused);

        QAccessibleActionInterface* act = a->actionInterface();
        QVERIFY(act);
        QVERIFY(act->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QSignalSpy clicks(rig.b, &VxCmdBtn::Click);
        act->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(rig.b->value(), false); // back up, as after a click

        // Disabled: announced so, and pressing does nothing.
        rig.b->setEnabled(false);
        QVERIFY(a->state().disabled);
        QVERIFY(!act->actionNames().contains(QAccessibleActionInterface::pressAction()));
        act->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 1);
    }

    void accessibleToggle() {
        Rig rig;
        rig.b->setCaption("固定");
        rig.b->setProperty("Toggle", true);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(rig.b);
        QVERIFY(a->state().checkable);
        QVERIFY(!a->state().checked);
        QSignalSpy clicks(rig.b, &VxCmdBtn::Click);
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 1);
        QVERIFY(rig.b->value());
        QVERIFY(a->state().checked);
        a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(!a->state().checked);
        QCOMPARE(clicks.size(), 2);
    }

    // A picture button is named by what its name means; a caption or a
    // name given by the screen wins.
    void accessibleNames_data() {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("hint") << "cmdHint"
                              << ""
                              << ""
                              << "ヒント";
        QTest::newRow("numbered hint") << "cmdHintQ1"
                                       << ""
                                       << ""
                                       << "ヒント";
        QTest::newRow("previous") << "cmdMonBef"
                                  << ""
                                  << ""
                                  << "前へ";
        QTest::newRow("next") << "cmdMonNext"
                              << ""
                              << ""
                              << "次へ";
        QTest::newRow("caption wins") << "cmdHint"
                                      << "説明"
                                      << ""
                                      << "説明";
        QTest::newRow("double ampersand") << "cmdA"
                                          << "A&&B"
                                          << ""
                                          << "A&B";
        QTest::newRow("given name wins") << "cmdHint"
                                         << ""
                                         << "顧客のヒント"
                                         << "顧客のヒント";
        QTest::newRow("unknown picture button") << "cmdPic"
                                                << ""
                                                << ""
                                                << "";
        QTest::newRow("a sign says less") << "cmdHintQ1" << "?" << "" << "ヒント";
        QTest::newRow("arrow sign") << "cmdMonBef" << "◀" << "" << "前へ";
        QTest::newRow("sign of an unknown button") << "cmdPic" << "?" << "" << "?";
    }
    void accessibleNames() {
        QFETCH(QString, objectName);
        QFETCH(QString, caption);
        QFETCH(QString, given);
        QFETCH(QString, spoken);
        VxCmdBtn b;
        b.setObjectName(objectName);
        b.setCaption(caption);
        if (!given.isEmpty()) {
            b.setAccessibleName(given);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(&b)->text(QAccessible::Name), spoken);
    }

    // ------------------------------------------------------------ persistence

    void propertyBagRoundTrip() {
        VxCmdBtn a;
        a.setProperty("BevelWidth", 5);
        a.setProperty("BorderStyle", 2);
        a.setProperty("CaptionPosition", 3);
        a.setProperty("Toggle", true);
        a.setProperty("ChiselText", 2);
        a.setLightColor(QColor(1, 2, 3));
        a.setToolTipText("説明");
        const QVariantMap bag = a.saveProperties();
        for (const char* key :
             {"rPic.left", "rText.bottom", "OwnPicDisabled", "PictureDown", "MouseIcon"}) {
            QVERIFY(bag.contains(key));
        }
        VxCmdBtn b;
        b.loadProperties(bag);
        QCOMPARE(b.property("BevelWidth").toInt(), 5);
        QCOMPARE(b.property("BorderStyle").toInt(), 2);
        QCOMPARE(b.property("CaptionPosition").toInt(), 3);
        QCOMPARE(b.property("Toggle").toBool(), true);
        QCOMPARE(b.property("ChiselText").toInt(), 2);
        QCOMPARE(b.lightColor(), QColor(1, 2, 3));
        QCOMPARE(b.toolTipText(), "説明");
    }

    void olderBagsCarryBorderAndRoundedCorners_data() {
        QTest::addColumn<bool>("border");
        QTest::addColumn<bool>("rounded");
        QTest::addColumn<int>("style");
        QTest::newRow("no border") << false << true << 0;
        QTest::newRow("rounded") << true << true << 1;
        QTest::newRow("square") << true << false << 2;
    }
    void olderBagsCarryBorderAndRoundedCorners() {
        QFETCH(bool, border);
        QFETCH(bool, rounded);
        QFETCH(int, style);
        VxCmdBtn b;
        b.loadProperties({{"Border", border},
                          {"RoundedCorners", rounded},
                          {"ColorSource", 1},
                          {"LightColor", QColor(1, 2, 3)}});
        QCOMPARE(b.property("BorderStyle").toInt(), style);
        // ColorSource 1: the system colours, not the stored ones.
        QCOMPARE(b.lightColor(), QApplication::palette().color(QPalette::Light));
    }

    void badBagValuesKeepDefaults() {
        VxCmdBtn b;
        b.loadProperties({{"BevelWidth", 99}, {"Picture", QByteArray("junk")}, {"MultiLine", "x"}});
        QCOMPARE(b.property("BevelWidth").toInt(), 2);
        QVERIFY(b.property("Picture").isNull());
        QCOMPARE(b.property("MultiLine").toInt(), 0);
    }

    void designDefaultsFile() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("ZX4WIN.INI");
        vx::VxDefaults d = vx::VxDefaults::factory();
        d.BevelWidth = 4;
        d.Toggle = true;
        d.FontName = "IPAGothic";
        d.ShadeColor = QColor(10, 20, 30);
        QVERIFY(d.save(ini));
        QFile f(ini);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY(text.contains("[VxCmd Settings]"));
        f.close();
        const vx::VxDefaults back = vx::VxDefaults::load(ini);
        QCOMPARE(back.BevelWidth, 4);
        QCOMPARE(back.Toggle, true);
        QCOMPARE(back.FontName, "IPAGothic");
        QCOMPARE(back.ShadeColor, QColor(10, 20, 30));
        vx::VxDefaults::reset(ini);
        QCOMPARE(vx::VxDefaults::load(ini).BevelWidth, 2);

        vx::VxDefaultsDialog dialog(ini);
        dialog.findChild<QSpinBox*>("BevelWidth")->setValue(7);
        dialog.saveValues();
        QCOMPARE(vx::VxDefaults::load(ini).BevelWidth, 7);
        dialog.resetValues();
        QCOMPARE(vx::VxDefaults::load(ini).BevelWidth, 2);
    }

    // Other programs read the file: plain section and key names, and a save
    // or reset leaves every other section as it was.
    void defaultsFileIsPlainIni() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("ZX4WIN.INI");
        const QByteArray other = "[VxCalendar Settings]\r\nFirstDay=2\r\n\r\n; a note\r\n"
                                 "[Other]\r\nName=値\r\n";
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[VxCmd Settings]\r\nBevelWidth=3\r\nCustomKey=kept\r\n" + other);
        f.close();
        QCOMPARE(vx::VxDefaults::load(ini).BevelWidth, 3);
        vx::VxDefaults d = vx::VxDefaults::factory();
        d.FontName = "ＭＳ 明朝";
        QVERIFY(d.save(ini));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        f.close();
        QVERIFY(text.startsWith("[VxCmd Settings]\r\nBevelWidth=2\r\nCustomKey=kept\r\n"));
        QVERIFY(text.contains("\r\nFont Name=ＭＳ 明朝\r\n"));
        QVERIFY(text.contains("\r\nFont Strikethru=False\r\n"));
        QVERIFY(!text.contains('%'));
        QVERIFY(text.endsWith(other));
        QVERIFY(vx::VxDefaults::reset(ini));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), other);
        f.close();
        // Names are matched without regard to case, values without blanks.
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[vxcmd settings]\nbevelwidth = 6 \nFONT NAME=\"IPAGothic\"\n");
        f.close();
        QCOMPARE(vx::VxDefaults::load(ini).BevelWidth, 6);
        QCOMPARE(vx::VxDefaults::load(ini).FontName, "IPAGothic");
    }

    // A file from the old system is in the Japanese ANSI encoding; it is
    // read as such and stays so, its other sections unchanged to the byte.
    void defaultsFileInTheOldEncoding() {
        QStringEncoder toSjis("Shift_JIS");
        if (!toSjis.isValid()) {
            QSKIP("no Shift_JIS codec");
        }
        QTemporaryDir dir;
        const QString ini = dir.filePath("ZX4WIN.INI");
        const QByteArray other = toSjis.encode(QStringLiteral("[他]\r\n名前=山田\r\n"));
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(
                    toSjis.encode(QStringLiteral("[VxCmd Settings]\r\nFont Name=ＭＳ 明朝\r\n"))) +
                other);
        f.close();
        QCOMPARE(vx::VxDefaults::load(ini).FontName, "ＭＳ 明朝");
        QVERIFY(vx::VxDefaults::load(ini).save(ini));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY(text.endsWith(other));
        QVERIFY(text.contains(QByteArray(toSjis.encode(QStringLiteral("Font Name=ＭＳ 明朝")))));
    }

    void damagedDefaultsFileFallsBackKeyByKey_data() {
        QTest::addColumn<QByteArray>("content");
        QByteArray junk(2048, 0);
        for (int i = 0; i < junk.size(); ++i) {
            junk[i] = char((i * 131 + 7) % 256);
        }
        QTest::newRow("binary junk") << junk;
        QTest::newRow("out of range") << QByteArray(
            "[VxCmd Settings]\nBevelWidth=44\nBorderStyle=-3\nZoomFactor=-1\nMousePointer=50\n"
            "LightColor=99999999\nFont Size=0\nToggle=maybe\nCaptionPosition=3\n");
        QTest::newRow("missing keys") << QByteArray("[VxCmd Settings]\nCaptionPosition=3\n");
        QTest::newRow("empty") << QByteArray();
    }
    void damagedDefaultsFileFallsBackKeyByKey() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QFile f(dir.filePath("ZX4WIN.INI"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        const vx::VxDefaults d = vx::VxDefaults::load(f.fileName());
        const vx::VxDefaults factory = vx::VxDefaults::factory();
        QCOMPARE(d.BevelWidth, factory.BevelWidth);
        QCOMPARE(d.BorderStyle, factory.BorderStyle);
        QCOMPARE(d.ZoomFactor, factory.ZoomFactor);
        QCOMPARE(d.MousePointer, factory.MousePointer);
        QCOMPARE(d.LightColor, factory.LightColor);
        QCOMPARE(d.FontSize, factory.FontSize);
        QCOMPARE(d.Toggle, factory.Toggle);
        QCOMPARE(d.CaptionPosition, content.contains("CaptionPosition=3") ? 3 : 0);
    }

    void aboutBoxGoesThroughTheSeam() {
        QString shown;
        auto saved = VxCmdBtn::aboutPresenter;
        VxCmdBtn::aboutPresenter = [&](QWidget*, const QString& t) { shown = t; };
        VxCmdBtn b;
        QVERIFY(QMetaObject::invokeMethod(&b, "AboutBox"));
        QVERIFY(shown.contains("VxCmdBtn"));
        VxCmdBtn::aboutPresenter = saved;
    }
};

QTEST_MAIN(TestVxCmdBtn)
#include "tst_vxcmdbtn.moc"
