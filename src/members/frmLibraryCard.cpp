#include "members/frmLibraryCard.h"

#include "controls/button/StyledButton.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "members/CardRecords.h"
#include "members/GroupRecords.h"
#include "members/MembersLook.h"
#include "ui/DateBox.h"
#include "ui/FormBuilder.h"
#include "ui/ImportFrame.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"
#include "ui/RightsCheck.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

using FormBuilder::kind;

namespace {

const QString SaveCaption = QStringLiteral("&Save");
const QString UpdateCaption = QStringLiteral("&Update");
const QString CardEntry = QStringLiteral("Card");

void showError(const AppError &error)
{
    Dialogs::message(error.boxText());
}

void refuseCardInUse()
{
    Dialogs::critical(QStringLiteral("This Card has been use in Transaction Can't be Deleted"),
                      QStringLiteral("Can't be Delete"));
}

} // namespace

frmLibraryCard::frmLibraryCard(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("LIBRARY CARD"));
    buildControls();
    buildListControls();
    buildExchangeControls();
    installKeys();
    try {
        RightsCheck::applyAdd(CardEntry, cmdsave);
    } catch (const AppError &error) {
        showError(error);
    }
    datepickaa();
    LoadAllGroupName();
    Lv1Load(QString());
    txtCardNo->setFocus();
    GetCardNo();
}

void frmLibraryCard::buildControls()
{
    FormBuilder::setClientSize(this, 15000, 6480);
    setFixedSize(size());
    MembersLook::paintFace(this);
    // Entry rows in the order of the Enter chain, so the tab order follows it too.
    FormBuilder::build(
        this,
        {
            {kind<QLabel>(), "lblHeader", "LIBRARY CARD", 0, 0, 15000, 540},
            {kind<QFrame>(), "fraForm", "", 120, 660, 5520, 5700},
            {kind<QLabel>(), "fraForm/lblCardNo", "Card No.", 120, 330, 1560, 330},
            {kind<QLineEdit>(), "fraForm/txtCardNo", "", 1740, 300, 3600, 360},
            {kind<QLabel>(), "fraForm/lblGroup", "Group", 120, 780, 1560, 330},
            {kind<QComboBox>(), "fraForm/cboGroupName", "", 1740, 750, 3600, 360},
            {kind<QLabel>(), "fraForm/lblRollNo", "Roll No.", 120, 1230, 1560, 330},
            {kind<QLineEdit>(), "fraForm/txtRollNo", "", 1740, 1200, 3600, 360},
            {kind<QLabel>(), "fraForm/lblName", "Name", 120, 1680, 1560, 330},
            {kind<QLineEdit>(), "fraForm/txtName", "", 1740, 1650, 3600, 360},
            {kind<QLabel>(), "fraForm/lblFatherName", "Father's Name", 120, 2130, 1560, 330},
            {kind<QLineEdit>(), "fraForm/txtFatherName", "", 1740, 2100, 3600, 360},
            {kind<QLabel>(), "fraForm/lblAddress", "Address", 120, 2580, 1560, 330},
            {kind<QLineEdit>(), "fraForm/txtaddress", "", 1740, 2550, 3600, 360},
            {kind<QLabel>(), "fraForm/lblCity", "City / Village", 120, 3030, 1560, 330},
            {kind<QLineEdit>(), "fraForm/txtCity", "", 1740, 3000, 3600, 360},
            {kind<QLabel>(), "fraForm/lblDistt", "Distt. / Tehsil", 120, 3480, 1560, 330},
            {kind<QLineEdit>(), "fraForm/txtDistt", "", 1740, 3450, 3600, 360},
            {kind<QLabel>(), "fraForm/lblContact1", "Contact No. 1", 120, 3930, 1560, 330},
            {kind<QLineEdit>(), "fraForm/txtContact1", "", 1740, 3900, 3600, 360},
            {kind<QLabel>(), "fraForm/lblContact2", "Contact No. 2", 120, 4380, 1560, 330},
            {kind<QLineEdit>(), "fraForm/txtContact2", "", 1740, 4350, 3600, 360},
            {kind<QLabel>(), "fraForm/lblRemarks", "Remarks", 120, 4830, 1560, 330},
            {kind<QLineEdit>(), "fraForm/txtRemarks", "", 1740, 4800, 3600, 360},
            {kind<QLabel>(), "fraForm/lblValidDate", "Valid Upto", 120, 5280, 1560, 330},
            {kind<DateBox>(), "fraForm/dtpValidDate", "Valid Upto", 1740, 5250, 1800, 360},
            {kind<QLabel>(), "imgHappy", "", 5820, 720, 1800, 2100},
            {kind<QLabel>(), "lblAddPicture", "Add Picture", 5820, 2850, 1800, 300},
            {kind<QFrame>(), "Frame2", "", 5820, 3300, 1800, 3060},
            {kind<StyledButton>(), "Frame2/cmdsave", "", 120, 120, 1560, 480},
            {kind<StyledButton>(), "Frame2/cmdDelete", "", 120, 705, 1560, 480},
            {kind<StyledButton>(), "Frame2/cmdPrint", "", 120, 1290, 1560, 480},
            {kind<StyledButton>(), "Frame2/cmdValidity", "", 120, 1875, 1560, 480},
            {kind<StyledButton>(), "Frame2/cmdClose", "", 120, 2460, 1560, 480},
            {kind<QWidget>(), "Frame1", "", 0, 0, 0, 0},
            {kind<QLineEdit>(), "Frame1/txtCardID", "", 0, 0, 0, 0},
            {kind<QLineEdit>(), "Frame1/txtPhoto", "", 0, 0, 0, 0},
        });
    findChild<QWidget *>(QStringLiteral("Frame1"))->hide();
    MembersLook::paintHeader(findChild<QLabel *>(QStringLiteral("lblHeader")));
    for (const char *frame : {"fraForm", "Frame2"})
        findChild<QFrame *>(QLatin1String(frame))->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    const auto box = [this](const char *name) { return findChild<QLineEdit *>(QLatin1String(name)); };
    txtCardID = box("txtCardID");
    txtPhoto = box("txtPhoto");
    txtCardNo = box("txtCardNo");
    txtRollNo = box("txtRollNo");
    txtName = box("txtName");
    txtFatherName = box("txtFatherName");
    txtaddress = box("txtaddress");
    txtCity = box("txtCity");
    txtDistt = box("txtDistt");
    txtContact1 = box("txtContact1");
    txtContact2 = box("txtContact2");
    txtRemarks = box("txtRemarks");
    cboGroupName = findChild<QComboBox *>(QStringLiteral("cboGroupName"));
    dtpValidDate = findChild<DateBox *>(QStringLiteral("dtpValidDate"));
    imgHappy = findChild<QLabel *>(QStringLiteral("imgHappy"));
    lblAddPicture = findChild<QLabel *>(QStringLiteral("lblAddPicture"));
    const auto button = [this](const char *name) {
        return findChild<StyledButton *>(QLatin1String(name));
    };
    cmdsave = button("cmdsave");
    cmdDelete = button("cmdDelete");
    cmdClose = button("cmdClose");
    cmdPrint = button("cmdPrint");
    cmdValidity = button("cmdValidity");

    txtCardNo->setMaxLength(50);
    txtRollNo->setMaxLength(50);
    for (QLineEdit *text : {txtName, txtFatherName, txtaddress, txtCity, txtDistt, txtContact1,
                            txtContact2, txtRemarks})
        text->setMaxLength(255);
    cboGroupName->setEditable(true);
    cboGroupName->setInsertPolicy(QComboBox::NoInsert);
    KeyPreview::setBackColour(cboGroupName, 0xFEF7F3);
    KeyPreview::setBackColour(txtRemarks, 0xFEF7F3);
    KeyPreview::installFocusColours({txtCardNo, txtRollNo, txtName, txtFatherName, txtaddress,
                                     txtCity, txtDistt, txtContact1, txtContact2});

    imgHappy->setFrameStyle(QFrame::Box | QFrame::Plain);
    imgHappy->setAlignment(Qt::AlignCenter);
    imgHappy->setCursor(Qt::PointingHandCursor);
    showPhoto(placeholderPhoto());
    lblAddPicture->setAlignment(Qt::AlignCenter);
    lblAddPicture->setCursor(Qt::PointingHandCursor);
    QFont link = lblAddPicture->font();
    link.setUnderline(true);
    lblAddPicture->setFont(link);
    imgHappy->installEventFilter(this);
    lblAddPicture->installEventFilter(this);
    txtCardNo->installEventFilter(this);

    cmdsave->setCaption(SaveCaption);
    cmdDelete->setCaption(QStringLiteral("&Delete"));
    cmdDelete->setEnabled(false);
    cmdClose->setCaption(QStringLiteral("&Close"));
    cmdPrint->setCaption(QStringLiteral("&Print"));
    cmdValidity->setCaption(QStringLiteral("&Validity"));
    connect(cmdsave, &StyledButton::Click, this, &frmLibraryCard::cmdsave_Click);
    connect(cmdDelete, &StyledButton::Click, this, &frmLibraryCard::cmdDelete_Click);
    connect(cmdClose, &StyledButton::Click, this, [this] {
        if (auto *frame = parentWidget(); frame && frame->inherits("QMdiSubWindow"))
            frame->close();
        else
            close();
    });
}

void frmLibraryCard::installKeys()
{
    // Esc closes the window, also while the validity panel is open; nothing is asked.
    KeyPreview::installEscClose(this);
    KeyPreview::installEnterChain(this, {txtCardNo, cboGroupName, txtRollNo, txtName,
                                         txtFatherName, txtaddress, txtCity, txtDistt,
                                         txtContact1, txtContact2, txtRemarks, dtpValidDate,
                                         cmdsave});
    KeyPreview::installEnterChain(this, {dtpFromDate, dtpToDate, cmdSearch});
}

bool frmLibraryCard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtCardNo && event->type() == QEvent::FocusIn) {
        // A message box or another application giving the focus back is no new visit.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            GetCardNo();
    } else if ((watched == imgHappy || watched == lblAddPicture) &&
               event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        choosePhoto();
        return true;
    } else if ((watched == lblExport || watched == lblImport) &&
               event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == lblExport)
            lblExport_Click();
        else
            fraImport->show();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool frmLibraryCard::isNewCard() const
{
    return cmdsave->caption() == SaveCaption;
}

QList<QLineEdit *> frmLibraryCard::memberBoxes() const
{
    return {txtCardNo,  txtName, txtRollNo,   txtFatherName, txtaddress,
            txtCity,    txtDistt, txtContact1, txtContact2};
}

void frmLibraryCard::LoadAllGroupName()
{
    cboGroupName->clear();
    try {
        for (const QString &name : GroupRecords::names(Module::open(Module::CompanyDb)))
            cboGroupName->addItem(name);
    } catch (const AppError &error) {
        showError(error);
    }
    cboGroupName->setCurrentIndex(cboGroupName->count() > 0 ? 0 : -1);
}

void frmLibraryCard::GetCardNo()
{
    if (!isNewCard())
        return;
    try {
        txtCardNo->setText(
            Numbers::plainText(CardRecords::proposedCardNo(Module::open(Module::CompanyDb))));
    } catch (const AppError &error) {
        showError(error);
    }
}

void frmLibraryCard::ida()
{
    txtCardID->setText(QString::number(CardRecords::nextId(Module::open(Module::CompanyDb))));
}

void frmLibraryCard::cmdsave_Click()
{
    if (txtCardNo->text().isEmpty()) {
        Dialogs::information(QStringLiteral("Enter Card No."));
        return;
    }
    if (txtName->text().isEmpty()) {
        Dialogs::information(QStringLiteral("Enter Card Name"));
        return;
    }
    const auto validUpto = dtpValidDate->checkedDate();
    if (!validUpto)
        return;
    try {
        Database &db = Module::open(Module::CompanyDb);
        const bool isNew = isNewCard();
        Card card;
        card.id = qint64(Numbers::leadingValue(txtCardID->text()));
        card.cardNo = Numbers::leadingValue(txtCardNo->text());
        card.rollNo = txtRollNo->text();
        card.name = txtName->text();
        card.contact1 = txtContact1->text();
        card.contact2 = txtContact2->text();
        card.fatherName = txtFatherName->text();
        card.address = txtaddress->text();
        card.city = txtCity->text();
        card.district = txtDistt->text();
        card.photo = txtPhoto->text();
        card.remarks = txtRemarks->text();
        card.validUpto = *validUpto;
        // A new card's key and the card's group are taken inside the save, where no other
        // program can take the key too or delete the group meanwhile.
        const auto write = isNew ? CardRecords::Write::Add : CardRecords::Write::Replace;
        const qint64 key = CardRecords::save(db, card, write, cboGroupName->currentText());
        txtCardID->setText(QString::number(key));
    } catch (const AppError &error) {
        showError(error);
        return;
    }
    Dialogs::information(QStringLiteral("New Card has been Added"));
    GetCleanBox();
}

bool frmLibraryCard::recordentry()
{
    const qint64 key = qint64(Numbers::leadingValue(txtCardID->text()));
    if (!CardRecords::inUse(Module::open(Module::CompanyDb), key))
        return true;
    refuseCardInUse();
    return false;
}

void frmLibraryCard::cmdDelete_Click()
{
    try {
        if (!recordentry())
            return;
        if (!Dialogs::askYesNo(QStringLiteral("Are You Sure To Delete this Card")))
            return;
        // Another program may have issued a book to the card while the question was open.
        if (!CardRecords::remove(Module::open(Module::CompanyDb),
                                 qint64(Numbers::leadingValue(txtCardID->text())))) {
            refuseCardInUse();
            return;
        }
    } catch (const AppError &error) {
        showError(error);
        return;
    }
    Dialogs::information(QStringLiteral("Card Deleted Sucessfully"));
    GetCleanBox();
}

void frmLibraryCard::GetCleanBox()
{
    for (QLineEdit *text : memberBoxes())
        text->clear();
    txtPhoto->clear();
    imgHappy->clear();
    cmdsave->setCaption(SaveCaption);
    cmdDelete->setEnabled(false);
    // The focus arriving in the card number proposes one; a box that has it already, or a window
    // that is not active, gets no focus event.
    const bool focusedBefore = txtCardNo->hasFocus();
    txtCardNo->setFocus();
    if (focusedBefore || !txtCardNo->hasFocus())
        GetCardNo();
    Lv1Load(QString());
}

QImage frmLibraryCard::placeholderPhoto()
{
    return QImage(QStringLiteral(":/members/NoPhoto.png"));
}

void frmLibraryCard::showPhoto(const QImage &image)
{
    imgHappy->setPixmap(QPixmap::fromImage(image.scaled(imgHappy->contentsRect().size(),
                                                        Qt::KeepAspectRatio,
                                                        Qt::SmoothTransformation)));
}

void frmLibraryCard::choosePhoto()
{
    const QString file = Dialogs::service().openFile(
        QStringLiteral("Select File"), QStringLiteral("Apps (*.jpg);;All files (*.*)"), QString());
    if (file.isEmpty())
        return;
    QImageReader reader(file);
    const QImage image = reader.read();
    if (image.isNull()) {
        Dialogs::information(QStringLiteral("The photo could not be read:\n%1\n%2")
                                 .arg(file, reader.errorString()));
        return;
    }
    showPhoto(image);
    txtPhoto->setText(file);
}

void frmLibraryCard::loadRecord(double cardId)
{
    Database &db = Module::open(Module::CompanyDb);
    const auto card = CardRecords::find(db, qint64(cardId));
    if (!card)
        return;
    txtCardID->setText(QString::number(card->id));
    txtCardNo->setText(Numbers::plainText(card->cardNo));
    // The group's current name, which a rename since the save has changed; a card saved
    // without a group keeps the box's text.
    if (card->groupId)
        if (const auto group = GroupRecords::find(db, *card->groupId))
            cboGroupName->setCurrentText(group->name);
    txtRollNo->setText(card->rollNo);
    txtName->setText(card->name);
    txtContact1->setText(card->contact1);
    txtContact2->setText(card->contact2);
    txtFatherName->setText(card->fatherName);
    txtaddress->setText(card->address);
    txtCity->setText(card->city);
    txtDistt->setText(card->district);
    txtPhoto->setText(card->photo);
    txtRemarks->setText(card->remarks);
    if (card->validUpto.isValid())
        dtpValidDate->setDate(card->validUpto);
    // Another card's photo must not stand beside this one: without a readable photo of its own
    // the card shows the placeholder.
    const QImage photo = card->photo.isEmpty() ? QImage() : QImage(card->photo);
    showPhoto(photo.isNull() ? placeholderPhoto() : photo);
    cmdsave->setCaption(UpdateCaption);
    cmdDelete->setEnabled(true);
    RightsCheck::applyModify(CardEntry, cmdsave, cmdDelete, cmdPrint);
}
