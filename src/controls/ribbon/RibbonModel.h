#pragma once

#include <QPixmap>
#include <QString>
#include <QVector>

class ImageList;

struct RibbonTab
{
    QString id;
    QString caption;
};

struct RibbonCategory
{
    QString id;
    QString tab; // ID of the tab it belongs to
    QString caption;
    bool dialogButton = false;
};

struct RibbonButton
{
    QString id;
    QString category; // ID of the category it belongs to
    QString caption;  // kept with CR LF: a two-line caption
    QPixmap picture;
    QString toolTip;
    bool more = false;
};

// The ribbon's entries: fixed-capacity tables filled only by appending. Entries refer to one
// another by ID text; nothing checks that the IDs are unique or that the named tab or category
// exists.
class RibbonModel
{
public:
    static constexpr int TabCapacity = 31;
    static constexpr int CategoryCapacity = 31;
    static constexpr int ButtonCapacity = 91;

    // Each throws AppError 9 when its table is full, storing nothing.
    void addTab(const QString &id, const QString &caption);
    void addCategory(const QString &id, const QString &tab, const QString &caption,
                     bool dialogButton);
    // The entry is stored before its picture is taken: with no image list (error 91) or a picture
    // number the list does not hold (the list's error) the button stays, without picture or glyph.
    void addButton(const QString &id, const QString &category, const QString &caption, int picture,
                   const ImageList *images, bool more, const QString &toolTip);

    const QVector<RibbonTab> &tabs() const { return tabs_; }
    const QVector<RibbonCategory> &categories() const { return categories_; }
    const QVector<RibbonButton> &buttons() const { return buttons_; }
    int TabCount() const { return int(tabs_.size()); }
    int CatCount() const { return int(categories_.size()); }
    int ButtonCount() const { return int(buttons_.size()); }

    const QString &CurrentTab() const { return currentTab_; }
    void setCurrentTab(const QString &id) { currentTab_ = id; }

    // Tab and category captions and tool tips show on one line.
    static QString oneLine(const QString &text);
    // Source of the control's errors: the executable's name.
    static QString errorSource();

private:
    QVector<RibbonTab> tabs_;
    QVector<RibbonCategory> categories_;
    QVector<RibbonButton> buttons_;
    QString currentTab_;
};
