#include "admin/frmUsers.h"

#include "admin/UserAdministration.h"
#include "controls/button/StyledButton.h"
#include "core/Colour.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"
#include "ui/RightsCheck.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>

using FormBuilder::kind;
namespace Admin = UserAdministration;

namespace {

constexpr quint32 EntryBackColour = 0xF3F3ED;

void showError(const AppError &error)
{
    Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information, QString());
}

} // namespace

frmUsers::frmUsers(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("User's Information"));
    buildControls();
    styleControls();
    installKeys();

    SetListViewStripes(Lv1, 0xFFFFFF, 0xF3F3ED);
    try {
        LoadAllPosition();
        Lv1Load();
        GetUserPositionAdd();
    } catch (const AppError &error) {
        showError(error);
    }
    (cmdAdd->isVisibleTo(this) ? cmdAdd : cmdDelete)->setFocus();
}

void frmUsers::buildControls()
{
    FormBuilder::setClientSize(this, 9600, 8520);
    setFixedSize(size());
    // The buttons come first: they lead the tab order.
    FormBuilder::build(
        this, {
                  {kind<StyledButton>(), "cmdAdd", "", 120, 2940, 1800, 540},
                  {kind<StyledButton>(), "cmdDelete", "", 2040, 2940, 1800, 540},
                  {kind<StyledButton>(), "cmdClose", "", 3960, 2940, 1800, 540},
                  {kind<QFrame>(), "fraUser", "", 120, 120, 9360, 2700},
                  {kind<QLabel>(), "fraUser/lblHeader", "User's Information", 120, 90, 9120, 480},
                  {kind<QLabel>(), "fraUser/lblUserName", "User Name:", 600, 780, 1800, 285},
                  {kind<QLineEdit>(), "fraUser/txtUserName", "", 2520, 720, 4200, 360},
                  {kind<QLabel>(), "fraUser/lblPosition", "Position:", 600, 1320, 1800, 285},
                  {kind<QComboBox>(), "fraUser/cboPosition", "", 2520, 1260, 4200, 360},
                  {kind<QLabel>(), "fraUser/lblPassword", "Password:", 600, 1860, 1800, 285},
                  {kind<QLineEdit>(), "fraUser/txtPassword", "", 2520, 1800, 4200, 360},
                  {kind<QLabel>(), "fraUser/lblShow", "Show Password", 6900, 1860, 1800, 285},
                  {kind<QLineEdit>(), "txtUserID", "", 6000, 3000, 1200, 330},
                  {kind<QFrame>(), "fraUserList", "", 120, 3600, 9360, 4800},
                  {kind<QLabel>(), "fraUserList/lblUserList", "User's List", 0, 0, 9360, 390},
                  {kind<RecordList>(), "fraUserList/Lv1", "", 120, 480, 9120, 3600},
                  {kind<QLabel>(), "fraUserList/lblSearch", "User Name : ", 120, 4260, 1320, 285},
                  {kind<QLineEdit>(), "fraUserList/txtSearch", "", 1440, 4200, 3000, 360},
                  {kind<QLabel>(), "fraUserList/lblCount", "", 6000, 4260, 3240, 285},
              });

    fraUser = findChild<QFrame *>("fraUser");
    txtUserName = findChild<QLineEdit *>("txtUserName");
    cboPosition = findChild<QComboBox *>("cboPosition");
    txtPassword = findChild<QLineEdit *>("txtPassword");
    lblShow = findChild<QLabel *>("lblShow");
    txtUserID = findChild<QLineEdit *>("txtUserID");
    cmdAdd = findChild<StyledButton *>("cmdAdd");
    cmdDelete = findChild<StyledButton *>("cmdDelete");
    cmdClose = findChild<StyledButton *>("cmdClose");
    Lv1 = findChild<RecordList *>("Lv1");
    txtSearch = findChild<QLineEdit *>("txtSearch");
    lblCount = findChild<QLabel *>("lblCount");

    fraUser->setEnabled(false);
    txtUserID->hide();
    txtUserName->setMaxLength(15);
    txtPassword->setMaxLength(15);
    txtSearch->setMaxLength(15);
    setTabOrder(cmdClose, txtUserName);
    setTabOrder(txtUserName, cboPosition);
    setTabOrder(cboPosition, txtPassword);

    Lv1->setColumns({QStringLiteral("ID"), QStringLiteral("S.N"), QStringLiteral("User Name"),
                     QStringLiteral("Position")},
                    {0, 500, 3000, 1500});
    // Only a double-click opens a row; Enter on the list opens nothing.
    Lv1->viewport()->installEventFilter(this);

    cmdAdd->setCaption(QStringLiteral("&New"));
    cmdDelete->setCaption(QStringLiteral("De&lete"));
    cmdClose->setCaption(QStringLiteral("&Close"));
    connect(cmdAdd, &StyledButton::Click, this, &frmUsers::cmdAdd_Click);
    connect(cmdDelete, &StyledButton::Click, this, &frmUsers::cmdDelete_Click);
    connect(cmdClose, &StyledButton::Click, this, &frmUsers::closeWindow);
    connect(txtSearch, &QLineEdit::textChanged, this, &frmUsers::Lv1Load);
    lblShow->installEventFilter(this);
    txtPassword->installEventFilter(this);
}

void frmUsers::styleControls()
{
    const std::pair<StyledButton *, quint32> buttons[] = {
        {cmdAdd, 0xA75C0A}, {cmdDelete, 0xC0}, {cmdClose, 0x808080}};
    for (const auto &[button, colour] : buttons) {
        button->setBackColor(colour);
        button->setForeColor(0xFFFFFF);
    }
    for (QWidget *box : std::initializer_list<QWidget *>{txtUserName, cboPosition, txtPassword})
        KeyPreview::setBackColour(box, EntryBackColour);

    fraUser->setFrameShape(QFrame::StyledPanel);
    findChild<QFrame *>("fraUserList")->setFrameShape(QFrame::StyledPanel);
    auto *header = findChild<QLabel *>("lblHeader");
    QFont font = header->font();
    font.setBold(true);
    font.setPointSize(14);
    header->setFont(font);
    auto *strip = findChild<QLabel *>("lblUserList");
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, Colour::toQColor(0xA75C0A));
    palette.setColor(QPalette::WindowText, Qt::white);
    strip->setPalette(palette);
    strip->setIndent(8);

    QFont underlined = lblShow->font();
    underlined.setUnderline(true);
    lblShow->setFont(underlined);
    lblShow->setCursor(Qt::PointingHandCursor);
    // Hidden, it shows as stars, not the style's dots.
    txtPassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    maskPassword(true);
}

void frmUsers::installKeys()
{
    KeyPreview::installEnterChain(this, {txtUserName, cboPosition, txtPassword, cmdAdd});
    KeyPreview::install(this, [this](QKeyEvent *event) {
        if (event->key() != Qt::Key_F3 || QApplication::focusWidget() != cboPosition)
            return false;
        showPositionsWindow();
        return true;
    });
    KeyPreview::installEscClose(this);
}

void frmUsers::LoadAllPosition()
{
    cboPosition->clear();
    cboPosition->addItems(Admin::positionChoices(Module::open(Module::CompanyDb),
                                                 Admin::isSuperUser(Module::CurrentUserPosition)));
    // "SUPER USER" closes the list and is never the one proposed.
    const bool onlySuperUser =
        cboPosition->count() == 1 && Admin::isSuperUser(Module::CurrentUserPosition);
    cboPosition->setCurrentIndex(onlySuperUser ? -1 : 0);
}

void frmUsers::showPositionsWindow()
{
    QWidget *positions = WindowRegistry::show(QLatin1String(PositionWindow));
    if (positions && positions != positionsWindow_) {
        positionsWindow_ = positions;
        connect(positions, &QObject::destroyed, this, &frmUsers::reloadPositions);
    }
}

void frmUsers::reloadPositions()
{
    const QString shown = cboPosition->currentText();
    try {
        LoadAllPosition();
    } catch (const AppError &error) {
        showError(error);
    }
    const int index = cboPosition->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        cboPosition->setCurrentIndex(index);
    else if (cmdAdd->caption() == QLatin1String("&Update") && !shown.isEmpty())
        showPosition(shown); // the loaded user's own; the save refuses it if it has gone
}

void frmUsers::Lv1Load()
{
    try {
        std::vector<RecordRow> rows;
        for (const Admin::User &user :
             Admin::userList(Module::open(Module::CompanyDb), txtSearch->text()))
            rows.push_back({{QString::number(user.id), QString::number(rows.size() + 1), user.name,
                             user.position}});
        lblCount->setText(QStringLiteral("#Count : %1").arg(rows.size()));
        Lv1->records()->setRows(std::move(rows));
    } catch (const AppError &error) {
        showError(error);
    }
}

void frmUsers::GetUserPositionAdd()
{
    RightsCheck::applyAdd(QStringLiteral("User"), cmdAdd);
    lblShow->setVisible(Admin::isSuperUser(Module::CurrentUserPosition));
}

int frmUsers::userKey() const
{
    return int(Numbers::leadingValue(txtUserID->text()));
}

void frmUsers::cmdAdd_Click()
{
    const QString caption = cmdAdd->caption();
    if (caption == QLatin1String("&New")) {
        fraUser->setEnabled(true);
        txtUserName->setFocus();
        cmdAdd->setCaption(QStringLiteral("&Save"));
        return;
    }
    saveUser(caption);
}

void frmUsers::saveUser(const QString &caption)
{
    Admin::User user{0, txtUserName->text(), cboPosition->currentText(), txtPassword->text()};
    try {
        Database &db = Module::open(Module::CompanyDb);
        // The position is tested inside the write: another program may have deleted it since
        // the list was read.
        if (caption == QLatin1String("&Save")) {
            if (const auto refusal = Admin::addUser(db, user)) {
                refusePosition(*refusal);
                return;
            }
        } else {
            user.id = userKey();
            // The row is replaced whole, or kept when the replacement fails or is refused.
            if (const auto refusal = Admin::replaceUser(db, user)) {
                refusePosition(*refusal);
                return;
            }
        }
    } catch (const AppError &error) {
        showError(error);
        return;
    }
    txtUserID->setText(QString::number(user.id));
    Dialogs::message(QStringLiteral("New User has been Added"), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Information, QString());
    Lv1Load();
    txtUserName->clear();
    txtPassword->clear();
    cmdAdd->setCaption(QStringLiteral("&New"));
    cmdAdd->setFocus();
}

void frmUsers::refusePosition(const QString &refusal)
{
    Dialogs::message(refusal, Dialogs::Buttons::Ok, Dialogs::Icon::Critical, QString());
    // A position gone since the list was read is offered no more.
    reloadPositions();
}

void frmUsers::cmdDelete_Click()
{
    if (!Dialogs::askYesNo(QStringLiteral("Are You Sure To Delete User")))
        return;
    try {
        if (const auto refusal = Admin::deleteUser(Module::open(Module::CompanyDb), userKey())) {
            Dialogs::message(*refusal, Dialogs::Buttons::Ok, Dialogs::Icon::Critical, QString());
            return;
        }
    } catch (const AppError &error) {
        showError(error);
        return;
    }
    cmdAdd->setCaption(QStringLiteral("&New"));
    fraUser->setEnabled(true);
    Dialogs::message(QStringLiteral("User Delete"), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Information, QString());
    txtUserName->clear();
    txtPassword->clear();
    Lv1Load();
}

void frmUsers::showPosition(const QString &position)
{
    // A position that is no longer offered (renamed, deleted, or "SUPER USER" for a user who is
    // none) still shows what the row holds; an update stores it only while it exists.
    int index = cboPosition->findText(position, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        cboPosition->addItem(position);
        index = cboPosition->count() - 1;
    }
    cboPosition->setCurrentIndex(index);
}

void frmUsers::Lv1_DblClick()
{
    try {
        if (!Lv1->currentIndex().isValid())
            throw AppError(91, QStringLiteral("Object variable or With block variable not set"));
        const int key = int(Numbers::leadingValue(Lv1->currentText(0)));
        if (const auto user = Admin::loadUser(Module::open(Module::CompanyDb), key)) {
            txtUserID->setText(QString::number(user->id));
            txtUserName->setText(user->name);
            showPosition(user->position);
            txtPassword->setText(user->password);
        }
    } catch (const AppError &error) {
        showError(error);
        return;
    }
    fraUser->setEnabled(true);
    txtUserName->setFocus();
    if (Admin::isSuperUser(Module::LoginPosition)) {
        cmdAdd->setCaption(QStringLiteral("&Update"));
        lblShow->show();
        cmdDelete->setEnabled(true);
    } else {
        // Looking is allowed; changing and deleting are a SUPER USER's.
        lblShow->hide();
        cmdAdd->hide();
        cmdDelete->hide();
    }
}

void frmUsers::maskPassword(bool masked)
{
    txtPassword->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
}

bool frmUsers::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == Lv1->viewport()) {
        if (type == QEvent::MouseButtonDblClick &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            Lv1_DblClick();
    } else if (watched == txtPassword && type == QEvent::FocusIn) {
        maskPassword(true);
    } else if (watched == lblShow) {
        if (type == QEvent::MouseButtonPress) {
            showPressed_ = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
        } else if (type == QEvent::MouseButtonDblClick) {
            showPressed_ = false;
        } else if (type == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            // The release masks; the click it completes then shows the password in clear.
            maskPassword(true);
            if (showPressed_ && mouse->button() == Qt::LeftButton &&
                lblShow->rect().contains(mouse->position().toPoint())) {
                maskPassword(false);
                txtUserName->setFocus();
            }
            showPressed_ = false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmUsers::closeWindow()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}
