#include "controls/ribbon/RibbonMenu.h"

#include "controls/ribbon/RibbonTheme.h"
#include "core/Colour.h"
#include "core/PropertyBag.h"
#include "core/Units.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// The bar reaches this far above the control's visible area.
constexpr int BarOverhang = 390;
// Wide enough for any screen.
constexpr int BarWidth = 30720;

constexpr quint32 DefaultBackColor = 0x464646;
constexpr quint32 DefaultForeColor = 0xFFFFFF;

} // namespace

RibbonMenu::RibbonMenu(QWidget *parent) : QWidget(parent)
{
    using enum RibbonPart;
    for (RibbonPart part : {TabBand, TabBandLeft, TabBandRight})
        elements_.at(part, 0).top = -BarOverhang;
    elements_.at(TabBand, 0).width = BarWidth;
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    applyHeight();
}

QSize RibbonMenu::sizeHint() const
{
    return QSize(Units::twipsToPixels(11280), height());
}

void RibbonMenu::applyHeight()
{
    const double twips = elements_.at(RibbonPart::TabBand, 0).height - BarOverhang;
    setFixedHeight(Units::twipsToPixels(twips));
}

void RibbonMenu::Resize()
{
    applyHeight();
}

void RibbonMenu::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyHeight();
}

void RibbonMenu::Refresh()
{
    applyHeight();
    BuildTabs();
    BuildCategories();
    update();
}

bool RibbonMenu::AddTab(const QString &zID, const QString &zCaption)
{
    model_.addTab(zID, zCaption);
    return false;
}

bool RibbonMenu::AddCat(const QString &zID, const QString &zTab, const QString &zCaption,
                        bool zDlgButton)
{
    model_.addCategory(zID, zTab, zCaption, zDlgButton);
    return false;
}

bool RibbonMenu::AddButton(const QString &zID, const QString &zSubCat, const QString &zCaption,
                           int zPicture, bool zMore, const QString &zToolTip)
{
    model_.addButton(zID, zSubCat, zCaption, zPicture, imageList_.data(), zMore, zToolTip);
    return false;
}

void RibbonMenu::setTheme(int New_Theme)
{
    theme_ = RibbonTheme::limited(New_Theme);
    emit PropertyChanged(QStringLiteral("Theme"));
    ApplyTheme(theme_);
}

void RibbonMenu::setButtonCenter(bool New_BC)
{
    buttonCenter_ = New_BC;
    emit PropertyChanged(QStringLiteral("ButtonCenter"));
}

QPixmap RibbonMenu::LoadBackground() const
{
    return RibbonTheme::LoadCustomResPicture(141, RibbonTheme::resourceType(theme_));
}

void RibbonMenu::ApplyTheme(int theme)
{
    using enum RibbonPart;
    const RibbonTheme::Colours colours = RibbonTheme::colours(theme);
    elements_.at(Cat_Caption, 0).foreColor = colours.categoryCaption;
    tabCaptionColor_ = colours.tabCaption;
    selectedTabCaptionColor_ = colours.selectedTabCaption;
    elements_.at(Button_Caption, 0).foreColor = colours.buttonCaption;
    backColor_ = colours.back;
    foreColor_ = colours.fore;

    static constexpr std::pair<int, RibbonPart> Pictures[] = {
        {101, TabBand},           {102, TabBandLeft},
        {103, TabBandRight},      {118, Cat_Dlg},
        {119, Cat_Dlg_on},        {120, Cat_Dlg_over},
        {121, Cat_Left_off},      {122, Cat_Center_off},
        {123, Cat_Right_off},     {124, Cat_Left_on},
        {125, Cat_Center_on},     {126, Cat_Right_on},
        {127, Tab_left},          {128, Tab_center},
        {129, Tab_right},         {130, Tab_left_over},
        {131, Tab_center_over},   {132, Tab_right_over},
        {133, Glyph_off},         {134, Glyph_on},
        {135, Button_left_over},  {136, Button_center_over},
        {137, Button_right_over}, {138, Button_left},
        {139, Button_center},     {140, Button_right},
    };
    const QString type = RibbonTheme::resourceType(theme);
    // Laid-out elements take the new look too: a ribbon half in the old theme looks broken.
    for (const auto &[number, part] : Pictures) {
        const QPixmap picture = RibbonTheme::LoadCustomResPicture(number, type);
        for (int index = 0; index <= elements_.highestIndex(part); ++index)
            elements_.setPicture(part, index, picture);
    }
    for (int index = 1; index <= elements_.highestIndex(Cat_Caption); ++index)
        elements_.at(Cat_Caption, index).foreColor = colours.categoryCaption;
    for (int index = 1; index <= elements_.highestIndex(Button_Caption); ++index)
        elements_.at(Button_Caption, index).foreColor = colours.buttonCaption;
    for (int index = 0; index <= elements_.highestIndex(Tab_caption); ++index) {
        elements_.at(Tab_caption, index).foreColor =
            elements_.isShown(Tab_center, index) ? selectedTabCaptionColor_ : tabCaptionColor_;
    }
    update();
}

void RibbonMenu::ReadProperties(const PropertyBag &bag)
{
    theme_ = RibbonTheme::limited(bag.read(QStringLiteral("Theme"), 0).toInt());
    buttonCenter_ = bag.read(QStringLiteral("ButtonCenter"), false).toBool();
}

void RibbonMenu::WriteProperties(PropertyBag &bag) const
{
    bag.write(QStringLiteral("Theme"), theme_, 0);
    bag.write(QStringLiteral("ButtonCenter"), buttonCenter_, false);
    bag.write(QStringLiteral("BackColor"), backColor_, DefaultBackColor);
    bag.write(QStringLiteral("ForeColor"), foreColor_, DefaultForeColor);
}

void RibbonMenu::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Colour::toQColor(backColor_));
    for (const RibbonElement *element : elements_.paintOrder()) {
        const QRect area = element->pixelRect();
        switch (element->kind) {
        case RibbonElement::Kind::Picture:
            if (element->picture.isNull())
                break;
            if (element->stretch)
                painter.drawPixmap(area, element->picture);
            else
                painter.drawPixmap(area.topLeft(), element->picture);
            break;
        case RibbonElement::Kind::Label: {
            painter.setFont(element->font);
            painter.setPen(Colour::toQColor(element->foreColor));
            const QFontMetrics metrics(element->font);
            const QStringList lines = element->text.split(QStringLiteral("\r\n"));
            int y = area.top();
            for (const QString &line : lines) {
                int x = area.left();
                if (element->centred)
                    x += (area.width() - metrics.horizontalAdvance(line)) / 2;
                painter.drawText(x, y + metrics.ascent(), line);
                y += metrics.height();
            }
            break;
        }
        case RibbonElement::Kind::HotZone:
            break;
        }
    }
}

bool RibbonMenu::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const std::optional<RibbonHit> hit = elements_.hitTest(help->pos());
        const QString tip = hit ? elements_.at(hit->part, hit->index).toolTip : QString();
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void RibbonMenu::mouseMoveEvent(QMouseEvent *event)
{
    if (const std::optional<RibbonHit> hit = elements_.hitTest(event->position().toPoint()))
        pointerMovedOver(*hit);
}

void RibbonMenu::mousePressEvent(QMouseEvent *event)
{
    pressed_ = elements_.hitTest(event->position().toPoint());
    if (pressed_ && pressed_->part == RibbonPart::ButMouse) {
        using enum RibbonPart;
        for (RibbonPart part : {Button_left_over, Button_center_over, Button_right_over})
            elements_.show(part, pressed_->index);
        update();
    }
}

void RibbonMenu::mouseReleaseEvent(QMouseEvent *event)
{
    const std::optional<RibbonHit> pressed = pressed_;
    if (event->buttons() == Qt::NoButton)
        pressed_.reset();
    if (!pressed)
        return;
    if (pressed->part == RibbonPart::ButMouse) {
        using enum RibbonPart;
        for (RibbonPart part : {Button_left_over, Button_center_over, Button_right_over})
            elements_.hide(part, pressed->index);
        update();
    }
    // A click is a left-button press and release on the same element.
    if (event->button() == Qt::LeftButton &&
        elements_.hitTest(event->position().toPoint()) == pressed)
        clicked(*pressed);
}
