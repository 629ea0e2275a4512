#pragma once

#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class StyledButton;

// BOOK ENTRY: adds, changes and deletes one copy of a book. The caption of cmdNew is the
// window's mode: "&New" (idle), "&Save" (a new copy) or "&Update" (a loaded copy).
class frmBook : public QWidget
{
    Q_OBJECT

public:
    explicit frmBook(QWidget *parent = nullptr);

    // Empties the window and returns it to "&New".
    void CleanBox();
    // The new copy's key into txtBookID.
    void ida();
    // The proposed accession number into txtAccessionNo.
    void GetBookNo();
    // True when the loaded copy may be deleted; says why not.
    bool recordentry();
    // True when the accession number may be used; refuses a stored one in "&Save".
    bool alreadyAccessionNo();
    // True when the title may be used; refuses a stored one in "&Save".
    bool alreadyBookName();
    void GetUserPositionAdd();
    void GetUserPositionModify();

    // The loader's fill: the copy with that key, in update mode.
    void loadRecord(double key);

    QString mode() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void installKeys();
    bool enterKey(QWidget *focus);
    void cmdNew_Click();
    void save();
    void cmdDelete_Click();
    void txtBarcode_Change();
    // The text of a box of the Book table (a text box or a combo box).
    QString boxText(const char *control) const;
    void setBoxText(const char *control, const QString &text);
    bool isSaveMode() const;
    // "Accession No. Already Exits", the typed number kept in its box.
    void refuseStoredAccessionNo();

    QFrame *fraForm = nullptr;
    QLineEdit *txtAccessionNo = nullptr;
    QLineEdit *txtTitle = nullptr;
    QLineEdit *txtBarcode = nullptr;
    QLineEdit *txtBookID = nullptr;
    QLabel *lblAvailable = nullptr;
    QLabel *lblIssueDetail = nullptr;
    QLabel *Picture2 = nullptr;
    StyledButton *cmdNew = nullptr;
    StyledButton *cmdDelete = nullptr;
    QList<QWidget *> enterChain_;
    // The accession number the barcode box was filled from; null once the user typed a barcode.
    QString barcodeMadeFrom_;
    bool keepTypedAccessionNo_ = false;
};
