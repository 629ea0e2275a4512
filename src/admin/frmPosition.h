#pragma once

#include "admin/UserAdministration.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class RecordList;

// USER POSITION: lists the positions and creates, changes and deletes them with their rights.
class frmPosition : public QWidget
{
    Q_OBJECT

public:
    explicit frmPosition(QWidget *parent = nullptr);

    // Ready for a new position: empty name, "&Save", no delete; the ticks stay.
    void CleanBox();
    // Refills the list from the filter text.
    void Lv1Load();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildRightsGrid();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void Lv1_DblClick();
    // The key in txtPositionID; an empty or other text is no number.
    int positionKey() const;
    std::array<EntryRights, UserAdministration::EntryCount> ticks() const;
    void setTicks(int entry, const EntryRights &rights);
    void closeWindow();
    // The positions shape every window's rights, so they obey the Users window's "User" rights.
    void readRights();
    void applyRights();
    bool mayStore() const;
    bool refuseHeldPosition();

    QLineEdit *txtPositionName = nullptr;
    QLineEdit *txtPositionID = nullptr;
    QLineEdit *txtSearch = nullptr;
    RecordList *Lv1 = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdClose = nullptr;
    // Per entry: the Add, Modify, Delete and Print boxes.
    std::array<std::array<QCheckBox *, 4>, UserAdministration::EntryCount> rightsBoxes{};
    // Add: new positions; Modify: changes to a loaded one; Delete: deletes.
    EntryRights allowed_;
};
