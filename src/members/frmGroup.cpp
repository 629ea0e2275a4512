#include "members/frmGroup.h"

#include "controls/button/StyledButton.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "members/GroupRecords.h"
#include "members/MembersLook.h"
#include "members/MembersWindows.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

using FormBuilder::kind;

namespace {

const QString SaveCaption = QStringLiteral("&Save");
const QString UpdateCaption = QStringLiteral("&Update");

qint64 keyOf(const QLineEdit *box)
{
    return qint64(Numbers::leadingValue(box->text()));
}

void refuseGroupInUse()
{
    Dialogs::critical(QStringLiteral("This Group has been use in Transaction Can't be Deleted"),
                      QStringLiteral("Can't be Delete"));
}

} // namespace

frmGroup::frmGroup(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Group Entry Form"));
    buildControls();
    Lv1Load();
    txtGroupName->setFocus();
}

void frmGroup::buildControls()
{
    FormBuilder::setClientSize(this, 8160, 7800);
    setFixedSize(size());
    MembersLook::paintFace(this);
    // Rows in the order of the Enter chain, so the tab order follows it too.
    FormBuilder::build(
        this,
        {
            {kind<QLabel>(), "lblHeader", "GROUP ENTRY FORM", 0, 0, 8160, 540},
            {kind<QLabel>(), "lblGroupName", "Group Name", 240, 780, 2400, 330},
            {kind<QLineEdit>(), "txtGroupName", "", 2700, 750, 5220, 360},
            {kind<QLabel>(), "lblFinePerDay", "Fine Per Day", 240, 1230, 2400, 330},
            {kind<QLineEdit>(), "txtFinePerDay", "", 2700, 1200, 1800, 360},
            {kind<QLabel>(), "lblMaxBooks", "Max No. of Boooks Allowed", 240, 1680, 2400, 330},
            {kind<QLineEdit>(), "txtMaxBooks", "", 2700, 1650, 1800, 360},
            {kind<QLabel>(), "lblMaxDay", "Max Days Allowed", 240, 2130, 2400, 330},
            {kind<QLineEdit>(), "txtMaxDay", "", 2700, 2100, 1800, 360},
            {kind<QLabel>(), "lblRemarks", "Remarks", 240, 2580, 2400, 330},
            {kind<QLineEdit>(), "txtRemarks", "", 2700, 2550, 5220, 360},
            {kind<StyledButton>(), "cmdsave", "", 2700, 3090, 1560, 480},
            {kind<StyledButton>(), "cmdDelete", "", 4380, 3090, 1560, 480},
            {kind<QGroupBox>(), "fraList", "Student List", 120, 3720, 7920, 3960},
            {kind<RecordList>(), "fraList/Lv1", "", 120, 300, 7680, 3540},
            {kind<QWidget>(), "Frame1", "", 0, 0, 0, 0},
            {kind<QLineEdit>(), "Frame1/txtGroupID", "", 0, 0, 0, 0},
        });
    findChild<QWidget *>(QStringLiteral("Frame1"))->hide();
    MembersLook::paintHeader(findChild<QLabel *>(QStringLiteral("lblHeader")));

    txtGroupID = findChild<QLineEdit *>(QStringLiteral("txtGroupID"));
    txtGroupName = findChild<QLineEdit *>(QStringLiteral("txtGroupName"));
    txtFinePerDay = findChild<QLineEdit *>(QStringLiteral("txtFinePerDay"));
    txtMaxBooks = findChild<QLineEdit *>(QStringLiteral("txtMaxBooks"));
    txtMaxDay = findChild<QLineEdit *>(QStringLiteral("txtMaxDay"));
    txtRemarks = findChild<QLineEdit *>(QStringLiteral("txtRemarks"));
    cmdsave = findChild<StyledButton *>(QStringLiteral("cmdsave"));
    cmdDelete = findChild<StyledButton *>(QStringLiteral("cmdDelete"));
    Lv1 = findChild<RecordList *>(QStringLiteral("Lv1"));

    // This window has no focus colouring: its boxes keep one colour.
    for (QLineEdit *box : {txtGroupName, txtFinePerDay, txtMaxBooks, txtMaxDay, txtRemarks})
        KeyPreview::setBackColour(box, MembersLook::BoxColour);

    cmdsave->setCaption(SaveCaption);
    cmdDelete->setCaption(QStringLiteral("De&lete"));
    connect(cmdsave, &StyledButton::Click, this, &frmGroup::cmdsave_Click);
    connect(cmdDelete, &StyledButton::Click, this, &frmGroup::cmdDelete_Click);

    Lv1->setColumns({QStringLiteral("ID"), QStringLiteral("GroupName"), QStringLiteral("Fine"),
                     QStringLiteral("Max Books"), QStringLiteral("Max Days"),
                     QStringLiteral("Remarks")},
                    {0, 3000, 800, 1200, 1200, 1000});
    for (int column : {2, 3, 4})
        Lv1->records()->setAlignment(column, Qt::AlignRight);
    SetListViewStripes(Lv1, 0xFFFFFF, 0xF3F3ED);
    connect(Lv1, &RecordList::rowOpened, this, [](double key) {
        LoadGroupForUpdate(qint64(key));
    });

    KeyPreview::installEnterChain(
        this, {txtGroupName, txtFinePerDay, txtMaxBooks, txtMaxDay, txtRemarks, cmdsave});
    KeyPreview::installEscClose(this);
}

bool frmGroup::isNewGroup() const
{
    return cmdsave->caption() == SaveCaption;
}

void frmGroup::Lv1Load()
{
    try {
        Recordset groups = GroupRecords::list(Module::open(Module::CompanyDb));
        Lv1->fill(groups, {QStringLiteral("GroupID"), QStringLiteral("GroupName"),
                           QStringLiteral("FinePerDay"), QStringLiteral("MaxBooks"),
                           QStringLiteral("MaxDays"), QStringLiteral("Remarks")});
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void frmGroup::ida()
{
    txtGroupID->setText(QString::number(GroupRecords::nextId(Module::open(Module::CompanyDb))));
}

void frmGroup::cmdsave_Click()
{
    if (txtGroupName->text().isEmpty()) {
        Dialogs::message(QStringLiteral("Enter Group Name"), Dialogs::Buttons::Ok,
                         Dialogs::Icon::Information);
        return;
    }
    try {
        const bool isNew = isNewGroup();
        Group group;
        group.id = keyOf(txtGroupID);
        group.name = txtGroupName->text();
        group.finePerDay = Numbers::leadingValue(txtFinePerDay->text());
        group.maxBooks = Numbers::leadingValue(txtMaxBooks->text());
        group.maxDays = Numbers::leadingValue(txtMaxDay->text());
        group.remarks = txtRemarks->text();
        // A new group's key is taken inside the save, where no other program can take it too;
        // a delete that follows acts on the key it was stored under.
        const qint64 key =
            GroupRecords::save(Module::open(Module::CompanyDb), group,
                               isNew ? GroupRecords::Write::Add : GroupRecords::Write::Replace);
        txtGroupID->setText(QString::number(key));
        Dialogs::message(QStringLiteral("Group has been Saved sucessfully"), Dialogs::Buttons::Ok,
                         Dialogs::Icon::Information);
        GetCleanBox();
    } catch (const AppError &error) {
        Dialogs::information(error.description() + QStringLiteral(" \r\n"));
    }
}

bool frmGroup::recordentry()
{
    if (!GroupRecords::inUse(Module::open(Module::CompanyDb), keyOf(txtGroupID)))
        return true;
    refuseGroupInUse();
    return false;
}

void frmGroup::cmdDelete_Click()
{
    // Until a group is loaded or saved there is no group to delete.
    if (txtGroupID->text().isEmpty())
        return;
    try {
        if (!recordentry())
            return;
        if (!Dialogs::askYesNo(QStringLiteral("Are You Sure To Delete this Group")))
            return;
        // Another program may have given the group a card while the question was open.
        if (!GroupRecords::remove(Module::open(Module::CompanyDb), keyOf(txtGroupID))) {
            refuseGroupInUse();
            return;
        }
        Dialogs::information(QStringLiteral("Group Deleted Sucessfully"));
        GetCleanBox();
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void frmGroup::GetCleanBox()
{
    for (QLineEdit *box : {txtGroupName, txtFinePerDay, txtMaxBooks, txtMaxDay, txtRemarks})
        box->clear();
    cmdsave->setCaption(SaveCaption);
    txtGroupName->setFocus();
    Lv1Load();
}

void frmGroup::loadRecord(qint64 groupId)
{
    const auto group = GroupRecords::find(Module::open(Module::CompanyDb), groupId);
    // A group gone since the list was filled leaves the window as it is: in update mode its
    // boxes would be saved over the group whose key the window still holds.
    if (!group)
        return;
    txtGroupID->setText(QString::number(group->id));
    txtGroupName->setText(group->name);
    txtFinePerDay->setText(Numbers::plainText(group->finePerDay));
    txtMaxBooks->setText(Numbers::plainText(group->maxBooks));
    txtMaxDay->setText(Numbers::plainText(group->maxDays));
    txtRemarks->setText(group->remarks);
    cmdsave->setCaption(UpdateCaption);
    txtGroupName->setFocus();
}
