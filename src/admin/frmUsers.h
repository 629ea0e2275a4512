#pragma once

#include <QPointer>
#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class RecordList;
class StyledButton;

// User's Information: lists the users with a name filter, adds users, and lets a SUPER USER change
// or delete them.
class frmUsers : public QWidget
{
    Q_OBJECT

public:
    explicit frmUsers(QWidget *parent = nullptr);

    // The offered positions, read when the window opens and again when the positions window it
    // opened closes.
    void LoadAllPosition();
    // Refills the list and its count from the filter text.
    void Lv1Load();
    // The "User" rights of the logged-in position on the add button; the password label is a
    // SUPER USER's only.
    void GetUserPositionAdd();

    static constexpr const char *PositionWindow = "frmPosition";

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void styleControls();
    void installKeys();
    void cmdAdd_Click();
    void saveUser(const QString &caption);
    void cmdDelete_Click();
    void Lv1_DblClick();
    void showPosition(const QString &position);
    void maskPassword(bool masked);
    int userKey() const;
    void closeWindow();
    void showPositionsWindow();
    // The positions read again (the positions window closing, a refused position), the one shown
    // kept where it is still offered.
    void reloadPositions();
    void refusePosition(const QString &refusal);

    QFrame *fraUser = nullptr;
    QLineEdit *txtUserName = nullptr;
    QComboBox *cboPosition = nullptr;
    QLineEdit *txtPassword = nullptr;
    QLabel *lblShow = nullptr;
    QLineEdit *txtUserID = nullptr;
    StyledButton *cmdAdd = nullptr;
    StyledButton *cmdDelete = nullptr;
    StyledButton *cmdClose = nullptr;
    RecordList *Lv1 = nullptr;
    QLineEdit *txtSearch = nullptr;
    QLabel *lblCount = nullptr;

    // The positions window opened from here, watched for its closing.
    QPointer<QWidget> positionsWindow_;
    // A press on the password label that its release turns into a click (not a double-click's).
    bool showPressed_ = false;
};
