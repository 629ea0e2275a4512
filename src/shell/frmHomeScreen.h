#pragma once

#include <QDateTime>
#include <QList>
#include <QWidget>

class QLabel;
class StyledButton;

// The home screen: a status bar with the default printer and the last backup, and a support panel
// at the left edge that widens while the mouse is over it.
class frmHomeScreen : public QWidget
{
    Q_OBJECT

public:
    explicit frmHomeScreen(QWidget *parent = nullptr);

    // Its designed size: the main window's area frames it at that size.
    QSize sizeHint() const override { return size(); }

    // Reads the time of the last backup.
    void LastBackupDt();
    const QDateTime &LastBackupDate() const { return lastBackupDate_; }

    bool panelExpanded() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(class QMouseEvent *event) override;
    void resizeEvent(class QResizeEvent *event) override;

private:
    void expandPanel();
    void collapsePanel();
    void cmdSupport_Click(int index);
    void followMainWindow();

    QWidget *fraNavigation;
    QLabel *lblPanelText;
    QWidget *PicBar;
    QLabel *lblPrinter;
    QList<StyledButton *> cmdSupport;
    QDateTime lastBackupDate_;
};
