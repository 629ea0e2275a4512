#include "circulation/frmLedger.h"

#include "circulation/CardLedger.h"
#include "circulation/CirculationRules.h"
#include "circulation/ListContents.h"
#include "circulation/SearchPanel.h"
#include "circulation/WindowLook.h"
#include "circulation/frmBookIssue.h"
#include "controls/button/StyledButton.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "ui/DateBox.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"
#include "ui/RecordLoader.h"
#include "ui/ReportHandOver.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>

using FormBuilder::kind;

namespace {

bool holds(QWidget *control, QWidget *focus)
{
    return focus && (focus == control || control->isAncestorOf(focus));
}

} // namespace

frmLedger::frmLedger(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Ledger"));
    buildControls();
    installKeys();
    datepickaa();
    txtCardNo->setFocus();
}

void frmLedger::buildControls()
{
    FormBuilder::setClientSize(this, 15000, 7080);
    setFixedSize(size());
    FormBuilder::build(this,
                       {
                           {kind<QLabel>(), "lblHeader", "LEDGER", 0, 0, 15000, 600},
                           {kind<QLabel>(), "lblCardNo", "Card No.", 120, 720, 1000, 240},
                           {kind<QLabel>(), "lblCardSearch", "(F4-Search)", 1140, 720, 1200, 240},
                           {kind<QLineEdit>(), "txtCardNo", "", 120, 990, 2220, 390},
                           {kind<QLabel>(), "lblName", "Name : ", 2580, 750, 4080, 300},
                           {kind<QLabel>(), "lblRollNo", "Roll No :", 2580, 1080, 4080, 300},
                           {kind<QLabel>(), "lblFrom", "From ", 6780, 720, 1700, 240},
                           {kind<DateBox>(), "dtpFromDate", "From", 6780, 990, 1700, 390},
                           {kind<QLabel>(), "lblTo", "To", 8580, 720, 1700, 240},
                           {kind<DateBox>(), "dtpToDate", "To", 8580, 990, 1700, 390},
                           {kind<StyledButton>(), "cmdOK", "", 10440, 960, 1440, 450},
                           {kind<StyledButton>(), "cmdDelete", "", 11940, 960, 1440, 450},
                           {kind<StyledButton>(), "cmdClose", "", 13440, 960, 1440, 450},
                           {kind<RecordList>(), "Lv1", "", 120, 1560, 14760, 5400},
                           {kind<QGroupBox>(), "fraCard", "", 0, 0, 1000, 400},
                           {kind<QLineEdit>(), "fraCard/txtCardID", "", 0, 0, 900, 300},
                       });
    txtCardNo = findChild<QLineEdit *>("txtCardNo");
    txtCardID = findChild<QLineEdit *>("txtCardID");
    lblName = findChild<QLabel *>("lblName");
    lblRollNo = findChild<QLabel *>("lblRollNo");
    dtpFromDate = findChild<DateBox *>("dtpFromDate");
    dtpToDate = findChild<DateBox *>("dtpToDate");
    cmdOK = findChild<StyledButton *>("cmdOK");
    Lv1 = findChild<RecordList *>("Lv1");

    WindowLook::heading(findChild<QLabel *>("lblHeader"));
    findChild<QGroupBox *>("fraCard")->hide();
    QFont bold = lblName->font();
    bold.setBold(true);
    lblName->setFont(bold);
    lblRollNo->setFont(bold);

    Lv1->setColumns({"", "Author", "Title", "Acc. No.", "Issue Dt.", "Ret. Dt.", "Days Delay",
                     "Fine", "Rec. No.", "Remarks"},
                    {0, 1500, 2000, 1500, 1500, 1500, 1500, 1200, 1200, 2500});
    for (int column = 4; column <= 8; ++column)
        Lv1->records()->setAlignment(column, Qt::AlignCenter);
    SetListViewStripes(Lv1, 0xFFFFFF, 0xF3F3ED);
    connect(Lv1, &RecordList::rowOpened, this,
            [](double key) { RecordLoader::open(key, LoadIssueVoucherForUpdate); });

    auto *cmdPrint = findChild<StyledButton *>("cmdDelete");
    auto *cmdClose = findChild<StyledButton *>("cmdClose");
    cmdOK->setCaption(QStringLiteral("&OK"));
    cmdPrint->setCaption(QStringLiteral("&Print"));
    cmdClose->setCaption(QStringLiteral("&Close"));
    connect(cmdOK, &StyledButton::Click, this, &frmLedger::Lv1Load);
    connect(cmdPrint, &StyledButton::Click, this, &frmLedger::cmdPrint_Click);
    connect(cmdClose, &StyledButton::Click, this, &frmLedger::GetCloseForm);

    fraSearch = new SearchPanel(SearchPanel::Kind::Card, this, 120, 1560);
    connect(fraSearch, &SearchPanel::picked, this, &frmLedger::cardPicked);
}

void frmLedger::installKeys()
{
    KeyPreview::install(this, [this](QKeyEvent *event) {
        QWidget *focus = QApplication::focusWidget();
        if (event->key() == Qt::Key_Escape) {
            GetCloseForm();
            return true;
        }
        if (focus == txtCardNo && event->key() == Qt::Key_F4) {
            fraSearch->open();
            return true;
        }
        if (!KeyPreview::isEnter(event))
            return false;
        if (focus == txtCardNo) {
            if (txtCardNo->text().isEmpty()) {
                Dialogs::information(QStringLiteral("Enter Card No."));
                txtCardNo->setFocus();
            } else {
                GetCardDetail();
            }
        } else if (holds(dtpFromDate, focus)) {
            dtpToDate->setFocus(Qt::TabFocusReason);
        } else if (holds(dtpToDate, focus)) {
            cmdOK->setFocus(Qt::TabFocusReason);
        } else {
            return false;
        }
        return true;
    });
}

void frmLedger::GetCloseForm()
{
    if (fraSearch->isVisible())
        fraSearch->hide();
    else if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}

void frmLedger::datepickaa()
{
    dtpFromDate->setDate(QDate::currentDate());
    dtpToDate->setDate(QDate::currentDate());
}

void frmLedger::GetCardDetail()
{
    try {
        // Only a plain number names a card: other text is refused as no card, not run as SQL.
        const auto card =
            CirculationRules::findCard(Module::open(Module::CompanyDb), txtCardNo->text());
        if (!card) {
            Dialogs::information(QStringLiteral("Invalid Card No."));
            txtCardNo->setFocus();
            return;
        }
        txtCardID->setText(Numbers::plainText(card->cardId));
        lblName->setText(QStringLiteral("Name : ") + card->name);
        lblRollNo->setText(QStringLiteral("Roll No :") + card->rollNo);
        dtpFromDate->setFocus();
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void frmLedger::Lv1Load()
{
    const auto from = dtpFromDate->checkedDate();
    const auto to = from ? dtpToDate->checkedDate() : std::nullopt;
    if (!to)
        return;
    try {
        auto rows = CardLedger::load(Module::open(Module::CompanyDb),
                                     Numbers::leadingValue(txtCardID->text()), {*from, *to});
        ListContents::show(Lv1, std::move(rows));
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void frmLedger::LvLoadCardSerch()
{
    fraSearch->reload();
}

void frmLedger::cmdPrint_Click()
{
    try {
        const auto rows = ListContents::shown(Lv1);
        CardLedger::stage(rows);
        ReportHandOver::showReport(CardLedger::TemplatePath);
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
}

void frmLedger::cardPicked(const QString &cardNo)
{
    txtCardNo->setText(cardNo);
    GetCardDetail();
    fraSearch->hide();
    txtCardNo->setFocus();
}
