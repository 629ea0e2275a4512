#pragma once

#include <QWidget>

class QLineEdit;
class RecordList;
class StyledButton;

// Group Entry Form: the member groups (fine per day, book limit, loan days) with the list of all
// groups below; a row opens its group for changing. Every user may change groups.
class frmGroup : public QWidget
{
    Q_OBJECT

public:
    explicit frmGroup(QWidget *parent = nullptr);

    QSize sizeHint() const override { return size(); }

    // Refills the list with every group in name order.
    void Lv1Load();
    // True when no card names the group in txtGroupID.
    bool recordentry();
    // Empties the entry boxes and returns to a new group.
    void GetCleanBox();
    // The new group's key into txtGroupID.
    void ida();

    // The group loader's step: fills the boxes from the stored group and turns to "&Update".
    void loadRecord(qint64 groupId);

private:
    void buildControls();
    void cmdsave_Click();
    void cmdDelete_Click();
    bool isNewGroup() const;

    QLineEdit *txtGroupID = nullptr;
    QLineEdit *txtGroupName = nullptr;
    QLineEdit *txtFinePerDay = nullptr;
    QLineEdit *txtMaxBooks = nullptr;
    QLineEdit *txtMaxDay = nullptr;
    QLineEdit *txtRemarks = nullptr;
    StyledButton *cmdsave = nullptr;
    StyledButton *cmdDelete = nullptr;
    RecordList *Lv1 = nullptr;
};
