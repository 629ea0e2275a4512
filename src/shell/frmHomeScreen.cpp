#include "shell/frmHomeScreen.h"

#include "controls/button/StyledButton.h"
#include "controls/ribbon/RibbonMenu.h"
#include "core/Colour.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Units.h"
#include "shell/MDIForm1.h"
#include "shell/Module2.h"
#include "shell/ShellPictures.h"
#include "shell/ShellWindows.h"
#include "ui/FormBuilder.h"

#include <QLabel>
#include <QMouseEvent>

namespace {

constexpr int CollapsedWidth = 215;
constexpr int ExpandedWidth = 1815;
constexpr int StripCollapsedLeft = -30;
constexpr int StripExpandedLeft = 1570;
constexpr int BarHeight = 420;

void fill(QWidget *widget, quint32 colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Colour::toQColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

frmHomeScreen::frmHomeScreen(QWidget *parent) : QWidget(parent)
{
    FormBuilder::setClientSize(this, 11000, 7000);
    showWithoutBorder(this);
    FormBuilder::build(
        this,
        {
            {FormBuilder::kind<QWidget>(), "fraNavigation", "", 0, 1800, CollapsedWidth, 5655},
            {FormBuilder::kind<QLabel>(), "fraNavigation/lblPanelText", "", StripCollapsedLeft, 0,
             255, 5550},
            {FormBuilder::kind<StyledButton>(), "fraNavigation/cmdSupport0", "", 120, 240, 1335,
             900},
            {FormBuilder::kind<StyledButton>(), "fraNavigation/cmdSupport1", "", 120, 1320, 1335,
             900},
            {FormBuilder::kind<StyledButton>(), "fraNavigation/cmdSupport2", "", 120, 2400, 1335,
             900},
            {FormBuilder::kind<StyledButton>(), "fraNavigation/cmdSupport3", "", 120, 3480, 1335,
             900},
            {FormBuilder::kind<StyledButton>(), "fraNavigation/cmdSupport4", "", 120, 4560, 1335,
             900},
            {FormBuilder::kind<QWidget>(), "PicBar", "", 0, 6580, 10700, BarHeight},
            {FormBuilder::kind<QLabel>(), "PicBar/lblPrinter", "\"Default '", 20, 75, 6000, 270},
        });
    fraNavigation = findChild<QWidget *>(QStringLiteral("fraNavigation"));
    lblPanelText = findChild<QLabel *>(QStringLiteral("lblPanelText"));
    PicBar = findChild<QWidget *>(QStringLiteral("PicBar"));
    lblPrinter = findChild<QLabel *>(QStringLiteral("lblPrinter"));
    fill(fraNavigation, 0xFFFFC0);
    fill(PicBar, 0x804000);
    QPalette white = lblPrinter->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    lblPrinter->setPalette(white);
    lblPanelText->setPixmap(ShellPictures::supportStrip());
    lblPanelText->adjustSize();

    const QStringList captions{QStringLiteral("Website"), QStringLiteral("Contact Us"),
                               QStringLiteral("Live Chat"), QStringLiteral("Feedback"),
                               QStringLiteral("Social Media")};
    for (int i = 0; i < captions.size(); ++i) {
        auto *button = findChild<StyledButton *>(QStringLiteral("cmdSupport%1").arg(i));
        button->setCaption(captions[i]);
        connect(button, &StyledButton::Click, this, [this, i] { cmdSupport_Click(i); });
        cmdSupport << button;
    }
    for (QWidget *tracked :
         {static_cast<QWidget *>(this), fraNavigation, static_cast<QWidget *>(lblPanelText)}) {
        tracked->setMouseTracking(true);
        if (tracked != this)
            tracked->installEventFilter(this);
    }

    MDIForm1 *main = MDIForm1::instance();
    fill(this, main ? main->RibbonMenu1()->BackColor() : 0xF0F0F0);
    followMainWindow();
    setWindowTitle(Dialogs::programTitle());
    LastBackupDt();

    // The printer part is left out when the desktop has no default print queue.
    const QPrinterInfo printer = DefaultPrinterObject();
    if (!printer.isNull())
        lblPrinter->setText(QStringLiteral("Default Printer : ") + printer.printerName());
    lblPrinter->setText(lblPrinter->text() + QStringLiteral(" , Last Backup : ") +
                        DateText::toGeneral(lastBackupDate_));
    lblPrinter->adjustSize();
    lblPrinter->move(Units::twipsToPixels(20), lblPrinter->y());
    collapsePanel();
}

void frmHomeScreen::LastBackupDt()
{
    if (!Module::CommonDb)
        return;
    for (Recordset rs = Module::CommonDb->query(QStringLiteral("SELECT * FROM Path")); !rs.eof();
         rs.moveNext())
        lastBackupDate_ = DateText::parseDateTime(rs.text(QStringLiteral("OD1")));
}

bool frmHomeScreen::panelExpanded() const
{
    return fraNavigation->width() > Units::twipsToPixels(CollapsedWidth);
}

void frmHomeScreen::expandPanel()
{
    fraNavigation->resize(Units::twipsToPixels(ExpandedWidth), fraNavigation->height());
    for (StyledButton *button : cmdSupport)
        button->show();
    lblPanelText->move(Units::twipsToPixels(StripExpandedLeft), lblPanelText->y());
}

void frmHomeScreen::collapsePanel()
{
    for (StyledButton *button : cmdSupport)
        button->hide();
    fraNavigation->resize(Units::twipsToPixels(CollapsedWidth), fraNavigation->height());
    lblPanelText->move(Units::twipsToPixels(StripCollapsedLeft), lblPanelText->y());
}

void frmHomeScreen::mouseMoveEvent(QMouseEvent *event)
{
    if (panelExpanded())
        collapsePanel();
    QWidget::mouseMoveEvent(event);
}

bool frmHomeScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == fraNavigation || (watched == lblPanelText && !panelExpanded()))
            expandPanel();
        return true; // not on to the window's surface, which would narrow the panel again
    }
    return QWidget::eventFilter(watched, event);
}

void frmHomeScreen::followMainWindow()
{
    if (MDIForm1 *main = MDIForm1::instance())
        resize(main->width() - Units::twipsToPixels(300),
               main->height() - Units::twipsToPixels(2400));
}

void frmHomeScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    PicBar->setGeometry(0, height() - Units::twipsToPixels(BarHeight), width(),
                        Units::twipsToPixels(BarHeight));
}

void frmHomeScreen::cmdSupport_Click(int index)
{
    // Only "Website" and "Live Chat" have links of their own.
    if (index != 0 && index != 2)
        return;
    try {
        if (!Module::PackageDb)
            throw AppError(91, QStringLiteral("Object variable or With block variable not set"));
        // An empty Develop table is a link that cannot be read: the error box says so.
        Recordset rs = Module::PackageDb->query(QStringLiteral("SELECT * FROM Develop"));
        const QString link = rs.text(index == 0 ? QStringLiteral("OM2") : QStringLiteral("OM3"));
        if (!link.isEmpty())
            Dialogs::service().openWithDesktop(link);
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
}
