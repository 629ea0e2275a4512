// The card window's list: all cards or a validity range, opening a row, printing the ticked rows.
#include "members/frmLibraryCard.h"

#include "controls/button/StyledButton.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "members/CardPrintout.h"
#include "members/CardRecords.h"
#include "members/MembersWindows.h"
#include "ui/DateBox.h"
#include "ui/FormBuilder.h"
#include "ui/RecordList.h"
#include "ui/RecordLoader.h"
#include "ui/ReportHandOver.h"

#include <QFrame>
#include <QLabel>

using FormBuilder::kind;

void frmLibraryCard::buildListControls()
{
    FormBuilder::build(
        this,
        {
            {kind<RecordList>(), "Lv1", "", 7800, 660, 7080, 5700},
            {kind<QFrame>(), "fraValidity", "", 8040, 900, 4440, 2100},
            {kind<QLabel>(), "fraValidity/lblClose", " Show Card Expiring Within", 0, 0, 4440, 360},
            {kind<QLabel>(), "fraValidity/lblFromDate", "From Date ", 240, 570, 1200, 330},
            {kind<DateBox>(), "fraValidity/dtpFromDate", "From Date", 1500, 540, 2000, 360},
            {kind<QLabel>(), "fraValidity/lblToDate", "To Date", 240, 1020, 1200, 330},
            {kind<DateBox>(), "fraValidity/dtpToDate", "To Date", 1500, 990, 2000, 360},
            {kind<StyledButton>(), "fraValidity/cmdSearch", "", 1500, 1470, 2000, 480},
        });
    Lv1 = findChild<RecordList *>(QStringLiteral("Lv1"));
    fraValidity = findChild<QFrame *>(QStringLiteral("fraValidity"));
    dtpFromDate = findChild<DateBox *>(QStringLiteral("dtpFromDate"));
    dtpToDate = findChild<DateBox *>(QStringLiteral("dtpToDate"));
    cmdSearch = findChild<StyledButton *>(QStringLiteral("cmdSearch"));

    Lv1->setColumns({QString(), QStringLiteral("Card No."), QStringLiteral("Name"),
                     QStringLiteral("Group"), QStringLiteral("Roll"), QStringLiteral("Father"),
                     QStringLiteral("City"), QStringLiteral("Distt"), QStringLiteral("Contact"),
                     QStringLiteral("Remarks"), QStringLiteral("Valid")},
                    // The key column holds the check box and a key of six digits.
                    {1080, 1500, 3000, 2000, 1500, 1500, 1500, 1500, 1500, 1500, 1500});
    Lv1->records()->setCheckable(true);
    SetListViewStripes(Lv1, 0xFFFFFF, 0xF3F3ED);
    connect(Lv1, &RecordList::rowOpened, this,
            [](double key) { RecordLoader::open(key, LoadCardForUpdate); });

    fraValidity->setFrameStyle(QFrame::Panel | QFrame::Raised);
    fraValidity->setLineWidth(2);
    fraValidity->setAutoFillBackground(true);
    fraValidity->hide();
    auto *title = findChild<QLabel *>(QStringLiteral("lblClose"));
    QPalette band = title->palette();
    band.setColor(QPalette::Window, QColor(0x20, 0x38, 0x64));
    band.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(band);
    title->setAutoFillBackground(true);
    // The "X" stands at the title's right end; the title has no action.
    auto *cross = new QLabel(QStringLiteral("X "), title);
    cross->setGeometry(title->rect());
    cross->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cmdSearch->setCaption(QStringLiteral("&Search"));
    connect(cmdValidity, &StyledButton::Click, this, &frmLibraryCard::cmdValidity_Click);
    connect(cmdSearch, &StyledButton::Click, this, &frmLibraryCard::cmdSearch_Click);
    connect(cmdPrint, &StyledButton::Click, this, &frmLibraryCard::cmdPrint_Click);
}

void frmLibraryCard::datepickaa()
{
    const QDate today = QDate::currentDate();
    for (DateBox *picker : {dtpValidDate, dtpFromDate, dtpToDate})
        picker->setDate(today);
}

void frmLibraryCard::Lv1Load(const QString &vType)
{
    try {
        Database &db = Module::open(Module::CompanyDb);
        Lv1->records()->setRows(
            vType.isEmpty() ? CardRecords::listRows(db)
                            : CardRecords::listRows(db, CardRecords::ValidityRange{
                                                            dtpFromDate->date(), dtpToDate->date()}));
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void frmLibraryCard::cmdValidity_Click()
{
    fraValidity->show();
    fraValidity->raise();
    dtpFromDate->setFocus();
}

void frmLibraryCard::cmdSearch_Click()
{
    // A range the boxes cannot give keeps the frame open to mend it.
    if (!dtpFromDate->checkedDate() || !dtpToDate->checkedDate())
        return;
    Lv1Load(QStringLiteral("Date"));
    fraValidity->hide();
}

void frmLibraryCard::cmdPrint_Click()
{
    std::vector<QStringList> ticked;
    const RecordListModel *rows = Lv1->records();
    for (int i = 0; i < rows->size(); ++i)
        if (rows->isChecked(i))
            ticked.push_back(rows->row(i).texts);
    try {
        CardPrintout::stage(ticked);
        ReportHandOver::showReport(QLatin1String(CardPrintout::TemplateName));
    } catch (const AppError &error) {
        Dialogs::information(error.boxText());
    }
}
