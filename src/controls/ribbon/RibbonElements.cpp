#include "controls/ribbon/RibbonElements.h"

#include "core/Units.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include <algorithm>

namespace {

constexpr std::array<const char *, RibbonPartCount> PartNames = {
    "TabBand",        "TabBandLeft",      "TabBandRight",       "Tab_left",
    "Tab_center",     "Tab_right",        "Tab_left_over",      "Tab_center_over",
    "Tab_right_over", "Tab_caption",      "TabMouse",           "Cat_Left_off",
    "Cat_Center_off", "Cat_Right_off",    "Cat_Left_on",        "Cat_Center_on",
    "Cat_Right_on",   "Cat_Caption",      "CatMouse",           "Cat_Dlg",
    "Cat_Dlg_on",     "Cat_Dlg_over",     "Button_left",        "Button_center",
    "Button_right",   "Button_left_over", "Button_center_over", "Button_right_over",
    "Button_Icon",    "Button_Caption",   "ButMouse",           "Glyph_off",
    "Glyph_on",
};

int pixel(double twips)
{
    return int(Units::roundHalfEven(twips / Units::TwipsPerPixel));
}

QString sansFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const char *wanted : {"Verdana", "DejaVu Sans"}) {
        if (families.contains(QLatin1String(wanted), Qt::CaseInsensitive))
            return QLatin1String(wanted);
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

QString ribbonPartName(RibbonPart part)
{
    return QLatin1String(PartNames[size_t(part)]);
}

QFont ribbonFont(double pointSize)
{
    static const QString family = sansFamily();
    QFont font(family);
    font.setPixelSize(int(Units::roundHalfEven(pointSize * 96.0 / 72.0)));
    font.setWeight(QFont::Normal);
    return font;
}

QRect RibbonElement::pixelRect() const
{
    const int x = pixel(left);
    const int y = pixel(top);
    return QRect(x, y, pixel(left + width) - x, pixel(top + height) - y);
}

QSizeF RibbonElements::textSize(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    int widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return QSizeF(Units::pixelsToTwips(widest),
                  Units::pixelsToTwips(metrics.height() * int(lines.size())));
}

void RibbonElements::design(RibbonPart part, RibbonElement::Kind kind, double left, double top,
                            double width, double height, bool stretch)
{
    RibbonElement element;
    element.kind = kind;
    element.left = left;
    element.top = top;
    element.width = width;
    element.height = height;
    element.stretch = stretch;
    element.z = nextZ_++;
    families_[size_t(part)][0] = element;
}

RibbonElements::RibbonElements()
{
    using enum RibbonPart;
    constexpr auto Pic = RibbonElement::Kind::Picture;
    constexpr auto Label = RibbonElement::Kind::Label;
    constexpr auto Zone = RibbonElement::Kind::HotZone;

    design(TabBand, Pic, 0, 0, 405, 2130, true);
    design(TabBandLeft, Pic, 0, 0, 165, 2130);
    design(TabBandRight, Pic, 480, 0, 165, 2130);
    for (RibbonPart part : {TabBand, TabBandLeft, TabBandRight})
        at(part, 0).visible = true;

    design(Tab_left, Pic, 1680, 120, 150, 360);
    design(Tab_center, Pic, 1920, 120, 270, 360, true);
    design(Tab_right, Pic, 2280, 120, 150, 360);
    design(Tab_left_over, Pic, 1680, 600, 150, 360);
    design(Tab_center_over, Pic, 1920, 600, 270, 360, true);
    design(Tab_right_over, Pic, 2280, 600, 150, 360);
    design(Tab_caption, Label, 840, 180, 690, 240);
    design(TabMouse, Zone, 2520, 120, 735, 360);

    design(Cat_Left_off, Pic, 5040, 150, 60, 1335);
    design(Cat_Center_off, Pic, 5160, 150, 75, 1335, true);
    design(Cat_Right_off, Pic, 5400, 150, 75, 1335);
    design(Cat_Left_on, Pic, 5760, 150, 60, 1335);
    design(Cat_Center_on, Pic, 5880, 150, 60, 1335, true);
    design(Cat_Right_on, Pic, 6120, 150, 75, 1335);
    design(Cat_Caption, Label, 5040, 1200, 630, 240);
    design(CatMouse, Zone, 4560, 150, 375, 1350);
    design(Cat_Dlg, Pic, 3600, 1320, 225, 210);
    design(Cat_Dlg_on, Pic, 3840, 1320, 225, 210);
    design(Cat_Dlg_over, Pic, 4080, 1320, 225, 210);

    design(Button_left, Pic, 960, 1800, 45, 990);
    design(Button_center, Pic, 1080, 1800, 735, 990, true);
    design(Button_right, Pic, 1920, 1800, 45, 990);
    design(Button_left_over, Pic, 2520, 1800, 45, 990);
    design(Button_center_over, Pic, 2640, 1800, 735, 990, true);
    design(Button_right_over, Pic, 3480, 1800, 45, 990);
    design(Button_Icon, Pic, 1320, 1920, 615, 495);
    design(Button_Caption, Label, 1440, 2520, 510, 180);
    design(ButMouse, Zone, 2040, 1800, 375, 990);
    design(Glyph_off, Pic, 2160, 1560, 75, 60);
    design(Glyph_on, Pic, 2280, 1560, 75, 60);

    for (RibbonPart part : {Tab_caption, Cat_Caption, Button_Caption})
        at(part, 0).autoSize = true;
    at(Tab_caption, 0).font = ribbonFont(9.75);
    at(Cat_Caption, 0).font = ribbonFont(9.75);
    at(Cat_Caption, 0).foreColor = 0xFFFFFF;
    at(Button_Caption, 0).font = ribbonFont(6.75);
    at(Button_Caption, 0).centred = true;
    at(Button_Caption, 0).foreColor = 0x80000008;
}

bool RibbonElements::exists(RibbonPart part, int index) const
{
    return families_[size_t(part)].count(index) != 0;
}

RibbonElement &RibbonElements::at(RibbonPart part, int index)
{
    auto &family = families_[size_t(part)];
    const auto found = family.find(index);
    if (found != family.end())
        return found->second;
    scratch_ = RibbonElement();
    return scratch_;
}

const RibbonElement &RibbonElements::at(RibbonPart part, int index) const
{
    const auto &family = families_[size_t(part)];
    const auto found = family.find(index);
    if (found != family.end())
        return found->second;
    static const RibbonElement missing;
    return missing;
}

int RibbonElements::highestIndex(RibbonPart part) const
{
    const auto &family = families_[size_t(part)];
    return family.empty() ? -1 : family.rbegin()->first;
}

void RibbonElements::create(RibbonPart part, int index)
{
    auto &family = families_[size_t(part)];
    if (index <= 0 || family.count(index))
        return;
    RibbonElement element = family.at(0);
    element.visible = false;
    element.z = nextZ_++;
    family[index] = element;
}

void RibbonElements::remove(RibbonPart part, int index)
{
    if (index > 0)
        families_[size_t(part)].erase(index);
}

void RibbonElements::bringToFront(RibbonPart part, int index)
{
    if (exists(part, index))
        at(part, index).z = nextZ_++;
}

void RibbonElements::show(RibbonPart part, int index, bool visible)
{
    at(part, index).visible = visible;
}

void RibbonElements::setPicture(RibbonPart part, int index, const QPixmap &picture)
{
    RibbonElement &element = at(part, index);
    element.picture = picture;
    if (!element.stretch) {
        element.width = Units::pixelsToTwips(picture.width());
        element.height = Units::pixelsToTwips(picture.height());
    }
}

void RibbonElements::setText(RibbonPart part, int index, const QString &text)
{
    RibbonElement &element = at(part, index);
    element.text = text;
    if (element.autoSize) {
        const QSizeF size = textSize(element.font, text);
        element.width = size.width();
        element.height = size.height();
    }
}

QVector<const RibbonElement *> RibbonElements::paintOrder() const
{
    QVector<const RibbonElement *> shown;
    for (const auto &family : families_) {
        for (const auto &[index, element] : family) {
            if (element.visible)
                shown.append(&element);
        }
    }
    std::sort(shown.begin(), shown.end(),
              [](const RibbonElement *a, const RibbonElement *b) { return a->z < b->z; });
    return shown;
}

std::optional<RibbonHit> RibbonElements::hitTest(const QPoint &pixel) const
{
    std::optional<RibbonHit> best;
    quint64 bestZ = 0;
    for (int part = 0; part < RibbonPartCount; ++part) {
        for (const auto &[index, element] : families_[size_t(part)]) {
            if (element.visible && element.z > bestZ && element.pixelRect().contains(pixel)) {
                best = RibbonHit{RibbonPart(part), index};
                bestZ = element.z;
            }
        }
    }
    return best;
}
