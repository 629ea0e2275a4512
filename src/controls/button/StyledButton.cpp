#include "controls/button/StyledButton.h"

#include "controls/button/ButtonColours.h"
#include "core/AppError.h"
#include "core/Colour.h"
#include "core/PropertyBag.h"

#include <QApplication>
#include <QEvent>
#include <QMdiSubWindow>
#include <QPainter>
#include <QResizeEvent>

namespace {

// The window a widget belongs to: its top-level window or its child window in the main window.
const QWidget *formOf(const QWidget *widget)
{
    while (widget && !widget->isWindow() && !qobject_cast<const QMdiSubWindow *>(widget))
        widget = widget->parentWidget();
    return widget;
}

constexpr quint32 SystemButtonFace = 0x8000000Fu;
constexpr quint32 SystemButtonText = 0x80000012u;

} // namespace

StyledButton::StyledButton(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A button placed in code starts as a stored button with nothing stored: every property at
    // its default.
    readProperties(PropertyBag());
}

StyledButton::~StyledButton()
{
    hoverTimer_.stop();
    // An ended option button leaves its group, so that no group operation reaches it later.
    if (mode_ == 2)
        updateOptionGroup(-1);
    if (focusWatch_)
        disconnect(focusWatch_);
}

// ---- Properties -------------------------------------------------------------------------------

void StyledButton::setButtonStyle(int style)
{
    if (style < 0 || style > 7)
        return;
    const int old = buttonStyle_;
    buttonStyle_ = style;
    if (buttonShape_ <= 3 || (buttonShape_ <= 6 && (old == 5 || style == 5)))
        buildButtonRegion();
    layoutCaptionAndPicture();
    refreshBackColours();
    redrawButton();
}

void StyledButton::setMode(int mode)
{
    if (mode < 0 || mode > 2)
        return;
    const int old = mode_;
    if (old == 2 && mode != 2)
        updateOptionGroup(-1);
    else if (mode == 2 && old != 2)
        updateOptionGroup(1);
    if (mode == 0 && old != 0)
        setValue(false);
    mode_ = mode;
    redrawButton();
}

void StyledButton::setCaption(const QString &caption)
{
    // "&&" is a literal ampersand; the last other "&" marks the access key.
    bool marked = false;
    QChar key;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (i + 1 < caption.size() && caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        marked = true;
        key = i + 1 < caption.size() ? caption[i + 1] : QChar();
        ++i;
    }
    if (marked && key != accessKey_) {
        if (accessKeyShortcut_)
            releaseShortcut(accessKeyShortcut_);
        accessKeyShortcut_ = 0;
        accessKey_ = key;
        if (!key.isNull()) {
            accessKeyShortcut_ = grabShortcut(
                QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(key.toUpper().unicode()))));
            // A held key clicks once: it must never save a record twice.
            setShortcutAutoRepeat(accessKeyShortcut_, false);
        }
    }
    caption_ = caption;
    layoutCaptionAndPicture();
    redrawButton();
}

void StyledButton::setCaptionAlign(int align)
{
    if (align < 0 || align > 2)
        return;
    if (align == 2 || pictureAlign_ <= 3 || !hasPicture()) {
        captionAlign_ = align;
        layoutCaptionAndPicture();
        redrawButton();
    }
}

void StyledButton::setCaptionStyle(int style)
{
    if (style < 0 || style > 2)
        return;
    captionStyle_ = style;
    if (!caption_.isEmpty()) {
        layoutCaptionAndPicture();
        redrawButton();
    }
}

void StyledButton::setCustomClick(int direction)
{
    if (direction < 0 || direction > 8)
        return;
    customClick_ = direction;
}

void StyledButton::setButtonShape(int shape)
{
    if (shape < 0 || shape > 8)
        return;
    if (shape >= 7) {
        if (picture_.isNothing() || picture_.isIcon())
            return;
        if (pictureSize() != 4) {
            delayDrawing(true);
            setPictureSize(4);
            drawingDelayed_ = false;
        }
    }
    buttonShape_ = shape;
    captionAlign_ = 2;
    resizeHandling();
    delayDrawing(false);
}

void StyledButton::setPicture(const ButtonPicture &picture)
{
    picture_ = picture;
    if (pictureSizePixels_ == 0)
        pictureSizePixels_ = 16;
    refreshPicture();
    if (buttonShape_ <= 6) {
        layoutCaptionAndPicture(true);
        redrawButton();
    } else {
        if (picture_.isNothing() || picture_.isIcon())
            setButtonShape(0);
        resizeHandling();
    }
}

void StyledButton::setPictureAlign(int align)
{
    if (align < 0 || align > 5)
        return;
    pictureAlign_ = align;
    if (align >= 4)
        setCaptionAlign(2);
    layoutCaptionAndPicture();
    redrawButton();
}

void StyledButton::setShowFocusRect(bool show)
{
    showFocusRect_ = show;
    // At run time a change always drops the default look until the host reports it again.
    setFlag(ShowAsDefault, false);
    redrawButton();
}

void StyledButton::setValue(bool value)
{
    if (value && mode_ == 0)
        return;
    value_ = value;
    if (value && mode_ == 2)
        updateOptionGroup(0);
    redrawButton();
}

void StyledButton::setPictureSize(int size)
{
    if (size < 0 || size > 4 || buttonShape_ >= 7)
        return;
    pictureSizePixels_ = (size + 2) * 8;
    layoutCaptionAndPicture(true);
    redrawButton();
}

int StyledButton::pictureSize()
{
    if (pictureSizePixels_ == 0)
        pictureSizePixels_ = 16;
    return pictureSizePixels_ / 8 - 2;
}

void StyledButton::setMousePointer(int pointer)
{
    if (pointer < -32768 || pointer > 32767)
        throw AppError(6, QStringLiteral("Overflow"));
    mousePointer_ = pointer;
    applyCursor();
}

void StyledButton::setMouseIcon(const QPixmap &icon)
{
    mouseIcon_ = icon;
    if (!icon.isNull())
        setMousePointer(99);
    applyCursor();
}

void StyledButton::applyCursor()
{
    static const Qt::CursorShape shapes[] = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor,
    };
    if (mousePointer_ == 99 && !mouseIcon_.isNull())
        setCursor(QCursor(mouseIcon_));
    else if (mousePointer_ > 0 && mousePointer_ < 16)
        setCursor(shapes[mousePointer_]);
    else
        unsetCursor();
}

void StyledButton::setFontStyle(int style)
{
    QFont f = font();
    f.setBold(style & 2);
    f.setItalic(style & 4);
    f.setUnderline(style & 8);
    setFont(f); // the font change refreshes, lays out and redraws
}

int StyledButton::fontStyle() const
{
    const QFont f = font();
    return (f.bold() ? 2 : 0) + (f.italic() ? 4 : 0) + (f.underline() ? 8 : 0);
}

void StyledButton::setForeColor(quint32 colour)
{
    if (colour == foreColor_)
        return;
    foreColor_ = colour;
    if (hoverColorLocks_ == 0 || hoverColorLocks_ == 1)
        setHoverForeColor(colour);
    drawingDelayed_ = false;
    redrawButton();
}

void StyledButton::setBackColor(quint32 colour)
{
    backColor_ = colour;
    if (hoverColorLocks_ == 0 || hoverColorLocks_ == 2)
        setHoverBackColor(gradientMode_ != 0 ? gradientColor_ : colour);
    refreshBackColours();
    redrawButton();
}

void StyledButton::setGradientColor(quint32 colour)
{
    if ((hoverColorLocks_ == 0 || hoverColorLocks_ == 2) && gradientMode_ > 0)
        hoverBackColor_ = colour;
    gradientColor_ = colour;
    refreshBackColours();
    if (gradientMode_ != 0)
        redrawButton();
}

void StyledButton::setGradientMode(int mode)
{
    if (mode < 0 || mode > 4)
        return;
    gradientMode_ = mode;
    if (hoverColorLocks_ == 0 || hoverColorLocks_ == 2) {
        hoverBackColor_ = mode == 0 ? backColor_ : gradientColor_;
        refreshBackColours();
    }
    redrawButton();
}

void StyledButton::setHoverColorLocks(int locks)
{
    hoverColorLocks_ = locks;
    if (locks == 0 || locks == 2)
        hoverBackColor_ = gradientMode_ != 0 ? gradientColor_ : backColor_;
    if (locks == 0 || locks == 1)
        hoverForeColor_ = foreColor_;
    refreshBackColours();
}

void StyledButton::setHoverForeColor(quint32 colour)
{
    if (colour == hoverForeColor_)
        return;
    hoverForeColor_ = colour;
    if (colour != foreColor_) {
        if (hoverColorLocks_ == 0)
            hoverColorLocks_ = 2;
        else if (hoverColorLocks_ == 1)
            hoverColorLocks_ = 3;
    }
}

void StyledButton::setHoverBackColor(quint32 colour)
{
    if (colour == hoverBackColor_)
        return;
    hoverBackColor_ = colour;
    if (colour != backColor_) {
        if (hoverColorLocks_ == 0)
            hoverColorLocks_ = 1;
        else if (hoverColorLocks_ == 2)
            hoverColorLocks_ = 3;
    }
    refreshBackColours();
}

void StyledButton::refresh()
{
    drawingDelayed_ = false;
    redrawButton();
}

void StyledButton::delayDrawing(bool delay)
{
    drawingDelayed_ = delay;
    if (!delay)
        refresh();
}

// ---- Host facts -------------------------------------------------------------------------------

void StyledButton::setDefault(bool isDefault)
{
    if (isDefault == isDefault_)
        return;
    isDefault_ = isDefault;
    if (isDefault) {
        enterShortcut_ = grabShortcut(QKeySequence(Qt::Key_Return), Qt::WindowShortcut);
        keypadEnterShortcut_ = grabShortcut(QKeySequence(Qt::Key_Enter), Qt::WindowShortcut);
        setShortcutAutoRepeat(enterShortcut_, false);
        setShortcutAutoRepeat(keypadEnterShortcut_, false);
        // The default look moves to a focused command button and back, as the host shows it.
        focusWatch_ =
            connect(qApp, &QApplication::focusChanged, this, [this] { updateDisplayAsDefault(); });
    } else {
        releaseShortcut(enterShortcut_);
        releaseShortcut(keypadEnterShortcut_);
        enterShortcut_ = keypadEnterShortcut_ = 0;
        disconnect(focusWatch_);
    }
    updateDisplayAsDefault();
}

void StyledButton::setCancel(bool isCancel)
{
    if (isCancel == isCancel_)
        return;
    isCancel_ = isCancel;
    if (isCancel) {
        escapeShortcut_ = grabShortcut(QKeySequence(Qt::Key_Escape), Qt::WindowShortcut);
        setShortcutAutoRepeat(escapeShortcut_, false);
    } else {
        releaseShortcut(escapeShortcut_);
        escapeShortcut_ = 0;
    }
}

void StyledButton::updateDisplayAsDefault()
{
    bool effectiveDefault = false;
    if (hasFocus()) {
        // Every focused button shows the focus, check and option buttons too.
        effectiveDefault = true;
    } else if (isDefault_) {
        // Another command button that has the focus stands in as the default while it has it.
        const auto *focused = qobject_cast<StyledButton *>(QApplication::focusWidget());
        effectiveDefault = !(focused && focused->mode() == 0 && formOf(focused) == formOf(this));
    }
    const bool show = effectiveDefault && showFocusRect_;
    if (show == hasFlag(ShowAsDefault))
        return;
    setFlag(ShowAsDefault, show);
    redrawButton();
}

qint32 StyledButton::containerBackColour() const
{
    if (const QWidget *parent = parentWidget())
        return qint32(Colour::fromQColor(parent->palette().color(parent->backgroundRole())));
    return ButtonColours::translateSysColor(qint32(SystemButtonFace));
}

void StyledButton::setFlag(StateFlag flag, bool on)
{
    if (on)
        stateFlags_ |= flag;
    else
        stateFlags_ &= quint16(~flag);
}

// ---- Stored properties ------------------------------------------------------------------------

void StyledButton::readProperties(const PropertyBag &bag)
{
    if (mode_ == 2)
        updateOptionGroup(-1); // read again: leave the group the old settings joined
    container_ = parentWidget();
    containerBackRGB_ = containerBackColour();
    delayDrawing(true);

    const QFont containerFont = font();
    const quint32 containerBack = parentWidget() ? quint32(containerBackRGB_) : SystemButtonFace;

    caption_ = bag.read("Caption", QString()).toString();
    captionAlign_ = bag.read("CapAlign", 2).toInt();
    buttonStyle_ = bag.read("BackStyle", 0).toInt();
    buttonShape_ = bag.read("Shape", 0).toInt();
    gradientMode_ = bag.read("Gradient", 0).toInt();
    gradientColor_ = bag.read("cGradient", SystemButtonFace).toUInt();
    foreColor_ = bag.read("cFore", SystemButtonText).toUInt();
    // Without a stored font the button keeps following its container's font.
    if (bag.contains("Font"))
        setFont(bag.read("Font", containerFont).value<QFont>());
    showFocusRect_ = bag.read("Focus", true).toBool();
    mode_ = bag.read("Mode", 0).toInt();
    value_ = bag.read("Value", false).toBool();
    customClick_ = bag.read("CustomClick", 0).toInt();
    picture_ = ButtonPicture::fromVariant(bag.read("Image", QVariant()));
    pictureSizePixels_ = bag.read("ImgSize", 16).toInt();
    pictureAlign_ = bag.read("ImgAlign", 0).toInt();
    hoverForeColor_ = bag.read("cFHover", SystemButtonText).toUInt();
    setEnabled(bag.read("Enabled", true).toBool());
    backColor_ = bag.read("cBack", containerBack).toUInt();
    hoverBackColor_ = bag.read("cBHover", backColor_).toUInt();
    hoverColorLocks_ = bag.read("LockHover", 0).toInt();
    captionStyle_ = bag.read("CapStyle", 0).toInt();
    setMouseIcon(bag.read("mIcon", QPixmap()).value<QPixmap>());
    setMousePointer(bag.read("mPointer", 0).toInt());

    refreshPicture();
    refreshFont();
    refreshBackColours();
    setCaption(caption_);
    if (mode_ == 2)
        updateOptionGroup(1);
    drawingDelayed_ = false;
    resizeHandling();
}

void StyledButton::writeProperties(PropertyBag &bag) const
{
    const QVariant always; // a default no value equals: the name is written every time
    bag.write("Caption", caption_, QString());
    bag.write("CapAlign", captionAlign_, 2);
    bag.write("BackStyle", buttonStyle_, 0);
    bag.write("Shape", buttonShape_, 0);
    bag.write("Font", font(), always);
    bag.write("cFore", foreColor_, SystemButtonText);
    bag.write("cFHover", hoverForeColor_, SystemButtonText);
    bag.write("cBhover", hoverBackColor_, backColor_);
    bag.write("Focus", showFocusRect_, true);
    bag.write("LockHover", hoverColorLocks_, 0);
    bag.write("cGradient", gradientColor_, SystemButtonFace);
    bag.write("Gradient", gradientMode_, 0);
    bag.write("CapStyle", captionStyle_, 0);
    bag.write("Mode", mode_, always);
    bag.write("Value", value_, always);
    bag.write("CustomClick", customClick_, 0);
    bag.write("ImgAlign", pictureAlign_, 0);
    bag.write("Image", picture_.toVariant(), QVariant());
    bag.write("ImgSize", pictureSizePixels_, 16);
    bag.write("Enabled", !testAttribute(Qt::WA_ForceDisabled), true);
    bag.write("cBack", backColor_, always);
    bag.write("mPointer", mousePointer_, 0);
    bag.write("mIcon", mouseIcon_.isNull() ? QVariant() : QVariant(mouseIcon_), QVariant());
}

// ---- Life cycle -------------------------------------------------------------------------------

void StyledButton::resizeHandling()
{
    prepareBackBuffer(true);
    if (drawingDelayed_)
        return;
    buildButtonRegion();
    layoutCaptionAndPicture();
    redrawButton();
}

void StyledButton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    resizeHandling();
}

void StyledButton::paintEvent(QPaintEvent *)
{
    drawingDelayed_ = false;
    inPaintEvent_ = true;
    redrawButton();
    inPaintEvent_ = false;
    QPainter painter(this);
    painter.drawImage(0, 0, screen_);
}

void StyledButton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (buttonStyle_ == 3 && mode_ == 0 && buttonShape_ <= 3) {
            // The etched style cuts its corners only while enabled.
            const bool wasDelayed = drawingDelayed_;
            delayDrawing(true);
            buildButtonRegion();
            layoutCaptionAndPicture();
            if (!wasDelayed)
                delayDrawing(false);
        } else {
            redrawButton();
        }
        break;
    case QEvent::FontChange:
        refreshFont();
        layoutCaptionAndPicture();
        redrawButton();
        break;
    case QEvent::PaletteChange:
        containerBackRGB_ = containerBackColour();
        if (buttonShape_ >= 4 || buttonStyle_ == 5)
            redrawButton();
        break;
    default:
        break;
    }
}
