#pragma once
// VxCmdBtn: the command button of every screen. A caption, pictures for the
// normal, pressed and disabled states, a bevel with its own colours, a
// rounded or square border, chiselled text, toggle behaviour, a tooltip,
// and navigation of a bound record source.
//
// Properties keep their published names. A value outside a property's range
// is refused: the property keeps its value, and the refusal is reported
// through propertyRefused() with error 380 (481 for pictures) and the
// property's own message, readable afterwards from lastErrorNumber() and
// lastErrorMessage().

#include <QColor>
#include <QElapsedTimer>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <functional>

#include "vxcommon.h"
#include "vxcontrol.h"
#include "vxdatasource.h"
#include "vxglobal.h"

namespace vx {

class VXCMD_EXPORT VxCmdBtn : public QWidget, public common::FontShortcuts<VxCmdBtn> {
    Q_OBJECT
    Q_PROPERTY(QVariant Style READ style WRITE setStyle)
    Q_PROPERTY(QString FontName READ fontName WRITE setFontName)
    Q_PROPERTY(bool FontBold READ fontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ fontItalic WRITE setFontItalic)
    Q_PROPERTY(bool FontUnderline READ fontUnderline WRITE setFontUnderline)
    Q_PROPERTY(double FontSize READ fontSize WRITE setFontSize)
    Q_PROPERTY(bool FontStrikethru READ fontStrikethru WRITE setFontStrikethru)
    Q_PROPERTY(QVariant Picture READ picture WRITE setPicture)
    Q_PROPERTY(QColor LightColor READ lightColor WRITE setLightColor)
    Q_PROPERTY(QColor ShadeColor READ shadeColor WRITE setShadeColor)
    Q_PROPERTY(QColor BorderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(QVariant BevelWidth READ bevelWidth WRITE setBevelWidth)
    Q_PROPERTY(QVariant ButtonState READ buttonState WRITE setButtonState)
    Q_PROPERTY(QVariant Toggle READ toggle WRITE setToggle)
    Q_PROPERTY(QVariant ZoomFactor READ zoomFactor WRITE setZoomFactor)
    Q_PROPERTY(QVariant CaptionPosition READ captionPosition WRITE setCaptionPosition)
    Q_PROPERTY(QVariant RoundedCorners READ roundedCorners WRITE setRoundedCorners)
    Q_PROPERTY(QVariant Border READ border WRITE setBorder)
    Q_PROPERTY(QVariant ColorSource READ colorSource WRITE setColorSource)
    Q_PROPERTY(bool Value READ value NOTIFY ValueChanged)
    Q_PROPERTY(QVariant SizePicture READ sizePicture WRITE setSizePicture)
    Q_PROPERTY(QVariant MouseFocus READ mouseFocus WRITE setMouseFocus)
    Q_PROPERTY(QVariant PictureDown READ pictureDown WRITE setPictureDown)
    Q_PROPERTY(QVariant PictureDisabled READ pictureDisabled WRITE setPictureDisabled)
    Q_PROPERTY(QVariant DataMethod READ dataMethod WRITE setDataMethod)
    Q_PROPERTY(QVariant MultiLine READ multiLine WRITE setMultiLine)
    Q_PROPERTY(QColor ChiselColor READ chiselColor WRITE setChiselColor)
    Q_PROPERTY(QVariant ChiselText READ chiselText WRITE setChiselText)
    Q_PROPERTY(QColor DisabledColor READ disabledColor WRITE setDisabledColor)
    Q_PROPERTY(QString ToolTip READ toolTipText WRITE setToolTipText)
    Q_PROPERTY(QVariant MousePointer READ mousePointer WRITE setMousePointer)
    Q_PROPERTY(QVariant MouseIcon READ mouseIcon WRITE setMouseIcon)
    Q_PROPERTY(int HdnHeight READ hdnHeight)
    Q_PROPERTY(int HdnWidth READ hdnWidth)
    Q_PROPERTY(QVariant Bookmark READ bookmark WRITE setBookmark)
    Q_PROPERTY(QVariant Appearance READ appearance WRITE setAppearance)
    Q_PROPERTY(QVariant BorderStyle READ borderStyle WRITE setBorderStyle)
    Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)

public:
    enum { ErrInvalidProperty = 380, ErrInvalidPicture = 481 };
    enum ButtonStateValue { Down = 0, Up = 1 };
    enum BorderStyleValue { BorderNone = 0, BorderRounded = 1, BorderSquare = 2 };
    enum CaptionPositionValue { CapTop, CapBottom, CapLeft, CapRight, CapOverlaid };
    enum ChiselValue { ChiselNone, ChiselInset, ChiselRaised };
    enum MultiLineValue { SingleLine, LinesCentre, LinesLeft, LinesRight };
    enum DataMethodValue {
        DvNone,
        DvAddNew,
        DvDelete,
        DvUpdate,
        DvBookmark,
        DvMoveFirst,
        DvMoveLast,
        DvMoveNext,
        DvMovePrev
    };

    explicit VxCmdBtn(QWidget* parent = nullptr);
    explicit VxCmdBtn(const QString& caption, QWidget* parent = nullptr);
    ~VxCmdBtn() override;

    // ---- properties
    QVariant style() const { return style_; }
    bool setStyle(const QVariant& v);
    QVariant picture() const { return pictureValue_; }
    bool setPicture(const QVariant& v);
    QColor lightColor() const { return light_; }
    void setLightColor(const QColor& c);
    QColor shadeColor() const { return shade_; }
    void setShadeColor(const QColor& c);
    QColor borderColor() const { return borderColor_; }
    void setBorderColor(const QColor& c);
    QVariant bevelWidth() const { return bevel_; }
    bool setBevelWidth(const QVariant& v);
    QVariant buttonState() const { return down_ ? Down : Up; }
    bool setButtonState(const QVariant& v);
    QVariant toggle() const { return toggle_; }
    bool setToggle(const QVariant& v);
    QVariant zoomFactor() const { return zoom_; }
    bool setZoomFactor(const QVariant& v);
    QVariant captionPosition() const { return capPos_; }
    bool setCaptionPosition(const QVariant& v);
    QVariant roundedCorners() const { return borderStyle_ == BorderRounded; }
    bool setRoundedCorners(const QVariant& v);
    QVariant border() const { return borderStyle_ != BorderNone; }
    bool setBorder(const QVariant& v);
    QVariant colorSource() const { return colorSource_; }
    bool setColorSource(const QVariant& v);
    bool value() const { return down_; }
    QVariant sizePicture() const { return sizePicture_; }
    bool setSizePicture(const QVariant& v);
    QVariant mouseFocus() const { return mouseFocus_; }
    bool setMouseFocus(const QVariant& v);
    QVariant pictureDown() const { return pictureDownValue_; }
    bool setPictureDown(const QVariant& v);
    QVariant pictureDisabled() const { return pictureDisabledValue_; }
    bool setPictureDisabled(const QVariant& v);
    QVariant dataMethod() const { return dataMethod_; }
    bool setDataMethod(const QVariant& v);
    QVariant multiLine() const { return multiLine_; }
    bool setMultiLine(const QVariant& v);
    QColor chiselColor() const { return chiselColor_; }
    void setChiselColor(const QColor& c);
    QVariant chiselText() const { return chisel_; }
    bool setChiselText(const QVariant& v);
    QColor disabledColor() const { return disabledColor_; }
    void setDisabledColor(const QColor& c);
    QString toolTipText() const { return tipText_; }
    void setToolTipText(const QString& t) { tipText_ = t; }
    QVariant mousePointer() const { return mousePointer_; }
    bool setMousePointer(const QVariant& v);
    QVariant mouseIcon() const { return mouseIconValue_; }
    bool setMouseIcon(const QVariant& v);
    int hdnHeight() const { return height(); }
    int hdnWidth() const { return width(); }
    QVariant bookmark() const { return bookmark_; }
    void setBookmark(const QVariant& v) { bookmark_ = v; }
    QVariant appearance() const { return appearance_; }
    bool setAppearance(const QVariant& v);
    QVariant borderStyle() const { return borderStyle_; }
    bool setBorderStyle(const QVariant& v);
    QColor backColor() const { return back_; }
    void setBackColor(const QColor& c);
    QColor foreColor() const { return fore_; }
    void setForeColor(const QColor& c);
    QString caption() const { return caption_; }
    void setCaption(const QString& c);

    void setDataSource(DataSource* source) { dataSource_ = source; }
    DataSource* dataSource() const { return dataSource_; }

    // The last refusal of a property value.
    int lastErrorNumber() const { return refusals_.number(); }
    QString lastErrorMessage() const { return refusals_.message(); }

    // What assistive technology announces: the caption without its
    // mnemonic marks, or for a picture button the meaning of its name.
    QString spokenName() const;
    // Exactly what a click does: press and release over the button.
    void pressAndRelease();

    // The container marks its default button; it gets a second frame.
    void setDefaultButton(bool on);
    bool isDefaultButton() const { return defaultButton_; }

    // ---- persistence: the property bag, by the published names
    QVariantMap saveProperties() const;
    void loadProperties(const QVariantMap& bag);

    // ---- layout of the last paint (also persisted)
    QRect pictureRect() const { return rPic_; }
    QRect textRect() const { return rText_; }
    QSize sizeHint() const override;

    // The tooltip's state, for tests and the gallery.
    QWidget* tipWindow() const;
    int tipDelay() const;

    // Shows the about box; tests replace how it is shown.
    static std::function<void(QWidget* parent, const QString& text)> aboutPresenter;
    static QString aboutText();

public slots:
    void DoClick();
    void AboutBox();

signals:
    void Click();
    void KeyDown(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void KeyUp(int keyCode, int shift);
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void Error(int number, const QString& description, int scode, const QString& source,
               const QString& helpFile, int helpContext, bool* cancelDisplay);
    void QueryMethod(bool* cancel);
    void ValueChanged(bool value);
    void propertyRefused(int number, const QString& message);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    struct Picture {
        QPixmap pixmap;
        QIcon icon;
        bool isIcon = false;
        bool isNull() const { return pixmap.isNull() && icon.isNull(); }
        QSize size() const;
    };

    bool refuse(int number, const QString& message) { return refusals_.refuse(number, message); }
    bool loadPicture(const QVariant& v, Picture* out) const;
    void applySystemColors();
    void press(bool takeFocus);
    void release(bool inside);
    void fireClick();
    void reportDataError(DataSource::Result r);
    void layoutContent(const QRect& area, const Picture& pic);
    QImage disabledImage(const QPixmap& pm) const;
    QColor containerColor() const;
    void showTip();
    void hideTip();
    void startTipTimer();
    void applyCursor();
    QStringList captionLines() const;

    // property values
    int style_ = 0;
    QVariant pictureValue_, pictureDownValue_, pictureDisabledValue_, mouseIconValue_;
    Picture picture_, pictureDown_, pictureDisabled_;
    QIcon mouseIcon_;
    QColor light_, shade_, borderColor_, chiselColor_, disabledColor_, back_, fore_;
    int bevel_ = 2;
    bool down_ = false;
    bool toggle_ = false;
    double zoom_ = 1.0;
    int capPos_ = CapTop;
    int colorSource_ = 0;
    bool sizePicture_ = false;
    bool mouseFocus_ = true;
    int dataMethod_ = DvNone;
    int multiLine_ = SingleLine;
    int chisel_ = ChiselNone;
    QString tipText_;
    int mousePointer_ = 0;
    QVariant bookmark_;
    int appearance_ = 1;
    int borderStyle_ = BorderRounded;
    QString caption_;
    bool ownPicDisabled_ = false;

    // state
    bool pressing_ = false; // a press is being held
    bool toggleWasDown_ = false;
    bool defaultButton_ = false;
    DataSource* dataSource_ = nullptr;
    common::Refusals refusals_;
    QRect rPic_, rText_;
    QTimer tipTimer_;
    QPointer<QWidget> tip_;
    QElapsedTimer sinceTipHidden_;
    bool tipHiddenOnce_ = false;
};

} // namespace vx
