#include "shell/frmLogin.h"

#include "controls/button/StyledButton.h"
#include "controls/ribbon/RibbonMenu.h"
#include "core/Colour.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "shell/LoginLog.h"
#include "shell/LoginUsers.h"
#include "shell/MDIForm1.h"
#include "shell/ShellPictures.h"
#include "shell/ShellWindows.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/SharedProcedures.h"
#include "ui/WindowRegistry.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

Database &companyDatabase()
{
    if (!Module::CompanyDb)
        throw AppError(91, QStringLiteral("Object variable or With block variable not set"));
    return *Module::CompanyDb;
}

// A financial year bound as the title shows it; a text that is no date stands as it is.
QString yearBound(const QString &stored)
{
    const QDate date = DateText::parse(stored);
    return date.isValid() ? DateText::toLong(date) : stored;
}

void styleBox(QLineEdit *box, const QString &designText)
{
    box->setText(designText);
    QFont font(QStringLiteral("Calibri"));
    font.setPointSize(12);
    box->setFont(font);
    // The design text is a hint in grey; what the user types is drawn as in every other box.
    const QColor normal = box->palette().color(QPalette::Text);
    const auto colour = [box, designText, normal](const QString &text) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Text, text == designText ? Colour::toQColor(0x808080) : normal);
        box->setPalette(palette);
    };
    colour(designText);
    QObject::connect(box, &QLineEdit::textChanged, box, colour);
}

} // namespace

frmLogin::frmLogin(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("LOGIN"));
    showWithoutBorder(this);
    FormBuilder::setClientSize(this, 20400, 9795);
    FormBuilder::build(
        this, {
                  {FormBuilder::kind<QLineEdit>(), "txtUserName", "", 11800, 2700, 6600, 540},
                  {FormBuilder::kind<QLineEdit>(), "txtPassword", "", 11800, 3600, 6600, 540},
                  {FormBuilder::kind<StyledButton>(), "cmdLogin", "", 11800, 4560, 6600, 600},
                  {FormBuilder::kind<QLabel>(), "lblLastLogin", "", 11800, 5700, 6600, 900},
                  {FormBuilder::kind<QLabel>(), "lblFacebook0", "", 1800, 9000, 615, 375},
                  {FormBuilder::kind<QLabel>(), "lblFacebook1", "", 3120, 9000, 615, 375},
                  {FormBuilder::kind<QLabel>(), "lblFacebook2", "", 4440, 9000, 495, 375},
                  {FormBuilder::kind<QLineEdit>(), "txtLoginID", "", 0, 0, 0, 0},
              });
    txtUserName = findChild<QLineEdit *>(QStringLiteral("txtUserName"));
    txtPassword = findChild<QLineEdit *>(QStringLiteral("txtPassword"));
    txtLoginID = findChild<QLineEdit *>(QStringLiteral("txtLoginID"));
    txtLoginID->hide();
    cmdLogin = findChild<StyledButton *>(QStringLiteral("cmdLogin"));
    cmdLogin->setCaption(QStringLiteral("&LOGIN"));
    lblLastLogin = findChild<QLabel *>(QStringLiteral("lblLastLogin"));
    for (int i = 0; i < 3; ++i) {
        QLabel *area = findChild<QLabel *>(QStringLiteral("lblFacebook%1").arg(i));
        area->setCursor(Qt::PointingHandCursor);
        area->installEventFilter(this);
        lblFacebook << area;
    }
    setTabOrder(txtUserName, txtPassword);
    setTabOrder(txtPassword, cmdLogin);

    styleBox(txtUserName, QStringLiteral("Enter User Name"));
    styleBox(txtPassword, QStringLiteral("Enter Password"));
    for (QLineEdit *box : {txtUserName, txtPassword})
        box->installEventFilter(this);
    // The design text shows in clear; whatever is typed shows as stars, not the style's dots.
    txtPassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    connect(txtPassword, &QLineEdit::textChanged, this,
            [this] { txtPassword->setEchoMode(QLineEdit::Password); });
    connect(cmdLogin, &StyledButton::Click, this, &frmLogin::cmdLogin_Click);

    QFont italic(QStringLiteral("Calibri"));
    italic.setItalic(true);
    italic.setPointSize(11);
    lblLastLogin->setFont(italic);
    QPalette palette = lblLastLogin->palette();
    palette.setColor(QPalette::WindowText, Colour::toQColor(0x0000C0));
    palette.setColor(QPalette::Window, Colour::toQColor(0xFFFFFF));
    lblLastLogin->setPalette(palette);
    lblLastLogin->setAutoFillBackground(true);
    lblLastLogin->setAlignment(Qt::AlignCenter);

    QList<QRect> areas;
    for (QLabel *area : lblFacebook)
        areas << area->geometry();
    background_ = ShellPictures::loginBackground(size(), areas);

    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        designed_.push_back({child, child->geometry(), child->font().pointSizeF()});
    designedSize_ = size();

    KeyPreview::installEnterChain(this, {txtUserName, txtPassword, cmdLogin});
    KeyPreview::install(this, [this](QKeyEvent *event) { return keyPreview(event); });

    try {
        GetLoginDetail();
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
    txtUserName->setFocus();
    SelectAllText(txtUserName);
}

void frmLogin::loginida()
{
    txtLoginID->setText(QString::number(LoginLog::nextLoginNo(companyDatabase())));
}

void frmLogin::GetLoginDetail()
{
    lblLastLogin->setAlignment(Qt::AlignCenter);
    const QString text = LoginLog::lastLoginText(companyDatabase());
    if (!text.isEmpty())
        lblLastLogin->setText(text);
}

void frmLogin::cmdLogin_Click()
{
    try {
        Database &db = companyDatabase();
        // The typed name is a value, never SQL: a quote in it is just a character.
        Recordset user = LoginUsers::find(db, txtUserName->text());
        if (user.eof()) {
            Dialogs::information(QStringLiteral("Invalid Password"), QStringLiteral("Login Info"));
            txtPassword->setFocus();
            if (txtPassword->text().isEmpty() || txtUserName->text().isEmpty())
                Dialogs::information(QStringLiteral("Complete Information"), QStringLiteral("ok"));
            return;
        }
        const QVariant stored = user.field(QStringLiteral("Password"));
        if (stored.isNull() || stored.toString().toUpper() != txtPassword->text().toUpper()) {
            Dialogs::information(QStringLiteral("Invalid Password"), QStringLiteral("Login Info"));
            return;
        }
        const QVariant userId = user.field(QStringLiteral("UserID"));
        const QString userName = user.text(QStringLiteral("UserName"));
        const QString position = user.text(QStringLiteral("UserPosition"));

        // Everything that can fail is read before the login is logged and the state changes.
        QString year;
        Recordset fy = db.query(QStringLiteral("SELECT * FROM FinancialYear"));
        if (!fy.eof())
            year = yearBound(fy.text(QStringLiteral("StartDate"))) + QStringLiteral(" To ") +
                   yearBound(fy.text(QStringLiteral("EndDate")));
        Recordset company = db.query(QStringLiteral("SELECT * FROM Company"));
        if (company.eof())
            throw AppError(3021, QStringLiteral("No current record."));
        const QString companyName = company.text(QStringLiteral("CompanyName"));
        const QString city = company.text(QStringLiteral("city"));
        // The sender address kept in the company details wins over the company's own address.
        const QString sender = company.text(QStringLiteral("OT3")).trimmed();
        const QString email = sender.isEmpty() ? company.text(QStringLiteral("email")) : sender;

        // Reads end before the write begins, or another program's lock fails it at once.
        user.close();
        fy.close();
        company.close();
        {
            Transaction t(db);
            loginida();
            LoginLog::writeLogin(db, int(Numbers::leadingValue(txtLoginID->text())),
                                 userId.toDouble(), QDateTime::currentDateTime());
            t.commit();
        }

        Module::CurrentUserName = userName;
        Module::CurrentUserPosition = position;
        Module::LoginPosition = position;
        Module::CurrentCompanyCity = city;
        Module::CurrentCompanyName = companyName;
        Module::CurrentCompanyEmail = email;
        if (MDIForm1 *main = MDIForm1::instance()) {
            main->setWindowTitle(Dialogs::programTitle() + QStringLiteral(" #[") + companyName +
                                 QLatin1Char(',') + city + QStringLiteral(" ] [FY=") + year +
                                 QStringLiteral("] User =  ") + userName + QStringLiteral(" [") +
                                 position + QStringLiteral("] @") + Module::CompanyDataPath);
            main->buildMenuOnce();
        }
        WindowRegistry::close(objectName());
    } catch (const AppError &error) {
        Dialogs::message(
            QStringLiteral("Error %1\r%2").arg(error.number()).arg(error.description()),
            Dialogs::Buttons::Ok, Dialogs::Icon::Information);
    }
}

void frmLogin::lblFacebook_Click(int index)
{
    try {
        if (!Module::PackageDb)
            throw AppError(91, QStringLiteral("Object variable or With block variable not set"));
        Recordset rs = Module::PackageDb->query(QStringLiteral("SELECT * FROM Develop"));
        if (rs.eof())
            return;
        const QString link = rs.text(QStringLiteral("OM%1").arg(6 + index));
        if (!link.isEmpty())
            Dialogs::service().openWithDesktop(link);
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
}

bool frmLogin::keyPreview(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape)
        return false;
    WindowRegistry::close(objectName());
    WindowRegistry::show(QStringLiteral("frmCompanyList"));
    return true;
}

bool frmLogin::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == watchedArea_) {
        if (event->type() == QEvent::Resize)
            fitToArea();
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        // After the box has placed its cursor, so the first key replaces the whole text.
        if (auto *box = qobject_cast<QLineEdit *>(watched))
            QTimer::singleShot(0, box, [box] { SelectAllText(box); });
    } else if (event->type() == QEvent::MouseButtonPress) {
        const int index = int(lblFacebook.indexOf(static_cast<QLabel *>(watched)));
        if (index >= 0 && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            lblFacebook_Click(index);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmLogin::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (QMdiArea *area = WindowRegistry::mdiArea(); area && !watchedArea_) {
        watchedArea_ = area->viewport();
        watchedArea_->installEventFilter(this);
    }
    fitToArea();
}

void frmLogin::fitToArea()
{
    if (watchedArea_)
        fitTo(watchedArea_->size());
}

void frmLogin::fitTo(QSize room)
{
    // The designed window is 1360 x 653 pixels: on a smaller screen (1024 x 768) it shrinks as a
    // whole, so the LOGIN button stays on the screen.
    const qreal factor = std::min({1.0, qreal(room.width()) / designedSize_.width(),
                                   qreal(room.height()) / designedSize_.height()});
    if (factor <= 0 || qFuzzyCompare(factor, scale_))
        return;
    scale_ = factor;
    const auto scaled = [factor](const QRect &r) {
        return QRect(qRound(r.x() * factor), qRound(r.y() * factor), qRound(r.width() * factor),
                     qRound(r.height() * factor));
    };
    for (const Designed &d : designed_) {
        d.widget->setGeometry(scaled(d.geometry));
        if (d.pointSize > 0) {
            QFont font = d.widget->font();
            font.setPointSizeF(std::max(7.0, d.pointSize * factor));
            d.widget->setFont(font);
        }
    }
    resize(qRound(designedSize_.width() * factor), qRound(designedSize_.height() * factor));
    QList<QRect> areas;
    for (QLabel *area : lblFacebook)
        areas << area->geometry();
    background_ = ShellPictures::loginBackground(size(), areas);
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->adjustSize();
    update();
}

void frmLogin::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}
