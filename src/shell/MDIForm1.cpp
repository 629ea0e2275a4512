#include "shell/MDIForm1.h"

#include "controls/ribbon/ImageList.h"
#include "controls/ribbon/RibbonMenu.h"
#include "core/AppError.h"
#include "core/Colour.h"
#include "core/Dialogs.h"
#include "core/Units.h"
#include "shell/ModVoucherUpdate.h"
#include "shell/ShellPictures.h"
#include "ui/WindowRegistry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

QPointer<MDIForm1> &theInstance()
{
    static QPointer<MDIForm1> instance;
    return instance;
}

constexpr int ImageCount = 34;

} // namespace

MDIForm1::MDIForm1(QWidget *parent)
    : QMainWindow(parent), ribbon_(new RibbonMenu(this)), images_(new ImageList(this)),
      area_(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDIForm1"));
    theInstance() = this;
    setWindowIcon(ShellPictures::programIcon());
    ribbon_->setObjectName(QStringLiteral("RibbonMenu1"));
    images_->setObjectName(QStringLiteral("ImageList12"));
    area_->setObjectName(QStringLiteral("MDIClient"));
    setMenuWidget(ribbon_);
    setCentralWidget(area_);
    resize(Units::twipsToPixels(11280), Units::twipsToPixels(8460) + ribbon_->height());

    // Pictures 1 to 12 are the ribbon's; the rest of the list's 34 are unused blanks.
    for (int number = 1; number <= ImageCount; ++number) {
        if (number <= 12) {
            images_->add(ShellPictures::ribbonPicture(number));
        } else {
            QPixmap blank(48, 48);
            blank.fill(Qt::transparent);
            images_->add(blank);
        }
    }

    ribbon_->setTheme(1);
    const QColor back = Colour::toQColor(ribbon_->BackColor());
    const QPixmap backdrop = ribbon_->LoadBackground();
    area_->setBackground(backdrop.isNull() ? QBrush(back) : QBrush(back, backdrop));
    ribbon_->setImageList(images_);
    ribbon_->setButtonCenter(false);
    setWindowTitle(Dialogs::programTitle());

    connect(ribbon_, &RibbonMenu::ButtonClick, this, &MDIForm1::RibbonMenu1_ButtonClick);
    area_->viewport()->installEventFilter(this);
    WindowRegistry::setMdiArea(area_);
}

MDIForm1::~MDIForm1()
{
    if (WindowRegistry::mdiArea() == area_)
        WindowRegistry::setMdiArea(nullptr);
}

MDIForm1 *MDIForm1::instance()
{
    return theInstance();
}

void MDIForm1::buildMenuOnce()
{
    if (menuBuilt_)
        return;
    LoadRibbonMenu(*ribbon_);
    menuBuilt_ = true;
}

QString MDIForm1::windowForButton(const QString &id)
{
    static const char *const windows[] = {
        "frmBook",         "frmLibraryCard",         "frmGroup",
        "frmBookList",     "frmBookIssue",           "frmBookIssueRegister",
        "frmBookReceipt",  "frmBookReceiptRegister", "frmLedger",
        "frmPendingBooks", "frmCompanyInformation",  "frmUsers",
    };
    bool isNumber = false;
    const int number = id.trimmed().toInt(&isNumber);
    if (!isNumber || number < 0 || number >= int(std::size(windows)))
        return QString();
    return QLatin1String(windows[number]);
}

void MDIForm1::RibbonMenu1_ButtonClick(const QString &id, const QString &)
{
    const QString window = windowForButton(id);
    // A window that is not part of the program yet is not registered: nothing opens.
    if (!window.isEmpty())
        WindowRegistry::show(window);
}

bool MDIForm1::closeMayPass(const QString &lastLoaded, bool exitApproved, bool sessionEndRepeated)
{
    return exitApproved || sessionEndRepeated || lastLoaded == QLatin1String("frmCompanyList") ||
           lastLoaded == QLatin1String("frmAutoBackup");
}

void MDIForm1::closeEvent(QCloseEvent *event)
{
    // A desktop session that ends is refused once, for the backup; asked again, it is let go.
    const bool sessionEnding = qGuiApp && qGuiApp->isSavingSession();
    // Without a backup window in the program nothing could ever approve the exit.
    if (!WindowRegistry::isRegistered(QStringLiteral("frmAutoBackup"))) {
        event->accept();
        return;
    }
    if (closeMayPass(WindowRegistry::lastLoaded(), property(ExitApprovedProperty).toBool(),
                     sessionEnding && sessionEndRefused_)) {
        event->accept();
        return;
    }
    event->ignore();
    if (sessionEnding)
        sessionEndRefused_ = true;
    setProperty(ExitApprovedProperty, QVariant());
    try {
        WindowRegistry::show(QStringLiteral("frmAutoBackup"));
    } catch (const AppError &) {
        // The close rule ignores its errors: the main window stays open all the same.
    }
}

bool MDIForm1::eventFilter(QObject *watched, QEvent *event)
{
    // The main window comes up with its first child window.
    if (watched == area_->viewport() && event->type() == QEvent::ChildAdded && !isVisible()) {
        // Only sub-windows live on the viewport; the child is not fully made yet, so no cast.
        if (static_cast<QChildEvent *>(event)->child()->isWidgetType())
            show();
    }
    return QMainWindow::eventFilter(watched, event);
}
