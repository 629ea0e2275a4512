#include "admin/frmCreateCompany.h"

#include "controls/button/StyledButton.h"
#include "core/Colour.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "ui/DateBox.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionComboBox>

using FormBuilder::kind;

namespace {

QPixmap decorativePicture()
{
    QPixmap picture(48, 48);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor spines[] = {QColor(0x2E, 0x6D, 0xB4), QColor(0xC0, 0x50, 0x3A),
                             QColor(0x3C, 0x9A, 0x5F)};
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(spines[i]);
        painter.setPen(QPen(spines[i].darker(140), 1));
        painter.drawRoundedRect(QRectF(6 + i * 2, 34 - i * 12, 36 - i * 4, 10), 2, 2);
    }
    return picture;
}

} // namespace

frmCreateCompany::frmCreateCompany(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("CREATE COMPANY"));
    buildControls();
    installKeys();

    pathload();
    try {
        ida();
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
    proposeFinancialYear();
    txtCompanyName->setFocus();
}

void frmCreateCompany::buildControls()
{
    FormBuilder::setClientSize(this, 11400, 7650);
    // The child window's frame takes its size from the window, which has no layout to ask.
    setFixedSize(size());
    // Rows in the order of the Enter chain, so the tab order follows it too.
    FormBuilder::build(
        this,
        {
            {kind<QLabel>(), "Image1", "", 225, 120, 720, 720},
            {kind<QLabel>(), "lblTitle", "Create a New Company", 1125, 270, 6000, 420},
            {kind<QLabel>(), "lblBasicDetails", "Basic Details", 225, 1050, 5250, 270},
            {kind<QLabel>(), "lblCompanyName", "Enter Name of Company / Firm / Organization", 225,
             1380, 5250, 240},
            {kind<QLineEdit>(), "txtCompanyName", "", 225, 1620, 5250, 330},
            {kind<QLabel>(), "lblAddress", "Address Line 1", 225, 2040, 5250, 240},
            {kind<QLineEdit>(), "txtaddress", "", 225, 2280, 5250, 330},
            {kind<QLabel>(), "lblAddress2", "Address Line 2", 225, 2700, 5250, 240},
            {kind<QLineEdit>(), "txtaddress2", "", 225, 2940, 5250, 330},
            {kind<QLabel>(), "lblCity", "City", 225, 3360, 1500, 240},
            {kind<QLineEdit>(), "txtCity", "", 225, 3600, 1500, 330},
            {kind<QLabel>(), "lblState", "State", 1875, 3360, 2850, 240},
            {kind<QComboBox>(), "txtState", "", 1875, 3600, 2850, 330},
            {kind<QLabel>(), "lblStateCode", "Code", 4875, 3360, 600, 240},
            {kind<QLineEdit>(), "txtstatecode", "", 4875, 3600, 600, 330},
            {kind<QLabel>(), "lblContactDetails", "Contact Details", 225, 4170, 5250, 270},
            {kind<QLabel>(), "lblPhone", "Phone", 225, 4500, 2550, 240},
            {kind<QLineEdit>(), "txtPhone", "", 225, 4740, 2550, 330},
            {kind<QLabel>(), "lblMobile", "Mobile", 2925, 4500, 2550, 240},
            {kind<QLineEdit>(), "txtMobile", "", 2925, 4740, 2550, 330},
            {kind<QLabel>(), "lblEmail", "Email", 225, 5160, 5250, 240},
            {kind<QLineEdit>(), "txtEmail", "", 225, 5400, 5250, 330},
            {kind<QLabel>(), "lblWebsite", "Website", 225, 5820, 5250, 240},
            {kind<QLineEdit>(), "txtwebsite", "", 225, 6060, 5250, 330},
            {kind<QLabel>(), "lblRegistrationDetails", "Registration Details", 5925, 1050, 5250,
             270},
            {kind<QLabel>(), "lblVatNo", "VAT No.", 5925, 1380, 2550, 240},
            {kind<QLineEdit>(), "txtvatno", "", 5925, 1620, 2550, 330},
            {kind<QLabel>(), "lblGSTNo", "GST No.", 8625, 1380, 2550, 240},
            {kind<QLineEdit>(), "txtGSTNo", "", 8625, 1620, 2550, 330},
            {kind<QLabel>(), "lblPanNo", "PAN No.", 5925, 2040, 2550, 240},
            {kind<QLineEdit>(), "txtpanno", "", 5925, 2280, 2550, 330},
            {kind<QLabel>(), "lblCstNo", "CST No.", 8625, 2040, 2550, 240},
            {kind<QLineEdit>(), "txtcstno", "", 8625, 2280, 2550, 330},
            {kind<QLabel>(), "lblDlNo1", "DL No. 1", 5925, 2700, 2550, 240},
            {kind<QLineEdit>(), "txtdlno1", "", 5925, 2940, 2550, 330},
            {kind<QLabel>(), "lblDlNo2", "DL No. 2", 8625, 2700, 2550, 240},
            {kind<QLineEdit>(), "txtdlno2", "", 8625, 2940, 2550, 330},
            {kind<QLabel>(), "lblDealsIn", "Deals In", 5925, 3360, 5250, 240},
            {kind<QLineEdit>(), "txtdealsin", "", 5925, 3600, 5250, 330},
            {kind<QLabel>(), "lblFinancialYear", "Financial Year Date Range", 5925, 4170, 5250,
             270},
            {kind<QLabel>(), "lblStartDate", "Financial Year Starting Date", 5925, 4500, 2550, 240},
            {kind<DateBox>(), "DTPicker1", "Financial Year Starting Date", 5925, 4740, 2550, 330},
            {kind<QLabel>(), "lblEndDate", "Financial Year Will Close On", 8625, 4500, 2550, 240},
            {kind<DateBox>(), "DTPicker2", "Financial Year Will Close On", 8625, 4740, 2550, 330},
            {kind<QLabel>(), "lblFirstUser", "Make a Sure User for this company", 5925, 5160, 5250,
             270},
            {kind<QLabel>(), "lblUserName", "User Name :", 5925, 5520, 1200, 240},
            {kind<QLineEdit>(), "txtUserName", "", 7200, 5460, 2250, 330},
            {kind<QLabel>(), "lblPassword", "Password :", 5925, 5940, 1200, 240},
            {kind<QLineEdit>(), "txtPassword", "", 7200, 5880, 2250, 330},
            {kind<QLabel>(), "lblDefaultUser", "", 5925, 6300, 5250, 240},
            {kind<StyledButton>(), "cmdsave", "", 5925, 6780, 2550, 540},
            {kind<StyledButton>(), "cmdClose", "", 8625, 6780, 2550, 540},
            {kind<QLabel>(), "lblPath", "Current Database Path = ", 225, 6840, 2550, 240},
            {kind<QLabel>(), "labpath", "", 2775, 6840, 3000, 240},
            {kind<QLabel>(), "labcompanyid", "", 225, 7200, 1000, 240},
        });

    txtCompanyName = findChild<QLineEdit *>("txtCompanyName");
    txtState = findChild<QComboBox *>("txtState");
    txtstatecode = findChild<QLineEdit *>("txtstatecode");
    txtMobile = findChild<QLineEdit *>("txtMobile");
    txtGSTNo = findChild<QLineEdit *>("txtGSTNo");
    txtpanno = findChild<QLineEdit *>("txtpanno");
    txtPassword = findChild<QLineEdit *>("txtPassword");
    DTPicker1 = findChild<DateBox *>("DTPicker1");
    DTPicker2 = findChild<DateBox *>("DTPicker2");
    labpath = findChild<QLabel *>("labpath");
    labcompanyid = findChild<QLabel *>("labcompanyid");
    Image1 = findChild<QLabel *>("Image1");
    cmdsave = findChild<StyledButton *>("cmdsave");
    cmdClose = findChild<StyledButton *>("cmdClose");

    FormBuilder::setHeading(findChild<QLabel *>("lblTitle"), 14, 0x8B4513);
    for (const char *heading : {"lblBasicDetails", "lblContactDetails", "lblRegistrationDetails",
                                "lblFinancialYear", "lblFirstUser"})
        FormBuilder::setHeading(findChild<QLabel *>(heading), 10, 0x8B4513);
    Image1->setPixmap(decorativePicture());
    Image1->installEventFilter(this);
    labcompanyid->hide();
    findChild<QLabel *>("lblDefaultUser")
        ->setText(QStringLiteral("Default User Name = %1   Password = %2")
                      .arg(QLatin1String(DefaultUserName), QLatin1String(DefaultPassword)));

    fitStateBox();
    txtState->setEditable(true);
    txtState->setInsertPolicy(QComboBox::NoInsert);
    txtState->setCompleter(nullptr); // the box completes by its own rule
    txtState->installEventFilter(this);
    connect(txtState, &QComboBox::editTextChanged, this, &frmCreateCompany::completeState);

    txtMobile->setMaxLength(10);
    // Whatever way the text comes in (typing, any paste), the box keeps only what it may hold;
    // the editing keys stay the box's own.
    txtMobile->setValidator(
        new QRegularExpressionValidator(CompanyCreation::mobilePattern(), txtMobile));
    txtGSTNo->installEventFilter(this);
    txtPassword->installEventFilter(this);
    // Once hidden, the password shows as stars, not the style's dots.
    txtPassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    findChild<QLineEdit *>("txtUserName")->setText(QLatin1String(DefaultUserName));
    txtPassword->setText(QLatin1String(DefaultPassword));

    for (DateBox *picker : {DTPicker1, DTPicker2})
        picker->setDate(QDate(2013, 9, 1));

    cmdsave->setCaption(QStringLiteral("&Create Company"));
    cmdClose->setCaption(QStringLiteral("&No thanks, Close it"));
    connect(cmdsave, &StyledButton::Click, this, &frmCreateCompany::cmdsave_Click);
    connect(cmdClose, &StyledButton::Click, this, [this] { closeWindow(true); });
}

void frmCreateCompany::fitStateBox()
{
    // The longest state shows whole in the font the machine gives; the city box yields the room.
    QString longest;
    for (const QString &state : CompanyCreation::stateList())
        if (state.size() > longest.size())
            longest = state;
    QStyleOptionComboBox option;
    option.initFrom(txtState);
    option.editable = true;
    const int text = txtState->fontMetrics().horizontalAdvance(longest) + 8;
    const int needed = style()
                           ->sizeFromContents(QStyle::CT_ComboBox, &option,
                                              QSize(text, txtState->height()), txtState)
                           .width();
    const int grow = needed - txtState->width();
    auto *city = findChild<QLineEdit *>("txtCity");
    if (grow <= 0 || grow >= city->width() / 2)
        return;
    txtState->setGeometry(txtState->geometry().adjusted(-grow, 0, 0, 0));
    findChild<QLabel *>("lblState")->move(txtState->x(), findChild<QLabel *>("lblState")->y());
    city->resize(city->width() - grow, city->height());
    findChild<QLabel *>("lblCity")->resize(city->width(), findChild<QLabel *>("lblCity")->height());
}

void frmCreateCompany::installKeys()
{
    KeyPreview::install(this, [this](QKeyEvent *event) {
        if (event->key() == Qt::Key_Escape) {
            closeWindow(true);
            return true;
        }
        if (!KeyPreview::isEnter(event))
            return false;
        // These rules run before the Enter chain moves the focus on.
        QWidget *focus = QApplication::focusWidget();
        if (focus == txtCompanyName) {
            const QString name = txtCompanyName->text();
            if (name != name.toUpper())
                txtCompanyName->setText(CompanyCreation::properCase(name));
        } else if (focus && (focus == DTPicker1 || DTPicker1->isAncestorOf(focus))) {
            const auto start = DTPicker1->checkedDate();
            if (!start)
                return true; // the box has said why; the focus stays to mend the date
            DTPicker2->setDate(CompanyCreation::yearEndFor(*start));
        }
        return false;
    });
    QList<QWidget *> chain;
    for (const char *name :
         {"txtCompanyName", "txtaddress", "txtaddress2", "txtCity",   "txtState",
          "txtstatecode",   "txtPhone",   "txtMobile",   "txtEmail",  "txtwebsite",
          "txtvatno",       "txtGSTNo",   "txtpanno",    "txtcstno",  "txtdlno1",
          "txtdlno2",       "txtdealsin", "DTPicker1",   "DTPicker2", "txtUserName",
          "txtPassword",    "cmdsave"})
        chain << findChild<QWidget *>(name);
    KeyPreview::installEnterChain(this, chain);
}

void frmCreateCompany::pathload()
{
    // A missing or unreadable setting leaves the label as it was.
    try {
        if (!Module::CommonDb)
            return;
        for (Recordset rs = Module::CommonDb->query(QStringLiteral("SELECT * FROM Path"));
             !rs.eof(); rs.moveNext()) {
            // A Null cannot be shown: the caption keeps the value of an earlier row.
            const QVariant root = rs.field(QStringLiteral("Defaultpath"));
            if (!root.isNull())
                labpath->setText(root.toString());
        }
    } catch (const AppError &) {
    }
}

void frmCreateCompany::ida()
{
    if (!Module::CommonDb)
        throw AppError(91, QStringLiteral("The application database is not open."));
    labcompanyid->setText(QString::number(CompanyCreation::proposeNumber(*Module::CommonDb)));
}

void frmCreateCompany::proposeFinancialYear()
{
    const CompanyCreation::FinancialYear year = CompanyCreation::proposedYear(QDate::currentDate());
    DTPicker1->setDate(year.start);
    DTPicker2->setDate(year.end);
}

void frmCreateCompany::StateLoad()
{
    // Adding the first items would put the first of them into the box's text.
    const QString text = txtState->currentText();
    fillingStateList_ = true;
    txtState->addItems(CompanyCreation::stateList());
    txtState->setCurrentIndex(-1);
    txtState->setEditText(text);
    fillingStateList_ = false;
}

void frmCreateCompany::completeState(const QString &text)
{
    if (fillingStateList_ || completionGuard_ != 0)
        return;
    const QString entry = CompanyCreation::completeState(text);
    if (entry.isEmpty())
        return;
    ++completionGuard_;
    QLineEdit *edit = txtState->lineEdit();
    edit->setText(entry);
    // Typing goes on over the completed part.
    edit->setSelection(int(entry.size()), int(text.size() - entry.size()));
}

bool frmCreateCompany::stateKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Backspace:
        return false;
    default:
        completionGuard_ = 0;
        return false;
    }
}

bool frmCreateCompany::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == txtState) {
        if (type == QEvent::KeyPress)
            return stateKey(static_cast<QKeyEvent *>(event));
        // Opening the box's own list moves the focus without leaving the box, and another
        // application taking and giving back the activation neither leaves nor enters it.
        const bool focusChange =
            (type == QEvent::FocusIn || type == QEvent::FocusOut) &&
            static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason &&
            static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason;
        if (focusChange && type == QEvent::FocusIn) {
            KeyPreview::setBackColour(txtState, 0xFFFFFF);
            StateLoad();
        } else if (focusChange) {
            const QString code = CompanyCreation::stateCode(txtState->currentText());
            if (!code.isEmpty())
                txtstatecode->setText(code);
        }
    } else if (watched == txtGSTNo && type == QEvent::FocusOut) {
        txtpanno->setText(CompanyCreation::panFromGst(txtGSTNo->text()));
    } else if (watched == txtPassword && type == QEvent::FocusIn) {
        txtPassword->setEchoMode(QLineEdit::Password);
    } else if (watched == Image1 && type == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        // A click is the left button's; the others do nothing.
        closeWindow(false);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

CompanyCreation::Entries frmCreateCompany::entries() const
{
    const auto text = [this](const char *name) { return findChild<QLineEdit *>(name)->text(); };
    CompanyCreation::Entries e;
    e.companyName = text("txtCompanyName");
    e.address = text("txtaddress");
    e.address2 = text("txtaddress2");
    e.city = text("txtCity");
    e.state = txtState->currentText();
    e.stateCode = text("txtstatecode");
    e.phone = text("txtPhone");
    e.mobile = text("txtMobile");
    e.email = text("txtEmail");
    e.website = text("txtwebsite");
    e.vatNo = text("txtvatno");
    e.gstNo = text("txtGSTNo");
    e.panNo = text("txtpanno");
    e.cstNo = text("txtcstno");
    e.dlNo1 = text("txtdlno1");
    e.dlNo2 = text("txtdlno2");
    e.dealsIn = text("txtdealsin");
    e.yearStart = DTPicker1->date();
    e.yearEnd = DTPicker2->date();
    e.userName = text("txtUserName");
    e.password = text("txtPassword");
    e.dataRoot = labpath->text();
    return e;
}

void frmCreateCompany::cmdsave_Click()
{
    if (!DTPicker1->checkedDate() || !DTPicker2->checkedDate())
        return;
    const CompanyCreation::Entries e = entries();
    if (const auto refusal = CompanyCreation::check(e)) {
        Dialogs::message(refusal->message, Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QLatin1String(CompanyCreation::RefusalTitle));
        findChild<QWidget *>(refusal->control)->setFocus();
        return;
    }
    try {
        const CompanyCreation::Created created = CompanyCreation::create(e);
        labcompanyid->setText(QString::number(created.number));
    } catch (const AppError &error) {
        // Nothing of the company was kept: the entries stay for a retry.
        Dialogs::message(CompanyCreation::failureText(error), Dialogs::Buttons::Ok,
                         Dialogs::Icon::Information);
        return;
    }
    Dialogs::message(CompanyCreation::closingMessage(e.userName, e.password), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Information, QLatin1String(CompanyCreation::ClosingTitle));
    closeWindow(true);
}

void frmCreateCompany::closeWindow(bool showPicker)
{
    showPickerOnClose_ = showPicker;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}

void frmCreateCompany::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    // Not while the main window itself is closing.
    const QWidget *top = window();
    if (showPickerOnClose_ && (top == this || top->isVisible())) {
        showPickerOnClose_ = false;
        WindowRegistry::show(QLatin1String(PickerName));
    }
}
