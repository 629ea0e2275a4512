#pragma once

#include "controls/button/ButtonCanvas.h"
#include "controls/button/ButtonPicture.h"

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <QPolygon>
#include <QRegion>
#include <QWidget>
#include <array>

class PropertyBag;

// The program's own command button: a command, check or option button drawn by one of eight
// painters in one of nine outlines, with caption, picture, gradient and hover colours. It draws
// itself into a back buffer and shows that buffer in one copy.
class StyledButton : public QWidget
{
    Q_OBJECT

public:
    enum StateFlag : quint16 {
        ShowAsDefault = 1,
        Pressed = 2,
        Hovering = 4,
        WindowOffset = 1024,
    };

    explicit StyledButton(QWidget *parent = nullptr);
    ~StyledButton() override;

    void setButtonStyle(int style);
    int buttonStyle() const { return buttonStyle_; }
    void setMode(int mode);
    int mode() const { return mode_; }
    void setCaption(const QString &caption);
    QString caption() const { return caption_; }
    void setCaptionAlign(int align);
    int captionAlign() const { return captionAlign_; }
    void setCaptionStyle(int style);
    int captionStyle() const { return captionStyle_; }
    void setCustomClick(int direction);
    int customClick() const { return customClick_; }
    void setButtonShape(int shape);
    int buttonShape() const { return buttonShape_; }
    void setPicture(const ButtonPicture &picture);
    const ButtonPicture &picture() const { return picture_; }
    void setPictureAlign(int align);
    int pictureAlign() const { return pictureAlign_; }
    void setShowFocusRect(bool show);
    bool showFocusRect() const { return showFocusRect_; }
    void setValue(bool value);
    bool value() const { return value_; }
    void setPictureSize(int size);
    int pictureSize();
    void setMousePointer(int pointer);
    int mousePointer() const { return mousePointer_; }
    void setMouseIcon(const QPixmap &icon);
    QPixmap mouseIcon() const { return mouseIcon_; }
    void setFontStyle(int style);
    int fontStyle() const;
    void setForeColor(quint32 colour);
    quint32 foreColor() const { return foreColor_; }
    void setBackColor(quint32 colour);
    quint32 backColor() const { return backColor_; }
    void setGradientColor(quint32 colour);
    quint32 gradientColor() const { return gradientColor_; }
    void setGradientMode(int mode);
    int gradientMode() const { return gradientMode_; }
    void setHoverColorLocks(int locks);
    int hoverColorLocks() const { return hoverColorLocks_; }
    void setHoverForeColor(quint32 colour);
    quint32 hoverForeColor() const { return hoverForeColor_; }
    void setHoverBackColor(quint32 colour);
    quint32 hoverBackColor() const { return hoverBackColor_; }
    void refresh();
    void delayDrawing(bool delay);

    // Host facts: Enter in the window clicks the default button, Esc the cancel button.
    void setDefault(bool isDefault);
    bool isDefault() const { return isDefault_; }
    void setCancel(bool isCancel);
    bool isCancel() const { return isCancel_; }
    QChar accessKey() const { return accessKey_; }

    // The stored properties of the button, as its window keeps them.
    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    // The drawing state, for the window and for checks.
    quint16 stateFlags() const { return stateFlags_; }
    ButtonRect captionRect() const { return captionRect_; }
    ButtonRect pictureRect() const { return pictureRect_; }
    int bodyLeft() const { return bodyLeft_; }
    int bodyRight() const { return bodyRight_; }
    QRegion faceRegion() const { return faceRegion_; }
    QRegion innerRegion() const { return innerRegion_; }
    QPolygon outlinePolygon() const { return outlinePolygon_; }
    qint32 faceRGB() const { return faceRGB_; }
    qint32 shadeRGB() const { return shadeRGB_; }
    qint32 hoverFaceRGB() const { return hoverFaceRGB_; }
    qint32 checkedFaceRGB() const { return checkedFaceRGB_; }
    const QImage &pictureCache() const { return pictureCache_; }
    int pictureSizePixels() const { return pictureSizePixels_; }
    bool isHoverTracking() const { return hoverTracking_; }
    // How many times the button has been composed: batches of changes draw once.
    int redrawCount() const { return redrawCount_; }

    // The screen size the gradient band rule reads; an empty size restores the real screen.
    static void setScreenSizeOverride(QSize size);

signals:
    void Click();
    void DoubleClick(int button);
    void MouseDown(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);
    void KeyDown(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void KeyUp(int keyCode, int shift);
    void MouseOnButton(bool onButton);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    // Per redraw: the edge points 0-15 and the edge colours 1-12 (index 0 unused).
    struct Edges
    {
        std::array<QPoint, 16> points{};
        std::array<qint32, 13> colours{};
    };

    // Setters and life cycle (StyledButton.cpp).
    void resizeHandling();
    void setFlag(StateFlag flag, bool on);
    bool hasFlag(StateFlag flag) const { return (stateFlags_ & flag) != 0; }
    bool drawnPressed() const { return hasFlag(Pressed) && hasFlag(Hovering); }
    bool hasPicture() const { return pictureWidth_ + pictureHeight_ > 0; }
    qint32 containerBackColour() const;
    void updateDisplayAsDefault();
    void applyCursor();

    // Input, option groups, hover (StyledButtonInput.cpp).
    void clickHandling();
    void mouseDownHandling(int button, int shift, QPointF position);
    void accessKeyPress(int keyAscii);
    void passArrowToContainer(int key, Qt::KeyboardModifiers modifiers);
    bool updateOptionGroup(int op);
    void checkMouseLeave(int timerId);
    bool offsetPressedWindow();
    bool pointerOnButton(QPointF position) const;

    // Layout (StyledButtonLayout.cpp).
    void layoutCaptionAndPicture(bool pictureChanged = false);

    // Pipeline, edges, caption and pictures (StyledButtonDrawing.cpp).
    void redrawButton();
    void prepareBackBuffer(bool create);
    void refreshFont();
    void refreshPicture();
    void refreshBackColours();
    void paintBackground(qint32 face, int &look, int &result, qint32 gradient, qint32 &hover);
    void clipToShape(int &result);
    void paintGradient(qint32 from, qint32 to, int mode);
    void clipBuffer(const QRegion &region);
    void drawEdges(Edges &edges, int outerPenStyle);
    void drawFocusFrame(qint32 colour, bool solid, bool &aroundContent, Edges &edges);
    void drawCaption(qint32 face, qint32 altText, bool down, bool noGreyPass);
    void drawPicture(ButtonRect rect);
    void cachePictureAndScanRegion(int width, int height, QRegion *outline);
    void transparentBlit(ButtonCanvas &target, const ButtonRect &dest, int outWidth, int outHeight,
                         QImage *scratch);

    // Outlines (StyledButtonShapes.cpp).
    void buildButtonRegion();
    void buildCustomRegion(QRegion &outline);

    // Painters (StyledButtonPainters.cpp).
    bool paintFaceAndCaption(qint32 face, int &look, int &result, qint32 &frame);
    void takeTwoStateLook(qint32 face, int &look, qint32 &frame) const;
    void paintStyle0(Edges &edges, int &look, int &result);
    void paintStyle1(Edges &edges, int &look, int &result);
    void paintStyle2(Edges &edges, int &look, int &result);
    void paintStyle3(Edges &edges, int &look, int &result);
    void paintStyle4(Edges &edges, int &look, int &result);
    void paintStyle5(Edges &edges, int &look, int &result);
    void paintStyle6(Edges &edges, int &look, int &result);
    void paintStyle7(Edges &edges, int &look, int &result);
    void commonPaintResult(Edges &edges, int &result) const;
    bool checkedLook() const;
    qint32 standardFace() const;
    qint32 standardAltText() const;

    int W() const { return width(); }
    int H() const { return height(); }

    // Properties.
    int buttonStyle_ = 0;
    int mode_ = 0;
    QString caption_;
    int captionAlign_ = 0;
    int captionStyle_ = 0;
    int customClick_ = 0;
    int buttonShape_ = 0;
    ButtonPicture picture_;
    int pictureAlign_ = 0;
    bool showFocusRect_ = false;
    bool value_ = false;
    int mousePointer_ = 0;
    QPixmap mouseIcon_;
    quint32 foreColor_ = 0x80000012u;
    quint32 backColor_ = 0;
    quint32 gradientColor_ = 0;
    int gradientMode_ = 0;
    int hoverColorLocks_ = 0;
    quint32 hoverForeColor_ = 0;
    quint32 hoverBackColor_ = 0;

    // Host facts.
    bool isDefault_ = false;
    bool isCancel_ = false;
    QChar accessKey_;
    int accessKeyShortcut_ = 0;
    int enterShortcut_ = 0;
    int keypadEnterShortcut_ = 0;
    int escapeShortcut_ = 0;
    QPointer<QWidget> container_;
    QMetaObject::Connection focusWatch_;

    // Internal state.
    quint16 stateFlags_ = 0;
    bool hoverTracking_ = false;
    bool heldDown_ = false;
    int lastButton_ = 0;
    int redrawCount_ = 0;
    bool drawingDelayed_ = false;
    bool suppressClick_ = false;
    bool pointerInside_ = false;
    bool inPaintEvent_ = false;
    bool inResizeHandling_ = false;
    int pictureSizePixels_ = 0;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    int pictureIsIcon_ = 0;
    qint32 containerBackRGB_ = 0;
    qint32 faceRGB_ = 0;
    qint32 shadeRGB_ = 0;
    qint32 hoverFaceRGB_ = 0;
    qint32 checkedFaceRGB_ = 0;
    int bodyLeft_ = 0;
    int bodyRight_ = 0;
    ButtonRect captionRect_;
    ButtonRect pictureRect_;
    QBasicTimer hoverTimer_;

    // Drawing resources.
    ButtonCanvas buffer_;
    QImage screen_;
    QFont bufferFont_;
    QRegion faceRegion_;
    QRegion innerRegion_;
    bool hasFaceRegions_ = false;
    QPolygon outlinePolygon_;
    QImage pictureCache_;
    int pictureCacheWidth_ = 0;
    int pictureCacheHeight_ = 0;
};
