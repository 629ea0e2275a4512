#pragma once

#include <QWidget>

class QComboBox;
class QFrame;
class QImage;
class QLabel;
class QLineEdit;
class DateBox;
class ImportFrame;
class RecordList;
class StyledButton;

// LIBRARY CARD: a member's card (number, group, personal details, photo, valid-up-to date) beside
// the list of cards, which a validity range narrows and whose ticked rows print as cards.
class frmLibraryCard : public QWidget
{
    Q_OBJECT

public:
    explicit frmLibraryCard(QWidget *parent = nullptr);

    QSize sizeHint() const override { return size(); }

    // True when no voucher names the card in txtCardID.
    bool recordentry();
    // Empties the member's boxes and the photo (the group, remarks and date carry over to the next
    // card), returns to a new card with a number proposed and lists every card.
    void GetCleanBox();
    // The group names into cboGroupName, the first selected.
    void LoadAllGroupName();
    // The new card's key into txtCardID.
    void ida();
    // The proposed card number into txtCardNo.
    void GetCardNo();
    // Lists every card (empty vType) or the cards valid up to a day of the validity panel's range.
    void Lv1Load(const QString &vType);
    // Today into the valid date and the validity panel's two dates.
    void datepickaa();

    // The card loader's step: fills the window from the stored card and turns to "&Update".
    void loadRecord(double cardId);

    // Stores the rows of the workbook named in the import frame as new cards.
    void GetImportNewRecord();

    // The design's photo shown before a photo is chosen.
    static QImage placeholderPhoto();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildListControls();
    void buildExchangeControls();
    void lblExport_Click();
    void installKeys();
    bool isNewCard() const;
    void cmdsave_Click();
    void cmdDelete_Click();
    void cmdPrint_Click();
    void cmdValidity_Click();
    void cmdSearch_Click();
    void choosePhoto();
    void showPhoto(const QImage &image);
    QList<QLineEdit *> memberBoxes() const;

    QLineEdit *txtCardID = nullptr;
    QLineEdit *txtPhoto = nullptr;
    QLineEdit *txtCardNo = nullptr;
    QComboBox *cboGroupName = nullptr;
    QLineEdit *txtRollNo = nullptr;
    QLineEdit *txtName = nullptr;
    QLineEdit *txtFatherName = nullptr;
    QLineEdit *txtaddress = nullptr;
    QLineEdit *txtCity = nullptr;
    QLineEdit *txtDistt = nullptr;
    QLineEdit *txtContact1 = nullptr;
    QLineEdit *txtContact2 = nullptr;
    QLineEdit *txtRemarks = nullptr;
    DateBox *dtpValidDate = nullptr;
    QLabel *imgHappy = nullptr;
    QLabel *lblAddPicture = nullptr;
    StyledButton *cmdsave = nullptr;
    StyledButton *cmdDelete = nullptr;
    StyledButton *cmdClose = nullptr;
    StyledButton *cmdPrint = nullptr;
    StyledButton *cmdValidity = nullptr;
    RecordList *Lv1 = nullptr;
    QFrame *fraValidity = nullptr;
    DateBox *dtpFromDate = nullptr;
    DateBox *dtpToDate = nullptr;
    StyledButton *cmdSearch = nullptr;
    QLabel *lblExport = nullptr;
    QLabel *lblImport = nullptr;
    QLabel *lblProgress = nullptr;
    ImportFrame *fraImport = nullptr;
};
