#include "vxcmdbtn.h"

#include "vxcmdaccessible.h"
#include "vxcommon.h"
#include "vxkeys.h"
#include "vxtexts.h"

#include <QApplication>
#include <QBuffer>
#include <QFontDatabase>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

namespace vx {

std::function<void(QWidget*, const QString&)> VxCmdBtn::aboutPresenter = [](QWidget* parent,
                                                                            const QString& text) {
    QMessageBox::about(parent, QStringLiteral("VxCmdBtn"), text);
};

namespace {

const QStringList kDefaultCaptions = {"&Add New", "&Delete", "&Update", "&Bookmark",
                                      "&First",   "&Last",   "&Next",   "&Previous"};

// What the picture buttons of the screens mean, by the start of their names.
struct NameMeaning {
    const char* prefix;
    const char* meaning;
};
constexpr NameMeaning kMeanings[] = {
    {"cmdHint", "ヒント"},           {"cmdMonBef", "前へ"},       {"cmdMonNext", "次へ"},
    {"cmdTelMov", "着信番号を複写"}, {"cmdWaveFilePath", "参照"},
};

QString meaningOfName(const QString& objectName) {
    for (const NameMeaning& m : kMeanings) {
        if (objectName.startsWith(QString::fromUtf8(m.prefix))) {
            return QString::fromUtf8(m.meaning);
        }
    }
    return {};
}

using common::acceptBool;
using common::acceptInt;
using common::vbButton;
using common::vbShift;

} // namespace

QSize VxCmdBtn::Picture::size() const {
    if (!pixmap.isNull()) {
        return pixmap.size();
    }
    if (!icon.isNull()) {
        const QList<QSize> sizes = icon.availableSizes();
        return sizes.isEmpty() ? QSize(32, 32) : sizes.first();
    }
    return {};
}

VxCmdBtn::VxCmdBtn(QWidget* parent)
    : QWidget(parent)
    , refusals_([this](int n, const QString& m) { emit propertyRefused(n, m); },
                [this] { update(); }) {
    common::installFontSubstitutes();
    installAccessibility();
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    applySystemColors();
    tipTimer_.setSingleShot(true);
    connect(&tipTimer_, &QTimer::timeout, this, &VxCmdBtn::showTip);
    connect(this, &VxCmdBtn::ValueChanged, this, [this] { notifyAccessibleState(this); });
    resize(sizeHint());
}

VxCmdBtn::VxCmdBtn(const QString& caption, QWidget* parent)
    : VxCmdBtn(parent) {
    setCaption(caption);
}

VxCmdBtn::~VxCmdBtn() {
    delete tip_;
}

// ------------------------------------------------------------------ pictures

bool VxCmdBtn::loadPicture(const QVariant& v, Picture* out) const {
    Picture p;
    if (!v.isValid() || v.isNull()) {
        *out = p; // clears the picture
        return true;
    }
    switch (v.typeId()) {
    case QMetaType::QPixmap:
        p.pixmap = v.value<QPixmap>();
        break;
    case QMetaType::QImage:
        p.pixmap = QPixmap::fromImage(v.value<QImage>());
        break;
    case QMetaType::QIcon:
        p.icon = v.value<QIcon>();
        p.isIcon = true;
        break;
    case QMetaType::QByteArray:
    case QMetaType::QString: {
        // File contents, or a path to them. Bitmaps and icons are read; a
        // metafile cannot be drawn here and is refused with the rest.
        QByteArray bytes;
        if (!common::pictureBytes(v, &bytes)) {
            return false;
        }
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        QImageReader reader(&buf);
        const QByteArray format = reader.format();
        static const QList<QByteArray> bitmaps = {"bmp", "png", "jpg", "jpeg", "gif",
                                                  "xpm", "ppm", "pbm", "pgm"};
        const bool icon = format == "ico" || format == "cur";
        if (!icon && !bitmaps.contains(format)) {
            return false;
        }
        QImage image = reader.read();
        if (image.isNull()) {
            return false;
        }
        if (icon) {
            p.icon = QIcon(QPixmap::fromImage(image));
            p.isIcon = true;
        } else {
            p.pixmap = QPixmap::fromImage(image);
        }
        break;
    }
    default:
        return false;
    }
    if (p.isNull()) {
        return false;
    }
    *out = p;
    return true;
}

bool VxCmdBtn::setPicture(const QVariant& v) {
    Picture p;
    if (!loadPicture(v, &p)) {
        return refuse(ErrInvalidPicture, text::kPicture);
    }
    picture_ = p;
    pictureValue_ = v;
    update();
    return true;
}

bool VxCmdBtn::setPictureDown(const QVariant& v) {
    Picture p;
    if (!loadPicture(v, &p)) {
        return refuse(ErrInvalidPicture, text::kPicture);
    }
    pictureDown_ = p;
    pictureDownValue_ = v;
    update();
    return true;
}

bool VxCmdBtn::setPictureDisabled(const QVariant& v) {
    Picture p;
    if (!loadPicture(v, &p)) {
        return refuse(ErrInvalidPicture, text::kPicture);
    }
    pictureDisabled_ = p;
    pictureDisabledValue_ = v;
    ownPicDisabled_ = !p.isNull();
    update();
    return true;
}

bool VxCmdBtn::setMouseIcon(const QVariant& v) {
    QIcon icon;
    if (!common::loadIcon(v, &icon)) {
        return refuse(ErrInvalidPicture, text::kMouseIcon);
    }
    mouseIcon_ = icon;
    mouseIconValue_ = v;
    applyCursor();
    return true;
}

// ------------------------------------------------------------------ properties

bool VxCmdBtn::setStyle(const QVariant& v) {
    return refusals_.takeInt(v, 0, 1, text::kInvalidValue, style_);
}

void VxCmdBtn::setLightColor(const QColor& c) {
    light_ = c;
    update();
}
void VxCmdBtn::setShadeColor(const QColor& c) {
    shade_ = c;
    update();
}
void VxCmdBtn::setBorderColor(const QColor& c) {
    borderColor_ = c;
    update();
}
void VxCmdBtn::setChiselColor(const QColor& c) {
    chiselColor_ = c;
    update();
}
void VxCmdBtn::setDisabledColor(const QColor& c) {
    disabledColor_ = c;
    update();
}
void VxCmdBtn::setBackColor(const QColor& c) {
    back_ = c;
    update();
}
void VxCmdBtn::setForeColor(const QColor& c) {
    fore_ = c;
    update();
}

bool VxCmdBtn::setBevelWidth(const QVariant& v) {
    return refusals_.takeInt(v, 0, 10, text::kBevelWidth, bevel_);
}

bool VxCmdBtn::setButtonState(const QVariant& v) {
    int n;
    if (!acceptInt(v, 0, 1, &n)) {
        return refuse(ErrInvalidProperty, text::kInvalidValue);
    }
    const bool down = n == Down;
    if (down != down_) {
        down_ = down;
        emit ValueChanged(down_);
        update();
    }
    return true;
}

bool VxCmdBtn::setToggle(const QVariant& v) {
    bool on;
    if (!acceptBool(v, &on)) {
        return refuse(ErrInvalidProperty, text::kToggle);
    }
    toggle_ = on;
    if (!on && down_) { // a toggle switched off comes up
        down_ = false;
        emit ValueChanged(false);
        update();
    }
    return true;
}

bool VxCmdBtn::setZoomFactor(const QVariant& v) {
    bool ok = false;
    const double z = v.toDouble(&ok);
    if (!ok || v.typeId() == QMetaType::Bool || z < 0) {
        return refuse(ErrInvalidProperty, text::kZoomFactor);
    }
    zoom_ = z;
    update();
    return true;
}

bool VxCmdBtn::setCaptionPosition(const QVariant& v) {
    int n;
    // 4 (overlaid) is accepted although the message names only 0 to 3.
    if (!acceptInt(v, 0, 4, &n)) {
        return refuse(ErrInvalidProperty, text::kCaptionPosition);
    }
    capPos_ = n;
    update();
    return true;
}

bool VxCmdBtn::setRoundedCorners(const QVariant& v) {
    bool on;
    if (!acceptBool(v, &on)) {
        return refuse(ErrInvalidProperty, text::kRoundedCorners);
    }
    if (borderStyle_ != BorderNone) {
        borderStyle_ = on ? BorderRounded : BorderSquare;
        update();
    }
    return true;
}

bool VxCmdBtn::setBorder(const QVariant& v) {
    bool on;
    if (!acceptBool(v, &on)) {
        return refuse(ErrInvalidProperty, text::kBorder);
    }
    if (!on) {
        borderStyle_ = BorderNone;
    } else if (borderStyle_ == BorderNone) {
        borderStyle_ = BorderRounded;
    }
    update();
    return true;
}

bool VxCmdBtn::setColorSource(const QVariant& v) {
    int n;
    if (!acceptInt(v, 0, 1, &n)) {
        return refuse(ErrInvalidProperty, text::kColorSource);
    }
    colorSource_ = n;
    if (n == 1) {
        applySystemColors();
    }
    update();
    return true;
}

void VxCmdBtn::applySystemColors() {
    const QPalette pal = QApplication::palette();
    light_ = chiselColor_ = pal.color(QPalette::Active, QPalette::Light);
    shade_ = pal.color(QPalette::Active, QPalette::Dark);
    borderColor_ = pal.color(QPalette::Active, QPalette::Shadow);
    disabledColor_ = pal.color(QPalette::Disabled, QPalette::Text);
    back_ = pal.color(QPalette::Active, QPalette::Button);
    fore_ = pal.color(QPalette::Active, QPalette::ButtonText);
}

bool VxCmdBtn::setSizePicture(const QVariant& v) {
    return refusals_.takeBool(v, true, text::kSizePicture, sizePicture_);
}

bool VxCmdBtn::setMouseFocus(const QVariant& v) {
    bool on;
    if (!acceptBool(v, &on)) {
        return refuse(ErrInvalidProperty, text::kMouseFocus);
    }
    mouseFocus_ = on;
    // Qt focuses on a click by itself unless the policy says otherwise.
    setFocusPolicy(on ? Qt::StrongFocus : Qt::TabFocus);
    update();
    return true;
}

bool VxCmdBtn::setDataMethod(const QVariant& v) {
    int n;
    if (!acceptInt(v, 0, 8, &n)) {
        return refuse(ErrInvalidProperty, text::kDataMethod);
    }
    dataMethod_ = n;
    if (n != DvNone &&
        (caption_.isEmpty() || caption_ == objectName() || kDefaultCaptions.contains(caption_))) {
        setCaption(kDefaultCaptions[n - 1]);
    }
    return true;
}

bool VxCmdBtn::setMultiLine(const QVariant& v) {
    return refusals_.takeInt(v, 0, 3, text::kMultiLine, multiLine_);
}

bool VxCmdBtn::setChiselText(const QVariant& v) {
    return refusals_.takeInt(v, 0, 2, text::kChiselText, chisel_);
}

bool VxCmdBtn::setMousePointer(const QVariant& v) {
    if (!refusals_.takeInt(v, 0, 15, text::kMousePointer, mousePointer_, {99})) {
        return false;
    }
    applyCursor(); // at once, not at the next move of the pointer
    return true;
}

void VxCmdBtn::applyCursor() {
    if (mousePointer_ == 0) {
        unsetCursor();
    } else if (mousePointer_ == 99) {
        if (mouseIcon_.isNull()) {
            unsetCursor();
        } else {
            setCursor(QCursor(mouseIcon_.pixmap(32, 32)));
        }
    } else {
        setCursor(common::standardPointer(mousePointer_));
    }
}

bool VxCmdBtn::setAppearance(const QVariant& v) {
    return refusals_.takeInt(v, 0, 1, text::kAppearance, appearance_);
}

bool VxCmdBtn::setBorderStyle(const QVariant& v) {
    return refusals_.takeInt(v, 0, 2, text::kBorderStyle, borderStyle_);
}

void VxCmdBtn::setCaption(const QString& c) {
    if (c == caption_) {
        return;
    }
    caption_ = c;
    updateGeometry();
    update();
    notifyAccessibleName(this);
}

QString VxCmdBtn::spokenName() const {
    // "&&" stands for one '&'; a single '&' only marks the access key.
    QString name;
    for (qsizetype i = 0; i < caption_.size(); ++i) {
        if (caption_.at(i) == QLatin1Char('&') && i + 1 < caption_.size()) {
            ++i;
        }
        name += caption_.at(i);
    }
    if (multiLine_ != SingleLine) {
        name.replace(QLatin1Char('~'), QLatin1Char(' '));
    }
    name = name.simplified();
    // A caption of signs alone ("?", "◀") says less than the button's purpose.
    const bool words =
        std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.isLetterOrNumber(); });
    if (!words) {
        const QString meaning = meaningOfName(objectName());
        return meaning.isEmpty() ? name : meaning;
    }
    return name;
}

void VxCmdBtn::pressAndRelease() {
    if (!isEnabled() || pressing_) {
        return;
    }
    hideTip();
    press(false);
    release(true);
}

void VxCmdBtn::setDefaultButton(bool on) {
    defaultButton_ = on;
    update();
}

QSize VxCmdBtn::sizeHint() const {
    const QFontMetrics fm(font());
    const int w = fm.horizontalAdvance(QString(caption_).remove(QLatin1Char('&')));
    return QSize(std::max(75, w + 16), std::max(25, fm.height() + 12));
}

// ------------------------------------------------------------------ persistence

QVariantMap VxCmdBtn::saveProperties() const {
    QVariantMap bag;
    bag["BorderStyle"] = borderStyle_;
    bag["LightColor"] = light_;
    bag["ShadeColor"] = shade_;
    bag["BorderColor"] = borderColor_;
    bag["DisabledColor"] = disabledColor_;
    bag["ChiselColor"] = chiselColor_;
    bag["Toggle"] = toggle_;
    bag["SizePicture"] = sizePicture_;
    bag["MouseFocus"] = mouseFocus_;
    bag["OwnPicDisabled"] = ownPicDisabled_;
    bag["Enabled"] = isEnabled();
    bag["BevelWidth"] = bevel_;
    bag["ButtonState"] = down_ ? int(Down) : int(Up);
    bag["CaptionPosition"] = capPos_;
    bag["ColorSource"] = colorSource_;
    bag["DataMethod"] = dataMethod_;
    bag["MultiLine"] = multiLine_;
    bag["ChiselText"] = chisel_;
    bag["Style"] = style_;
    bag["Appearance"] = appearance_;
    bag["ZoomFactor"] = zoom_;
    bag["rPic.left"] = rPic_.left();
    bag["rPic.top"] = rPic_.top();
    bag["rPic.right"] = rPic_.right();
    bag["rPic.bottom"] = rPic_.bottom();
    bag["rText.left"] = rText_.left();
    bag["rText.top"] = rText_.top();
    bag["rText.right"] = rText_.right();
    bag["rText.bottom"] = rText_.bottom();
    bag["ToolTip"] = tipText_;
    bag["MousePointer"] = mousePointer_;
    bag["MouseIcon"] = mouseIconValue_;
    bag["Picture"] = pictureValue_;
    bag["PictureDisabled"] = pictureDisabledValue_;
    bag["PictureDown"] = pictureDownValue_;
    return bag;
}

void VxCmdBtn::loadProperties(const QVariantMap& bag) {
    // A value that is missing or refused keeps the default.
    auto take = [&](const char* key, auto setter) {
        if (bag.contains(QLatin1String(key))) {
            (this->*setter)(bag.value(QLatin1String(key)));
        }
    };
    auto color = [&](const char* key, void (VxCmdBtn::*setter)(const QColor&)) {
        const QColor c = bag.value(QLatin1String(key)).value<QColor>();
        if (c.isValid()) {
            (this->*setter)(c);
        }
    };
    if (bag.contains("BorderStyle")) {
        take("BorderStyle", &VxCmdBtn::setBorderStyle);
    } else if (bag.contains("Border") || bag.contains("RoundedCorners")) {
        // Data of an older version: Border and RoundedCorners. Rounded
        // corners give style 1 and square ones style 2, as the two
        // compatibility properties read them back.
        const bool bordered = bag.value("Border", true).toBool();
        const bool rounded = bag.value("RoundedCorners", true).toBool();
        borderStyle_ = !bordered ? BorderNone : rounded ? BorderRounded : BorderSquare;
    }
    color("LightColor", &VxCmdBtn::setLightColor);
    color("ShadeColor", &VxCmdBtn::setShadeColor);
    color("BorderColor", &VxCmdBtn::setBorderColor);
    color("DisabledColor", &VxCmdBtn::setDisabledColor);
    color("ChiselColor", &VxCmdBtn::setChiselColor);
    take("Toggle", &VxCmdBtn::setToggle);
    take("SizePicture", &VxCmdBtn::setSizePicture);
    take("MouseFocus", &VxCmdBtn::setMouseFocus);
    if (bag.contains("Enabled")) {
        setEnabled(bag.value("Enabled").toBool());
    }
    take("BevelWidth", &VxCmdBtn::setBevelWidth);
    take("ButtonState", &VxCmdBtn::setButtonState);
    take("CaptionPosition", &VxCmdBtn::setCaptionPosition);
    take("DataMethod", &VxCmdBtn::setDataMethod);
    take("MultiLine", &VxCmdBtn::setMultiLine);
    take("ChiselText", &VxCmdBtn::setChiselText);
    take("Style", &VxCmdBtn::setStyle);
    take("Appearance", &VxCmdBtn::setAppearance);
    take("ZoomFactor", &VxCmdBtn::setZoomFactor);
    if (bag.contains("ToolTip")) {
        tipText_ = bag.value("ToolTip").toString();
    }
    take("MousePointer", &VxCmdBtn::setMousePointer);
    take("MouseIcon", &VxCmdBtn::setMouseIcon);
    take("Picture", &VxCmdBtn::setPicture);
    take("PictureDown", &VxCmdBtn::setPictureDown);
    if (bag.value("OwnPicDisabled", true).toBool()) {
        take("PictureDisabled", &VxCmdBtn::setPictureDisabled);
    }
    // ColorSource last: system colours replace the stored ones.
    take("ColorSource", &VxCmdBtn::setColorSource);
    update();
}

// ------------------------------------------------------------------ pressing

void VxCmdBtn::press(bool takeFocus) {
    if (takeFocus && mouseFocus_) {
        setFocus(Qt::MouseFocusReason);
    }
    pressing_ = true;
    if (!toggle_) {
        down_ = true;
        update();
    } else if (!down_) {
        toggleWasDown_ = false;
        down_ = true;
        update();
    } else {
        // Marked up, drawn on release.
        toggleWasDown_ = true;
        down_ = false;
    }
}

void VxCmdBtn::release(bool inside) {
    if (!pressing_) {
        return;
    }
    pressing_ = false;
    const bool before = toggle_ ? toggleWasDown_ : false;
    if (!toggle_) {
        down_ = false;
    } else if (!inside) {
        down_ = toggleWasDown_; // released outside: back as it was
    }
    update();
    if (toggle_ && down_ != before) {
        emit ValueChanged(down_);
    }
    if (inside) {
        fireClick();
    }
}

void VxCmdBtn::fireClick() {
    if (dataMethod_ == DvNone) {
        emit Click();
        return;
    }
    bool cancel = false;
    emit QueryMethod(&cancel);
    if (cancel) {
        return;
    }
    QPointer<VxCmdBtn> self(this);
    emit Click();
    if (!self) {
        return;
    }
    if (!dataSource_) {
        reportDataError(DataSource::Result::NotSupported);
        return;
    }
    DataSource::Result r = DataSource::Result::Ok;
    switch (dataMethod_) {
    case DvAddNew:
        r = dataSource_->addNew();
        break;
    case DvDelete:
        r = dataSource_->remove();
        break;
    case DvUpdate:
        r = dataSource_->update();
        break;
    case DvBookmark:
        if (bookmark_.typeId() != QMetaType::QByteArray) {
            return; // only a byte array is a bookmark
        }
        r = dataSource_->moveToBookmark(bookmark_.toByteArray());
        break;
    case DvMoveFirst:
        r = dataSource_->moveFirst();
        break;
    case DvMoveLast:
        r = dataSource_->moveLast();
        break;
    case DvMoveNext:
        r = dataSource_->moveNext();
        break;
    case DvMovePrev:
        r = dataSource_->movePrevious();
        break;
    default:
        break;
    }
    reportDataError(r);
}

void VxCmdBtn::reportDataError(DataSource::Result r) {
    int index = -1;
    switch (r) {
    case DataSource::Result::Ok:
        return;
    case DataSource::Result::Failed:
        index = 0;
        break;
    case DataSource::Result::OutOfMemory:
        index = 1;
        break;
    case DataSource::Result::InvalidBookmark:
        index = 2;
        break;
    case DataSource::Result::RowDeleted:
        index = 3;
        break;
    case DataSource::Result::UpdateInProgress:
        index = 4;
        break;
    case DataSource::Result::CannotLock:
        index = 5;
        break;
    case DataSource::Result::NotSupported:
        index = 6;
        break;
    case DataSource::Result::RowChanged:
        index = 7;
        break;
    case DataSource::Result::RuleViolation:
        index = 8;
        break;
    }
    bool cancelDisplay = false;
    emit Error(index + 1, text::kDataErrors[index], 0, QStringLiteral("VxCmdBtn"), QString(), 0,
               &cancelDisplay);
}

void VxCmdBtn::DoClick() {
    fireClick();
    if (toggle_) {
        down_ = !down_;
        emit ValueChanged(down_);
        update();
    }
}

QString VxCmdBtn::aboutText() {
    return QStringLiteral("VxCmdBtn コマンドボタン\nVXCMD32 (Qt %1)")
        .arg(QString::fromLatin1(qVersion()));
}

void VxCmdBtn::AboutBox() {
    if (aboutPresenter) {
        aboutPresenter(this, aboutText());
    }
}

void VxCmdBtn::mousePressEvent(QMouseEvent* e) {
    hideTip();
    if (!isEnabled()) {
        return;
    }
    const QPointF p = e->position();
    if (e->button() == Qt::LeftButton) {
        press(true);
    }
    emit MouseDown(vbButton(e->button()), vbShift(e->modifiers()), p.x(), p.y());
}

void VxCmdBtn::mouseReleaseEvent(QMouseEvent* e) {
    if (!isEnabled()) {
        return;
    }
    const QPointF p = e->position();
    if (e->button() == Qt::LeftButton) {
        release(rect().contains(p.toPoint()));
    }
    emit MouseUp(vbButton(e->button()), vbShift(e->modifiers()), p.x(), p.y());
}

void VxCmdBtn::mouseMoveEvent(QMouseEvent* e) {
    const QPointF p = e->position();
    if (!(e->buttons() & Qt::LeftButton) && !tipText_.isEmpty() && !tip_) {
        startTipTimer();
    }
    emit MouseMove(vbButton(e->buttons()), vbShift(e->modifiers()), p.x(), p.y());
}

void VxCmdBtn::keyPressEvent(QKeyEvent* e) {
    if (const int code = common::keyCode(e)) {
        emit KeyDown(code, vbShift(e->modifiers()));
    }
    if (const int ascii = common::keyAscii(e)) {
        emit KeyPress(ascii);
    }
    const bool activates =
        e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (activates && isEnabled() && !e->isAutoRepeat() && !pressing_) {
        hideTip();
        press(false);
        return;
    }
    if (!activates) {
        QWidget::keyPressEvent(e);
    }
}

void VxCmdBtn::keyReleaseEvent(QKeyEvent* e) {
    if (const int code = common::keyCode(e)) {
        emit KeyUp(code, vbShift(e->modifiers()));
    }
    const bool activates =
        e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (activates && !e->isAutoRepeat() && pressing_) {
        release(true);
    }
}

void VxCmdBtn::enterEvent(QEnterEvent*) {
    if (!tipText_.isEmpty() && !pressing_) {
        startTipTimer();
    }
}

void VxCmdBtn::leaveEvent(QEvent*) {
    hideTip();
}

void VxCmdBtn::focusInEvent(QFocusEvent*) {
    update();
}
void VxCmdBtn::focusOutEvent(QFocusEvent*) {
    if (pressing_ && !toggle_) {
        pressing_ = false;
        down_ = false;
    }
    update();
}

void VxCmdBtn::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(e);
}

// ------------------------------------------------------------------ tooltip

int VxCmdBtn::tipDelay() const {
    return tipHiddenOnce_ && sinceTipHidden_.elapsed() < 1000 ? 250 : 1000;
}

void VxCmdBtn::startTipTimer() {
    if (tipTimer_.isActive() || tip_) {
        return;
    }
    tipTimer_.start(tipDelay());
}

QWidget* VxCmdBtn::tipWindow() const {
    return tip_;
}

void VxCmdBtn::showTip() {
    if (tipText_.isEmpty() || pressing_) {
        return;
    }
    tip_ = common::showTipBox(tipText_, QStringLiteral("VxCmdTip"), this);
}

void VxCmdBtn::hideTip() {
    tipTimer_.stop();
    if (tip_) {
        delete tip_;
        tipHiddenOnce_ = true;
        sinceTipHidden_.start();
    }
}

// ------------------------------------------------------------------ drawing

QColor VxCmdBtn::containerColor() const {
    const QWidget* host = parentWidget();
    return host ? host->palette().color(host->backgroundRole()) : palette().color(QPalette::Window);
}

QImage VxCmdBtn::disabledImage(const QPixmap& pm) const {
    QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = (y % 2); x < img.width(); x += 2) {
            img.setPixelColor(x, y, back_);
        }
    }
    return img;
}

QStringList VxCmdBtn::captionLines() const {
    if (multiLine_ == SingleLine) {
        return {caption_};
    }
    return caption_.split(QLatin1Char('~'));
}

void VxCmdBtn::layoutContent(const QRect& area, const Picture& pic) {
    const QFontMetrics fm(font());
    QSize cap;
    if (!caption_.isEmpty()) {
        const int flags = multiLine_ == SingleLine ? Qt::TextSingleLine | Qt::TextShowMnemonic
                                                   : Qt::TextWordWrap | Qt::TextShowMnemonic;
        cap = fm.boundingRect(area, flags, captionLines().join(QLatin1Char('\n'))).size();
    }
    QSize ps;
    if (!pic.isNull()) {
        ps = pic.size();
        if (ps.isEmpty()) {
            ps = QSize(32, 32);
        }
        ps = QSize(qRound(ps.width() * zoom_), qRound(ps.height() * zoom_));
        if (sizePicture_) {
            QSize room = area.size();
            if (capPos_ == CapTop || capPos_ == CapBottom) {
                room.setHeight(std::max(0, room.height() - cap.height()));
            } else if (capPos_ == CapLeft || capPos_ == CapRight) {
                room.setWidth(std::max(0, room.width() - cap.width()));
            }
            ps = pic.size().scaled(room, Qt::KeepAspectRatio);
        }
    }
    auto centreIn = [](const QRect& r, QSize s) {
        return QRect(r.left() + (r.width() - s.width()) / 2,
                     r.top() + (r.height() - s.height()) / 2, s.width(), s.height());
    };
    if (pic.isNull()) {
        rPic_ = QRect();
        rText_ = centreIn(area, cap);
    } else if (caption_.isEmpty() || capPos_ == CapOverlaid) {
        rPic_ = centreIn(area, ps);
        rText_ = centreIn(area, cap);
    } else if (capPos_ == CapTop || capPos_ == CapBottom) {
        // One third of the free height lies between picture and caption.
        const int free = std::max(0, area.height() - ps.height() - cap.height());
        const int gap = free / 3;
        const int top = area.top() + (free - gap) / 2;
        const int firstH = capPos_ == CapTop ? cap.height() : ps.height();
        const QRect first(area.left(), top, area.width(), firstH);
        const QRect second(area.left(), top + firstH + gap, area.width(),
                           capPos_ == CapTop ? ps.height() : cap.height());
        rText_ = centreIn(capPos_ == CapTop ? first : second, cap);
        rPic_ = centreIn(capPos_ == CapTop ? second : first, ps);
    } else {
        const int free = std::max(0, area.width() - ps.width() - cap.width());
        const int gap = free / 3;
        const int left = area.left() + (free - gap) / 2;
        const int firstW = capPos_ == CapLeft ? cap.width() : ps.width();
        const QRect first(left, area.top(), firstW, area.height());
        const QRect second(left + firstW + gap, area.top(),
                           capPos_ == CapLeft ? ps.width() : cap.width(), area.height());
        rText_ = centreIn(capPos_ == CapLeft ? first : second, cap);
        rPic_ = centreIn(capPos_ == CapLeft ? second : first, ps);
    }
    if (!caption_.isEmpty()) {
        rText_.adjust(-2, -2, 2, 2);
    }
}

void VxCmdBtn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect all = rect();
    // 1. background
    p.fillRect(all, back_);
    const bool bordered = borderStyle_ != BorderNone;
    const int inset = bordered ? 2 : 0;
    const int bevel = style_ == 1 ? 2 : bevel_;
    const QRect area =
        all.adjusted(inset + bevel, inset + bevel, -(inset + bevel), -(inset + bevel));

    // 3. picture choice
    const Picture* pic = &picture_;
    QImage generated;
    if (down_ && !pictureDown_.isNull()) {
        pic = &pictureDown_;
    } else if (!isEnabled()) {
        if (!pictureDisabled_.isNull()) {
            pic = &pictureDisabled_;
        } else if (!picture_.pixmap.isNull()) {
            generated = disabledImage(picture_.pixmap);
        }
    }
    layoutContent(area, *pic);
    // 2. the one-pixel shift while down
    const QPoint shift = down_ ? QPoint(1, 1) : QPoint(0, 0);
    const QRect picRect = rPic_.translated(shift);
    if (!generated.isNull()) {
        p.drawImage(picRect, generated);
    } else if (!pic->pixmap.isNull()) {
        p.drawPixmap(picRect, pic->pixmap);
    } else if (!pic->icon.isNull()) {
        pic->icon.paint(&p, picRect);
    }

    // 4. caption
    if (!caption_.isEmpty()) {
        const QRect textRect = rText_.adjusted(2, 2, -2, -2).translated(shift);
        int flags = Qt::TextShowMnemonic;
        if (multiLine_ == SingleLine) {
            flags |= Qt::AlignCenter | Qt::TextSingleLine;
        } else {
            flags |= Qt::TextWordWrap | Qt::AlignVCenter |
                     (multiLine_ == LinesLeft    ? Qt::AlignLeft
                      : multiLine_ == LinesRight ? Qt::AlignRight
                                                 : Qt::AlignHCenter);
        }
        const QString text = captionLines().join(QLatin1Char('\n'));
        QColor textColor = fore_;
        if (!isEnabled()) {
            textColor = disabledColor_;
            if (textColor.rgb() == back_.rgb()) {
                auto darker = [](int c) { return c >= 64 ? c - 64 : c; };
                textColor = QColor(darker(textColor.red()), darker(textColor.green()),
                                   darker(textColor.blue()));
            }
        }
        if (chisel_ == ChiselInset && isEnabled()) {
            p.setPen(chiselColor_);
            p.drawText(textRect.translated(1, 1), flags, text);
            p.setPen(textColor);
            p.drawText(textRect, flags, text);
        } else if (chisel_ == ChiselRaised && isEnabled()) {
            p.setPen(chiselColor_);
            p.drawText(textRect, flags, text);
            p.setPen(textColor);
            p.drawText(textRect.translated(1, 1), flags, text);
        } else {
            p.setPen(textColor);
            p.drawText(textRect, flags, text);
        }
    }

    // 5. focus
    if (hasFocus() && mouseFocus_ && style_ != 1) {
        QRect focus = caption_.isEmpty() ? rPic_.adjusted(-2, -2, 2, 2) : rText_;
        focus = focus.translated(shift).intersected(area);
        QPen dotted(fore_, 1, Qt::DotLine);
        p.setPen(dotted);
        p.setBrush(Qt::NoBrush);
        p.drawRect(focus.adjusted(0, 0, -1, -1));
    }

    // 6. border
    p.setBrush(Qt::NoBrush);
    if (bordered) {
        p.setPen(borderColor_);
        p.drawRect(all.adjusted(0, 0, -1, -1));
        if (borderStyle_ == BorderRounded) {
            const QColor outside = containerColor();
            p.setPen(outside);
            p.drawPoint(all.topLeft());
            p.drawPoint(all.topRight());
            p.drawPoint(all.bottomLeft());
            p.drawPoint(all.bottomRight());
        }
        if (hasFocus() || defaultButton_) {
            p.setPen(borderColor_);
            p.drawRect(all.adjusted(1, 1, -2, -2));
        }
    }

    // 7. bevel
    const QRect ring0 = all.adjusted(inset, inset, -inset, -inset);
    if (down_ && bevel > 0) {
        p.setPen(shade_);
        p.drawLine(ring0.topLeft(), ring0.topRight());
        p.drawLine(ring0.topLeft(), ring0.bottomLeft());
    } else {
        for (int i = 0; i < bevel; ++i) {
            const QRect r = ring0.adjusted(i, i, -i, -i);
            p.setPen(light_);
            p.drawLine(r.topLeft(), r.topRight());
            p.drawLine(r.topLeft(), r.bottomLeft());
            p.setPen(shade_);
            p.drawLine(r.bottomLeft(), r.bottomRight());
            p.drawLine(r.topRight(), r.bottomRight());
        }
    }
}

} // namespace vx
