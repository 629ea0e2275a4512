// Layout of the tab strip, the current tab's categories and their button rows, in twips.
#include "controls/ribbon/RibbonMenu.h"

#include "core/Units.h"

#include <algorithm>
#include <cstdint>

namespace {

using enum RibbonPart;

constexpr RibbonPart TabParts[] = {Tab_caption,   Tab_left,        Tab_center,     Tab_right,
                                   Tab_left_over, Tab_center_over, Tab_right_over, TabMouse};

constexpr RibbonPart CategoryParts[] = {Cat_Left_off,   Cat_Left_on,   Cat_Right_off, Cat_Right_on,
                                        Cat_Center_off, Cat_Center_on, Cat_Caption,   CatMouse,
                                        Cat_Dlg,        Cat_Dlg_on,    Cat_Dlg_over};

constexpr RibbonPart ButtonParts[] = {
    Button_left,        Button_center,     Button_right,   Button_left_over,
    Button_center_over, Button_right_over, Button_Caption, Button_Icon,
    Glyph_on,           Glyph_off,         ButMouse};

constexpr int TabStripLeft = 90;
constexpr int CategoryRowLeft = 120;
constexpr int CategoryTop = 360;
constexpr int CategoryCaptionTop = 1400;
constexpr int ButtonGap = 30;

std::int16_t nearestInt16(double value)
{
    return std::int16_t(
        std::clamp<std::int64_t>(Units::roundHalfEven(value), INT16_MIN, INT16_MAX));
}

} // namespace

void RibbonMenu::BuildTabs()
{
    RibbonElements &e = elements_;
    const QVector<RibbonTab> &tabs = model_.tabs();
    const int count = int(tabs.size());

    for (int i = 1; i <= e.highestIndex(TabMouse); ++i) {
        for (RibbonPart part : TabParts)
            e.remove(part, i);
    }

    // The current tab carries the selected look; the first one when no tab has its ID.
    int selected = 0;
    for (int i = 0; i < count; ++i) {
        if (tabs[i].id == model_.CurrentTab()) {
            selected = i;
            break;
        }
    }

    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            for (RibbonPart part : TabParts)
                e.create(part, i);
            e.at(Tab_left, i).left = e.at(Tab_right, i - 1).left + e.at(Tab_right, i).width;
        } else {
            e.at(Tab_left, 0).left = TabStripLeft;
        }
        e.at(TabMouse, i).left = e.at(Tab_left, i).left;
        e.at(Tab_caption, i).top = 60;
        for (RibbonPart part : {Tab_center, Tab_left, Tab_right, Tab_center_over, Tab_left_over,
                                Tab_right_over, TabMouse})
            e.at(part, i).top = 0;

        e.setText(Tab_caption, i, tabs[i].caption);
        RibbonElement &center = e.at(Tab_center, i);
        center.width = e.at(Tab_caption, i).width;
        center.left = e.at(Tab_left, i).right();
        e.at(Tab_caption, i).left = center.left;
        e.at(Tab_right, i).left = center.right();
        e.at(Tab_center_over, i).width = center.width;
        e.at(Tab_center_over, i).left = center.left;
        e.at(Tab_left_over, i).left = e.at(Tab_left, i).left;
        e.at(Tab_right_over, i).left = e.at(Tab_right, i).left;
        e.at(TabMouse, i).width = e.at(Tab_left, i).width + e.at(Tab_right, i).width + center.width;

        for (RibbonPart part : {Tab_center_over, Tab_left_over, Tab_right_over})
            e.hide(part, i);
        for (RibbonPart part : {Tab_center, Tab_left, Tab_right})
            e.show(part, i, i == selected);
        e.at(Tab_caption, i).foreColor =
            i == selected ? selectedTabCaptionColor_ : tabCaptionColor_;
        e.show(Tab_caption, i);
        e.show(TabMouse, i);

        for (RibbonPart part : {Tab_center, Tab_left, Tab_right, Tab_center_over, Tab_left_over,
                                Tab_right_over, Tab_caption, TabMouse})
            e.bringToFront(part, i);
    }
}

void RibbonMenu::BuildCategories()
{
    RibbonElements &e = elements_;
    for (RibbonPart part : {Cat_Center_off, Cat_Center_on, Cat_Left_off, Cat_Left_on, Cat_Right_off,
                            Cat_Right_on, CatMouse})
        e.at(part, 0).top = CategoryTop;
    e.at(Cat_Caption, 0).top = CategoryCaptionTop;

    QVector<RibbonCategory> shown;
    const QString &current = model_.CurrentTab();
    for (const RibbonCategory &category : model_.categories()) {
        if (!current.isEmpty() && !category.tab.isEmpty() && category.tab == current)
            shown.append(category);
    }

    for (int i = e.highestIndex(CatMouse); i >= 1; --i) {
        for (RibbonPart part : CategoryParts)
            e.remove(part, i);
    }
    for (int i = e.highestIndex(Button_center); i >= 1; --i) {
        for (RibbonPart part : ButtonParts)
            e.remove(part, i);
    }
    for (RibbonPart part :
         {Button_left, Button_center, Button_right, Button_Caption, Button_Icon, ButMouse})
        e.hide(part, 0);
    for (RibbonPart part : CategoryParts)
        e.hide(part, 0);

    for (int k = 0; k < shown.size(); ++k) {
        const RibbonCategory &category = shown[k];
        if (k > 0) {
            for (RibbonPart part : CategoryParts)
                e.create(part, k);
            e.at(Cat_Left_off, k).left =
                e.at(Cat_Right_off, k - 1).left + e.at(Cat_Right_off, k).width;
        } else {
            e.at(Cat_Left_off, 0).left = CategoryRowLeft;
        }
        e.at(CatMouse, k).left = e.at(Cat_Left_off, k).left;
        e.setText(Cat_Caption, k, category.caption);
        e.at(Cat_Caption, k).tag = category.id;

        RibbonElement &center = e.at(Cat_Center_off, k);
        center.left = e.at(Cat_Left_off, k).right();
        const int buttons = BuildCategoryButtons(category.id, nearestInt16(center.left), k);

        RibbonElement &caption = e.at(Cat_Caption, k);
        center.width = caption.width + (category.dialogButton ? e.at(Cat_Dlg, k).width : 0);
        if (center.width < buttons) {
            center.width = buttons;
            caption.left = center.left + (buttons - caption.width) / 2;
        } else {
            caption.left = center.left;
        }
        e.at(Cat_Right_off, k).left = center.right();
        e.at(Cat_Center_on, k).width = center.width;
        e.at(Cat_Center_on, k).left = center.left;
        e.at(Cat_Left_on, k).left = e.at(Cat_Left_off, k).left;
        e.at(Cat_Right_on, k).left = e.at(Cat_Right_off, k).left;
        e.at(CatMouse, k).width =
            e.at(Cat_Left_off, k).width + e.at(Cat_Right_off, k).width + center.width;

        for (RibbonPart part : {Cat_Caption, Cat_Center_off, Cat_Left_off, Cat_Right_off, CatMouse})
            e.show(part, k);
        for (RibbonPart part : {Cat_Center_off, Cat_Left_off, Cat_Right_off, Cat_Center_on,
                                Cat_Left_on, Cat_Right_on, Cat_Caption, CatMouse})
            e.bringToFront(part, k);

        // The launcher glyph sits at the bottom right, 15 twips into the right end piece.
        const RibbonElement &right = e.at(Cat_Right_off, k);
        RibbonElement &glyph = e.at(Cat_Dlg, k);
        glyph.left = right.left - glyph.width + 15;
        glyph.top = right.bottom() - (glyph.height + 60);
        for (RibbonPart part : {Cat_Dlg_on, Cat_Dlg_over}) {
            e.at(part, k).left = glyph.left;
            e.at(part, k).top = glyph.top;
            e.hide(part, k);
        }
        e.show(Cat_Dlg, k, category.dialogButton);
        for (RibbonPart part : {Cat_Dlg, Cat_Dlg_on, Cat_Dlg_over})
            e.bringToFront(part, k);
    }

    // No yield to the event loop here: a click handled halfway would lay out a half-built row.
    for (int j = 0; j <= e.highestIndex(ButMouse); ++j) {
        for (RibbonPart part : {Button_left, Button_right, Button_center, Button_left_over,
                                Button_right_over, Button_center_over}) {
            e.hide(part, j);
            e.bringToFront(part, j);
        }
        for (RibbonPart part : {Button_Icon, Button_Caption, Glyph_off, Glyph_on, ButMouse})
            e.bringToFront(part, j);
    }
}

int RibbonMenu::BuildCategoryButtons(const QString &categoryId, int firstLeft, int categoryIndex)
{
    RibbonElements &e = elements_;
    QVector<RibbonButton> buttons;
    for (const RibbonButton &button : model_.buttons()) {
        if (button.category == categoryId)
            buttons.append(button);
    }

    // Positions are single-precision twips, never made whole before they are assigned.
    const int first = e.highestIndex(ButMouse) + 1;
    float running = 0;
    for (int k = 0; k < buttons.size(); ++k) {
        const RibbonButton &button = buttons[k];
        const int i = first + k;
        for (RibbonPart part : ButtonParts)
            e.create(part, i);
        e.at(ButMouse, i).tag = button.id;
        e.at(Button_center, i).tag = QString::number(categoryIndex);

        const float top = float(e.at(Cat_Left_off, 0).top) + 60;
        e.at(ButMouse, i).top = top;
        for (RibbonPart part : {Button_left, Button_center, Button_right, Button_left_over,
                                Button_center_over, Button_right_over})
            e.at(part, i).top = top;

        float left = float(firstLeft);
        if (k > 0) {
            const RibbonElement &previous = e.at(ButMouse, i - 1);
            left = float(previous.left) + float(previous.width) + ButtonGap;
        }
        e.at(ButMouse, i).left = left;
        e.at(Button_left, i).left = left;
        e.at(Button_left_over, i).left = left;
        const float middleLeft = left + float(e.at(Button_left, i).width);
        e.at(Button_center, i).left = middleLeft;
        e.at(Button_center_over, i).left = middleLeft;

        e.setText(Button_Caption, i, button.caption);
        e.setPicture(Button_Icon, i, button.picture);
        RibbonElement &icon = e.at(Button_Icon, i);
        RibbonElement &caption = e.at(Button_Caption, i);
        const float middleTop = float(e.at(Button_center, i).top);
        const float iconHeight = float(icon.height);
        const float captionHeight = float(caption.height);
        if (buttonCenter_) {
            const float free = float(e.at(Button_center, i).height) - (iconHeight + captionHeight);
            icon.top =
                button.more ? middleTop + (free - captionHeight / 2) / 2 : middleTop + free / 2;
        } else {
            icon.top = middleTop + 90;
        }
        caption.top = float(icon.top) + iconHeight;
        const float glyphTop = float(caption.top) + captionHeight +
                               (captionHeight - float(e.at(Glyph_off, i).height)) / 2;
        e.at(Glyph_off, i).top = glyphTop;
        e.at(Glyph_on, i).top = glyphTop;

        const float iconWidth = float(icon.width);
        const float captionWidth = float(caption.width);
        float content = 0;
        if (captionWidth > iconWidth) {
            caption.left = middleLeft;
            icon.left = middleLeft + (captionWidth - iconWidth) / 2;
            content = captionWidth;
        } else {
            icon.left = middleLeft;
            caption.left = middleLeft + (iconWidth - captionWidth) / 2;
            content = iconWidth;
        }
        const float glyphLeft =
            float(caption.left) + (captionWidth - float(e.at(Glyph_on, i).width)) / 2;
        e.at(Glyph_off, i).left = glyphLeft;
        e.at(Glyph_on, i).left = glyphLeft;

        e.at(Button_center, i).width = content;
        e.at(Button_center_over, i).width = content;
        const float rightLeft = middleLeft + content;
        e.at(Button_right, i).left = rightLeft;
        e.at(Button_right_over, i).left = rightLeft;
        RibbonElement &zone = e.at(ButMouse, i);
        zone.width =
            float(e.at(Button_left, i).width) + content + float(e.at(Button_right, i).width);
        zone.toolTip = button.toolTip;

        for (RibbonPart part : {Button_Icon, Button_Caption, ButMouse})
            e.show(part, i);
        if (button.more) {
            e.show(Glyph_off, i);
            e.bringToFront(Glyph_off, i);
            e.bringToFront(Glyph_on, i);
        }
        running += float(zone.width) + ButtonGap;
    }
    return nearestInt16(running - ButtonGap);
}
