// Hover and pressed looks, and the clicks the ribbon reports to its host.
#include "controls/ribbon/RibbonMenu.h"

namespace {

using enum RibbonPart;

} // namespace

void RibbonMenu::HighlightTab(int i)
{
    RibbonElements &e = elements_;
    for (int u = 0; u <= e.highestIndex(TabMouse); ++u) {
        if (u == i) {
            // The selected tab keeps its own look.
            if (!e.isShown(Tab_center, u)) {
                for (RibbonPart part : {Tab_center_over, Tab_left_over, Tab_right_over})
                    e.show(part, u);
            }
        } else if (e.isShown(Tab_center_over, u)) {
            for (RibbonPart part : {Tab_center_over, Tab_left_over, Tab_right_over})
                e.hide(part, u);
        }
    }
}

void RibbonMenu::HighlightCategory(int i)
{
    RibbonElements &e = elements_;
    for (int g = 0; g <= e.highestIndex(CatMouse); ++g) {
        if (g == i) {
            for (RibbonPart part : {Cat_Center_on, Cat_Left_on, Cat_Right_on})
                e.show(part, g);
            if (e.isShown(Cat_Dlg, g)) {
                e.show(Cat_Dlg_on, g);
                e.hide(Cat_Dlg_over, g);
            }
        } else if (e.isShown(Cat_Center_on, g)) {
            for (RibbonPart part : {Cat_Center_on, Cat_Left_on, Cat_Right_on})
                e.hide(part, g);
            if (e.isShown(Cat_Dlg, g)) {
                e.hide(Cat_Dlg_on, g);
                e.hide(Cat_Dlg_over, g);
            }
        }
    }
}

void RibbonMenu::HighlightButton(int i)
{
    RibbonElements &e = elements_;
    for (int b = 0; b <= e.highestIndex(ButMouse); ++b) {
        if (b == i) {
            if (!e.isShown(Button_left, b)) {
                for (RibbonPart part : {Button_left, Button_center, Button_right})
                    e.show(part, b);
                if (e.isShown(Glyph_off, b))
                    e.show(Glyph_on, b);
            }
        } else if (e.isShown(Button_center, b)) {
            for (RibbonPart part : {Button_left, Button_right, Button_center})
                e.hide(part, b);
            if (e.isShown(Glyph_off, b))
                e.hide(Glyph_on, b);
        }
    }
}

void RibbonMenu::pointerMovedOver(const RibbonHit &hit)
{
    switch (hit.part) {
    case TabBand:
    case TabBandLeft:
    case TabBandRight:
        HighlightTab(-1);
        HighlightCategory(-1);
        HighlightButton(-1);
        break;
    case TabMouse:
        HighlightTab(hit.index);
        HighlightCategory(-1);
        HighlightButton(-1);
        break;
    case CatMouse:
    case Cat_Dlg:
    case Cat_Dlg_on:
        HighlightTab(-1);
        HighlightCategory(hit.index);
        HighlightButton(-1);
        if (hit.part == Cat_Dlg_on)
            elements_.show(Cat_Dlg_over, hit.index);
        break;
    case ButMouse:
        HighlightTab(-1);
        HighlightCategory(elements_.at(Button_center, hit.index).tag.toInt());
        HighlightButton(hit.index);
        break;
    default:
        return;
    }
    update();
}

void RibbonMenu::clicked(const RibbonHit &hit)
{
    switch (hit.part) {
    case TabMouse:
        switchTab(hit.index);
        break;
    case Cat_Dlg_over: {
        const RibbonElement &caption = elements_.at(Cat_Caption, hit.index);
        emit CatClick(caption.tag, caption.text);
        break;
    }
    case ButMouse:
        emit ButtonClick(elements_.at(ButMouse, hit.index).tag,
                         elements_.at(Button_Caption, hit.index).text);
        break;
    default:
        break;
    }
}

void RibbonMenu::switchTab(int t)
{
    const QVector<RibbonTab> &tabs = model_.tabs();
    if (t < 0 || t >= tabs.size())
        return;
    RibbonElements &e = elements_;
    HighlightTab(-1);
    for (int u = 0; u <= e.highestIndex(TabMouse); ++u) {
        const bool selected = u == t;
        for (RibbonPart part : {Tab_center, Tab_left, Tab_right})
            e.show(part, u, selected);
        e.at(Tab_caption, u).foreColor = selected ? selectedTabCaptionColor_ : tabCaptionColor_;
    }
    const RibbonTab tab = tabs[t];
    model_.setCurrentTab(tab.id);
    BuildCategories();
    update();
    emit TabClick(tab.id, tab.caption);
}
