#pragma once

#include "catalogue/BookListQuery.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class ImportFrame;
class RecordList;

// BOOK LIST: the catalogue under five prefix filters, with check boxes for the printouts. Enter
// or a double-click opens a book in the book entry window.
class frmBookList : public QWidget
{
    Q_OBJECT

public:
    explicit frmBookList(QWidget *parent = nullptr);

    // Reloads the list under the filter boxes and counts it.
    void Lv1Load();
    // Stores the rows of the workbook named in the import frame as new books.
    void GetImportNewRecord();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    bool closePanel();
    void Lv1_ItemClick();
    void cmdPrint_Click();
    void cmdSticker_Click();
    void cmdExport_Click();
    QList<int> tickedRows() const;

    RecordList *Lv1 = nullptr;
    QLineEdit *txtV1 = nullptr;
    QLabel *lblStatus = nullptr;
    QLabel *Label1 = nullptr;
    QFrame *fraSearch = nullptr;
    ImportFrame *fraImport = nullptr;
    QLabel *lblProgress = nullptr;
    QCheckBox *chkSelectAll = nullptr;
    QLineEdit *txtSearch[5] = {};
    BookListQuery::Loader loader_;
};
