#pragma once

#include <QMainWindow>
#include <QPointer>

class ImageList;
class QMdiArea;
class RibbonMenu;

// The main window: the ribbon menu along the top and the area in which every window but the splash
// opens. It shows itself with its first child window.
class MDIForm1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit MDIForm1(QWidget *parent = nullptr);
    ~MDIForm1() override;

    // The one main window of the run, or nullptr.
    static MDIForm1 *instance();

    RibbonMenu *RibbonMenu1() const { return ribbon_; }
    ImageList *ImageList12() const { return images_; }
    QMdiArea *area() const { return area_; }

    // Builds the ribbon menu unless an earlier login has built it.
    void buildMenuOnce();

    // The window that a ribbon button ID opens, or an empty text for an ID that opens none.
    static QString windowForButton(const QString &id);

    // The backup window's Close sets this property on the main window before it closes it: the
    // exit is approved even when another window was loaded after the backup window.
    static constexpr const char *ExitApprovedProperty = "exitApproved";

    // The close rule: may the main window close, given the window loaded last?
    static bool closeMayPass(const QString &lastLoaded, bool exitApproved, bool sessionEndRepeated);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void RibbonMenu1_ButtonClick(const QString &id, const QString &caption);

    RibbonMenu *ribbon_;
    ImageList *images_;
    QMdiArea *area_;
    bool menuBuilt_ = false;
    bool sessionEndRefused_ = false;
};
