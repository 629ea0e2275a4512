#pragma once

#include "controls/ribbon/ImageList.h"
#include "controls/ribbon/RibbonElements.h"
#include "controls/ribbon/RibbonModel.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class PropertyBag;

// The program's own ribbon menu: a tab strip and, below it, the current tab's categories with
// their picture buttons, in one of three colour themes. The host adds entries and calls Refresh;
// the control draws and hit-tests its display elements itself.
class RibbonMenu : public QWidget
{
    Q_OBJECT

public:
    explicit RibbonMenu(QWidget *parent = nullptr);

    void Refresh();
    // The add operations always return false. Errors: 9 when a table is full; AddButton 91
    // without an image list (the button is stored all the same).
    bool AddTab(const QString &zID, const QString &zCaption);
    bool AddCat(const QString &zID, const QString &zTab, const QString &zCaption, bool zDlgButton);
    bool AddButton(const QString &zID, const QString &zSubCat, const QString &zCaption,
                   int zPicture, bool zMore = false, const QString &zToolTip = QString());

    int Theme() const { return theme_; }
    // Values outside 0 to 2 become 0; the theme is applied at once.
    void setTheme(int New_Theme);
    bool ButtonCenter() const { return buttonCenter_; }
    // Takes effect at the following layout.
    void setButtonCenter(bool New_BC);
    // The current theme's backdrop for the host window.
    QPixmap LoadBackground() const;
    void Resize();
    void setImageList(ImageList *zImageList) { imageList_ = zImageList; }
    quint32 BackColor() const { return backColor_; }
    quint32 ForeColor() const { return foreColor_; }

    // Loading only stores the values: the host applies the theme by writing it.
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    const RibbonModel &model() const { return model_; }
    const QString &CurrentTab() const { return model_.CurrentTab(); }
    quint32 TabCaptionColor() const { return tabCaptionColor_; }
    quint32 SelectedTabCaptionColor() const { return selectedTabCaptionColor_; }
    const RibbonElements &elements() const { return elements_; }

    QSize sizeHint() const override;

signals:
    void TabClick(const QString &id, const QString &Caption);
    void CatClick(const QString &id, const QString &Caption);
    void ButtonClick(const QString &id, const QString &Caption);
    // A persisted property was written: the host saves the control's properties.
    void PropertyChanged(const QString &name);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Layout (RibbonLayout.cpp).
    void BuildTabs();
    void BuildCategories();
    int BuildCategoryButtons(const QString &categoryId, int firstLeft, int categoryIndex);

    // Looks (RibbonHover.cpp); -1 means none.
    void HighlightTab(int i);
    void HighlightCategory(int i);
    void HighlightButton(int i);
    void pointerMovedOver(const RibbonHit &hit);
    void clicked(const RibbonHit &hit);
    void switchTab(int t);

    void ApplyTheme(int theme);
    void applyHeight();

    RibbonModel model_;
    RibbonElements elements_;
    QPointer<ImageList> imageList_;
    int theme_ = 0;
    bool buttonCenter_ = false;
    quint32 tabCaptionColor_ = 0;
    quint32 selectedTabCaptionColor_ = 0;
    quint32 backColor_ = 0x464646;
    quint32 foreColor_ = 0xFFFFFF;
    std::optional<RibbonHit> pressed_;
};
