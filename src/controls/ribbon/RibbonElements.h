#pragma once

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QVector>

#include <array>
#include <map>
#include <optional>

// The ribbon's display element families. Element 0 of each is the design template from which the
// layout creates elements 1, 2, ...; the three bar pieces are single.
enum class RibbonPart {
    TabBand,
    TabBandLeft,
    TabBandRight,
    Tab_left,
    Tab_center,
    Tab_right,
    Tab_left_over,
    Tab_center_over,
    Tab_right_over,
    Tab_caption,
    TabMouse,
    Cat_Left_off,
    Cat_Center_off,
    Cat_Right_off,
    Cat_Left_on,
    Cat_Center_on,
    Cat_Right_on,
    Cat_Caption,
    CatMouse,
    Cat_Dlg,
    Cat_Dlg_on,
    Cat_Dlg_over,
    Button_left,
    Button_center,
    Button_right,
    Button_left_over,
    Button_center_over,
    Button_right_over,
    Button_Icon,
    Button_Caption,
    ButMouse,
    Glyph_off,
    Glyph_on,
};
constexpr int RibbonPartCount = int(RibbonPart::Glyph_on) + 1;

QString ribbonPartName(RibbonPart part);

// The captions' font at a point size: Verdana where installed, else the nearest sans. Sized in
// pixels at 96 dots per inch, so measuring and drawing agree on every screen.
QFont ribbonFont(double pointSize);

// One display element. Geometry is in twips, as the layout computes it; pixels only at drawing.
struct RibbonElement
{
    enum class Kind { Picture, Label, HotZone };

    Kind kind = Kind::HotZone;
    bool stretch = false;  // a stretched picture fills the element; others take the picture's size
    bool autoSize = false; // a label that sizes itself to its text
    bool centred = false;  // label lines centred on its width
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool visible = false;
    quint64 z = 0; // larger lies in front
    QString tag;
    QString toolTip;
    QString text;
    QPixmap picture;
    quint32 foreColor = 0; // BBGGRR or a system colour
    QFont font;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    // Pixel rectangle; edges are rounded, not sizes, so touching elements stay touching.
    QRect pixelRect() const;
};

struct RibbonHit
{
    RibbonPart part;
    int index;
    bool operator==(const RibbonHit &other) const = default;
};

// All elements of one ribbon, with creation from the templates, stacking and hit testing.
class RibbonElements
{
public:
    RibbonElements();

    bool exists(RibbonPart part, int index) const;
    // An element that does not exist reads and writes a scratch element, so a layout step on a
    // missing element changes nothing.
    RibbonElement &at(RibbonPart part, int index);
    const RibbonElement &at(RibbonPart part, int index) const;
    int highestIndex(RibbonPart part) const;

    // A copy of element 0, hidden and in front of every existing element.
    void create(RibbonPart part, int index);
    // Element 0 is never removed; a missing element is passed over.
    void remove(RibbonPart part, int index);
    void bringToFront(RibbonPart part, int index);
    void show(RibbonPart part, int index, bool visible = true);
    void hide(RibbonPart part, int index) { show(part, index, false); }
    bool isShown(RibbonPart part, int index) const { return at(part, index).visible; }
    // An unstretched picture element takes the picture's size.
    void setPicture(RibbonPart part, int index, const QPixmap &picture);
    // A self-sizing label takes the size of its text in its own font.
    void setText(RibbonPart part, int index, const QString &text);

    // Visible elements, back to front.
    QVector<const RibbonElement *> paintOrder() const;
    // The visible element in front at a pixel position.
    std::optional<RibbonHit> hitTest(const QPoint &pixel) const;

    // Twip size of a label text: the longest CR LF-separated line by the number of lines.
    static QSizeF textSize(const QFont &font, const QString &text);

private:
    void design(RibbonPart part, RibbonElement::Kind kind, double left, double top, double width,
                double height, bool stretch = false);

    std::array<std::map<int, RibbonElement>, RibbonPartCount> families_;
    quint64 nextZ_ = 1;
    RibbonElement scratch_;
};
