#include "controls/grid/view/VeziRado.h"

#include "controls/grid/GridErrors.h"
#include "controls/grid/view/GridImageList.h"
#include "core/Colour.h"
#include "core/Units.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>

VeziRado::VeziRado(QWidget *parent)
    : QAbstractScrollArea(parent), geometry_(model_, p_, horizontal_, vertical_),
      hook_(QStringLiteral("VeziRado")), desktopLook_(&GridTheme::currentDesktopLook)
{
    setObjectName(QStringLiteral("VeziRado"));
    model_.setView(this);
    englishLocale_ = GetInfo(4097) == QLatin1String("English");
    createChildren();
    installMouseHandling();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onBarAction(Bar::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onBarAction(Bar::Vertical, action); });
    connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this,
            [this] { scrollRequest(Bar::Horizontal, ScrollRequest::EndScroll, false); });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this,
            [this] { scrollRequest(Bar::Vertical, ScrollRequest::EndScroll, false); });

    VeziRadoEvents &events = model_.events();
    events.RowCountChanged = [this] { emit RowCountChanged(); };
    events.SelectionChanged = [this] { emit SelectionChanged(); };
    events.RowColChanged = [this] { emit RowColChanged(); };
    events.Scroll = [this] { emit Scroll(); };
    events.SortComplete = [this] { emit SortComplete(); };
    events.CustomSort = [this](bool &ascending, int &col, QString &value1, QString &value2,
                               bool &swap) {
        emit CustomSort(ascending, col, value1, value2, swap);
    };
}

VeziRado::~VeziRado()
{
    // A borrowed host control would otherwise die with the viewport.
    hideEditor();
    // Nothing paints any more; the hook goes last so hooked events still find the grid alive.
    painting_ = true;
    model_.setRedraw(false);
    SBDestroy();
    model_.setView(nullptr);
    hook_.UnhookAll();
}

void VeziRado::createChildren()
{
    txtEdit = new QLineEdit(viewport());
    txtEdit->setObjectName(QStringLiteral("txtEdit"));
    txtEdit->setFrame(false);
    txtEdit->hide();
    installKeyRelay();

    // A window of its own, so that it can reach past the grid and its window, without a task-bar
    // entry. As a tool window of the grid's window it stays above that window only: a window of
    // another program activated later covers it, as a topmost or unmanaged one would not. It lies
    // under the pointer and must never take the mouse or the focus, or the grid would get a Leave
    // and hide it at once: a tooltip-type window may get its input shape only once it is mapped.
    picToolTip = new QLabel(this, Qt::Tool | Qt::FramelessWindowHint |
                                      Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    picToolTip->setObjectName(QStringLiteral("picToolTip"));
    picToolTip->setAttribute(Qt::WA_TransparentForMouseEvents);
    picToolTip->setAttribute(Qt::WA_ShowWithoutActivating);
    picToolTip->setFocusPolicy(Qt::NoFocus);
    picToolTip->setFrameShape(QFrame::Box);
    picToolTip->setFrameShadow(QFrame::Plain);
    QPalette palette = picToolTip->palette();
    palette.setColor(QPalette::Window, Colour::toQColor(Colour::system(Colour::InfoBack)));
    palette.setColor(QPalette::WindowText, Qt::black);
    picToolTip->setPalette(palette);
    // Left enabled, since a disabled label greys its picture; the flags above keep input away.
    picToolTip->setAutoFillBackground(true);
    picToolTip->hide();
}

void VeziRado::markChanged(const QString &key)
{
    emit propertyChanged(key);
}

QString VeziRado::GetInfo(int lInfo) const
{
    const QLocale locale = QLocale::system();
    switch (lInfo) {
    case 4097: // the English name of the language
        return locale.language() == QLocale::C ? QStringLiteral("English")
                                               : QLocale::languageToString(locale.language());
    case 14:
        return locale.decimalPoint();
    case 15:
        return locale.groupSeparator();
    case 31:
        return locale.dateFormat(QLocale::ShortFormat);
    default:
        return {};
    }
}

void VeziRado::setTextMeasurer(const TextMeasurer *measurer)
{
    static FontTextMeasurer fonts;
    geometry_.setMeasurer(measurer ? measurer : &fonts);
    CalcMetrics();
}

void VeziRado::setDesktopLookProvider(GridTheme::DesktopLookProvider provider)
{
    desktopLook_ = provider ? std::move(provider) : &GridTheme::currentDesktopLook;
}

// ---------------------------------------------------------------------------------------------
// The drawing gate.

void VeziRado::setRedraw(bool vNewValue)
{
    model_.setRedraw(vNewValue);
    markChanged(QStringLiteral("Redraw"));
    if (horizontal_.shown() && SBValueGet(Bar::Horizontal) < p_.FreezeAtCol + 1)
        SBValueLet(Bar::Horizontal, p_.FreezeAtCol + 1);
}

void VeziRado::Refresh()
{
    CalcMetrics();
    LayoutScrollBars();
    model_.repaint();
}

void VeziRado::setImageList(GridImageList *vNewValue)
{
    // Images are drawn in pixels here: the host's scale mode plays no part.
    imageList_ = vNewValue;
    model_.RefreshIfRedraw();
}

std::optional<int> VeziRado::imageIndexOfKey(const QString &key) const
{
    return imageList_ ? imageList_->indexOfKey(key) : std::nullopt;
}

std::optional<QString> VeziRado::imageKeyOfIndex(int index) const
{
    return imageList_ ? imageList_->keyOfIndex(index) : std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// What the model asks of its window.

void VeziRado::rowAutoHeight(int displayRow)
{
    if (const auto height = geometry_.RowAutoHeight(displayRow))
        model_.setRowPixelHeight(displayRow, *height);
}

double VeziRado::twipsPerPixel() const
{
    const int dpi = logicalDpiY();
    return dpi > 0 ? 1440.0 / dpi : Units::TwipsPerPixel;
}

double VeziRado::pixelsPerUnit(Grid::ScaleUnits units) const
{
    const double dpi = 1440.0 / twipsPerPixel();
    switch (units) {
    case Grid::ScaleUnits::User:
    case Grid::ScaleUnits::Pixels:
        return 1;
    case Grid::ScaleUnits::Points:
        return dpi / 72;
    case Grid::ScaleUnits::Characters: // 120 twips to the character
        return 120 / twipsPerPixel();
    case Grid::ScaleUnits::Inches:
        return dpi;
    case Grid::ScaleUnits::Millimeters:
        return dpi / 25.4;
    case Grid::ScaleUnits::Centimeters:
        return dpi / 2.54;
    default:
        return 1 / twipsPerPixel();
    }
}

int VeziRado::widthToPixels(float width) const
{
    return int(Units::roundHalfEven(width * pixelsPerUnit(p_.ScaleUnits)));
}

float VeziRado::visibleWidth() const
{
    const double twips = const_cast<VeziRado *>(this)->VisibleWidth();
    return float(twips / twipsPerPixel() / pixelsPerUnit(p_.ScaleUnits));
}

void VeziRado::cleared()
{
    hideEditor();
    picToolTip->hide();
    editPending_ = false;
    mouseRow_ = -1;
    mouseCol_ = -1;
    hotHeader_ = -1;
    resetMouseState();
}

void VeziRado::processEvents()
{
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------------------------------------
// Themes.

void VeziRado::ApplyGridTheme()
{
    if (p_.ThemeColor == Grid::ThemeColor::Automatic)
        DetectThemeColor();
    else
        GridTheme::SetDefaultThemeColor(p_, p_.ThemeColor);
    syncDefaultLook();
    applyWindowLook();
}

void VeziRado::DetectThemeColor()
{
    const GridTheme::DesktopLook look = desktopLook_();
    schemeName_ = look.stylesActive ? look.schemeName : QStringLiteral("Classic");
    GridTheme::SetDefaultThemeColor(p_, GridTheme::DetectedScheme(look));
}

void VeziRado::setThemeColor(Grid::ThemeColor vData)
{
    if (vData == p_.ThemeColor)
        return;
    p_.ThemeColor = vData;
    markChanged(QStringLiteral("ThemeColor"));
    ApplyGridTheme();
    model_.repaint();
}

void VeziRado::setThemeStyle(Grid::ThemeStyle vNewValue)
{
    p_.ThemeStyle = vNewValue;
    markChanged(QStringLiteral("ThemeStyle"));
    model_.repaint();
}

void VeziRado::setThemeCustomColorFrom(quint32 new_ColorFrom)
{
    const auto colour = GridTheme::TranslateColor(new_ColorFrom);
    markChanged(QStringLiteral("CustomColorFrom"));
    // A value that names no colour keeps the colour there was.
    if (colour && p_.ThemeColor == Grid::ThemeColor::Custom)
        p_.ThemeCustomColorFrom = *colour;
    Refresh();
}

void VeziRado::setThemeCustomColorTo(quint32 new_ColorTo)
{
    const auto colour = GridTheme::TranslateColor(new_ColorTo);
    markChanged(QStringLiteral("CustomColorTo"));
    if (colour && p_.ThemeColor == Grid::ThemeColor::Custom)
        p_.ThemeCustomColorTo = *colour;
    Refresh();
}
