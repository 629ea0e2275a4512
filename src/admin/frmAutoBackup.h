#pragma once

#include <QWidget>

class BackgroundWork;
class QLabel;
class QLineEdit;
class QProgressBar;
class StyledButton;

// AUTO BACKUP: what the user meets on leaving the program. It backs the open company up (a
// checked copy, its archive, the backup time and a copy in the backup folder), hands the archive
// to the mail window, ends the program (Close, Esc) or goes back to work ("X").
class frmAutoBackup : public QWidget
{
    Q_OBJECT

public:
    explicit frmAutoBackup(QWidget *parent = nullptr);

    // While a backup runs the window says so and its commands wait.
    bool working() const;

    // The main window's property that lets its close pass whatever was loaded after this window.
    static constexpr const char *ExitApprovedProperty = "exitApproved";

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Purpose { Keep, Mail };

    void buildControls();
    void startBackup(Purpose purpose);
    // percent: how far the step got, or -1 where it cannot tell.
    void showStep(const QString &text, int percent);
    void setWorking(bool working);
    void backupSaved();
    void cmdPath_Click();
    void leaveProgram(bool hideRibbon);

    QLineEdit *txtPath = nullptr;
    StyledButton *cmdPath = nullptr;
    StyledButton *cmdbackup = nullptr;
    StyledButton *cmdEmailBackup = nullptr;
    StyledButton *cmdClose = nullptr;
    QLabel *lblClose = nullptr;
    QLabel *lblWorking = nullptr;
    QProgressBar *prgWorking = nullptr;
    BackgroundWork *work_ = nullptr;
};
