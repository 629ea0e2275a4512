#include "controls/grid/view/VeziRado.h"

#include "core/AppError.h"
#include "core/PropertyBag.h"

#include <QApplication>
#include <QEvent>

#include <cstdlib>

// The saved properties of the grid: read in one order at load, written in another at save. A key
// equal to its default is left out, but for the few the grid always writes.

namespace {

const QVariant Always; // a default no value equals: the key is written whatever its value

[[noreturn]] void typeMismatch(const QString &key)
{
    throw AppError(13, QStringLiteral("Type mismatch: ") + key);
}

qint64 readNumber(const PropertyBag &bag, const QString &key, qint64 defaultValue)
{
    const QVariant value = bag.read(key, defaultValue);
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (!ok)
        typeMismatch(key);
    return number;
}

bool readBool(const PropertyBag &bag, const QString &key, bool defaultValue)
{
    return readNumber(bag, key, defaultValue ? -1 : 0) != 0;
}

int readInt(const PropertyBag &bag, const QString &key, int defaultValue)
{
    return int(readNumber(bag, key, defaultValue));
}

quint32 readColour(const PropertyBag &bag, const QString &key, quint32 defaultValue)
{
    return quint32(readNumber(bag, key, qint32(defaultValue)));
}

QFont readFont(const PropertyBag &bag, const QString &key, const QFont &defaultValue)
{
    const QVariant value = bag.read(key, defaultValue);
    if (!value.canConvert<QFont>())
        typeMismatch(key);
    return value.value<QFont>();
}

template <typename Enum> Enum readEnum(const PropertyBag &bag, const QString &key, Enum value)
{
    return Enum(readInt(bag, key, int(value)));
}

void writeBool(PropertyBag &bag, const QString &key, bool value, const QVariant &defaultValue)
{
    bag.write(key, value, defaultValue);
}

void writeInt(PropertyBag &bag, const QString &key, int value, int defaultValue)
{
    bag.write(key, value, defaultValue);
}

void writeColour(PropertyBag &bag, const QString &key, quint32 value, quint32 defaultValue)
{
    bag.write(key, qint32(value), qint32(defaultValue));
}

template <typename Enum> void writeEnum(PropertyBag &bag, const QString &key, Enum value, Enum def)
{
    bag.write(key, int(value), int(def));
}

} // namespace

static QFont ambientFont(const QWidget *grid)
{
    return grid->parentWidget() ? grid->parentWidget()->font() : QApplication::font();
}

void VeziRado::InitProperties()
{
    const QFont ambient = ambientFont(this);
    const Grid::Properties defaults;
    p_ = defaults;
    p_.Font = ambient;
    p_.FontHeader = ambient;
    // A grid newly placed lets the user size its columns and numbers all rows alike.
    p_.AllowColumnResizing = true;
    p_.ShowRowNumbersVary = false;
    p_.Appearance =
        frameShadow() == QFrame::Plain ? Grid::Appearance::Flat : Grid::Appearance::ThreeD;
    storedEnabled_ = true;
    model_.setRedraw(false);
    geometry_.resetStandardRowHeight();
    p_.ThemeCustomColorFrom = GridTheme::TranslateColor(defaults.ThemeCustomColorFrom).value_or(0);
    p_.ThemeCustomColorTo = GridTheme::TranslateColor(defaults.ThemeCustomColorTo).value_or(0);
    p_.ThemeColor = Grid::ThemeColor::Automatic;
    ApplyGridTheme();
    applyWindowLook();
}

void VeziRado::ReadProperties(const PropertyBag &bag, bool userMode)
{
    const Grid::Properties d;
    Grid::Properties &p = p_;
    p.ApplySelectionToImages = readBool(bag, "ApplySelectionToImages", d.ApplySelectionToImages);
    p.BackColor = readColour(bag, "BackColor", d.BackColor);
    p.BackColorBkg = readColour(bag, "BackColorBkg", d.BackColorBkg);
    p.BackColorEdit = readColour(bag, "BackColorEdit", d.BackColorEdit);
    p.BackColorSel = readColour(bag, "BackColorSel", d.BackColorSel);
    p.ForeColor = readColour(bag, "ForeColor", d.ForeColor);
    p.ForeColorEdit = readColour(bag, "ForeColorEdit", d.ForeColorEdit);
    p.ForeColorHdr = readColour(bag, "ForeColorHdr", d.ForeColorHdr);
    p.ForeColorSel = readColour(bag, "ForeColorSel", d.ForeColorSel);
    p.ColumnHeaders = readBool(bag, "ShowColumnHeaders", d.ColumnHeaders);
    p.CenterRowImage = readBool(bag, "CenterRowImage", d.CenterRowImage);
    p.ScrollBars = readEnum(bag, "ScrollBars", d.ScrollBars);
    p.MinVerticalOffset = readInt(bag, "MinVerticalOffset", d.MinVerticalOffset);
    p.BackColorEvenRows = readColour(bag, "BackColorEvenRows", d.BackColorEvenRows);
    p.BackColorEvenRowsEnabled =
        readBool(bag, "BackColorEvenRowsEnabled", d.BackColorEvenRowsEnabled);
    p.GridColor = readColour(bag, "GridColor", d.GridColor);
    model_.setCellProgressBarColor(readColour(bag, "ProgressBarColor", 0x8080FFu));
    p.AlphaBlendSelection = readBool(bag, "AlphaBlendSelection", d.AlphaBlendSelection);
    p.BorderStyle = readEnum(bag, "BorderStyle", d.BorderStyle);
    p.DisplayEllipsis = readBool(bag, "DisplayEllipsis", d.DisplayEllipsis);
    p.FocusRectColor = readColour(bag, "FocusRectColor", d.FocusRectColor);
    p.FocusRectMode = readEnum(bag, "FocusRectMode", d.FocusRectMode);
    p.FocusRectStyle = readEnum(bag, "FocusRectStyle", d.FocusRectStyle);
    p.GridLines = Grid::GridLines(std::abs(readInt(bag, "GridLines", int(d.GridLines))));
    p.GridLineWidth = readInt(bag, "GridLineWidth", d.GridLineWidth);
    p.ThemeColor = readEnum(bag, "ThemeColor", d.ThemeColor);
    p.ThemeStyle = readEnum(bag, "ThemeStyle", d.ThemeStyle);
    p.ColumnHeaderSmall = readBool(bag, "ColumnHeaderSmall", d.ColumnHeaderSmall);
    p.ThemeCustomColorFrom = readColour(bag, "CustomColorFrom", d.ThemeCustomColorFrom);
    p.ThemeCustomColorTo = readColour(bag, "CustomColorTo", d.ThemeCustomColorTo);
    p.ColumnHeaderLines = qint16(readInt(bag, "ColumnHeaderLines", d.ColumnHeaderLines));
    p.Caption = bag.read("Caption", d.Caption).toString();
    p.CaptionAlignment = readInt(bag, "CaptionAlignment", d.CaptionAlignment);
    p.Appearance = Grid::Appearance(qint16(readInt(bag, "Appearance", int(d.Appearance))));
    p.ScrollBarStyle = readEnum(bag, "ScrollBarStyle", d.ScrollBarStyle);
    model_.setTotalsLineShow(readBool(bag, "TotalsLineShow", false));
    p.FocusRowHighlightKeepTextForecolor =
        readBool(bag, "FocusRowHighlightKeepTextForecolor", d.FocusRowHighlightKeepTextForecolor);
    p.ShowRowNumbers = readBool(bag, "ShowRowNumbers", d.ShowRowNumbers);
    p.ShowRowNumbersVary = readBool(bag, "ShowRowNumbersVary", d.ShowRowNumbersVary);
    p.AllowColumnResizing = readBool(bag, "AllowColumnResizing", d.AllowColumnResizing);
    p.AllowRowResizing = readBool(bag, "AllowRowResizing", d.AllowRowResizing);
    p.AllowWordWrap = readBool(bag, "AllowWordWrap", d.AllowWordWrap);
    p.RowCheckBoxes = readBool(bag, "Checkboxes", d.RowCheckBoxes);
    p.AllowColumnDrag = readBool(bag, "ColumnDrag", d.AllowColumnDrag);
    p.AllowColumnSwap = readBool(bag, "ColumnSwap", d.AllowColumnSwap);
    p.AllowColumnSort = readBool(bag, "ColumnSort", d.AllowColumnSort);
    p.AllowEdit = readBool(bag, "Editable", d.AllowEdit);
    p.AllowDelete = readBool(bag, "AllowDelete", d.AllowDelete);
    p.AllowInsert = readBool(bag, "AllowInsert", d.AllowInsert);
    p.EditTrigger = readInt(bag, "EditTrigger", d.EditTrigger);
    p.EditMove = readEnum(bag, "EditMove", d.EditMove);
    p.FocusRowHighlight = readBool(bag, "FullRowSelect", d.FocusRowHighlight);
    p.FocusRowHighlightStyle = readEnum(bag, "FocusRowHighlightStyle", d.FocusRowHighlightStyle);
    p.FocusRectHide = readBool(bag, "HideSelection", d.FocusRectHide);
    p.AllowColumnHover = readBool(bag, "HotHeaderTracking", d.AllowColumnHover);
    model_.setMultiSelect(std::abs(qint16(readInt(bag, "MultiSelect", 0))));
    p.ScrollTrack = readBool(bag, "ScrollTrack", d.ScrollTrack);
    p.AutoToolTips = readBool(bag, "AutoToolTips", d.AutoToolTips);
    QAbstractScrollArea::setEnabled(readBool(bag, "Enabled", true));
    p.FreezeAtCol = qint16(readInt(bag, "FreezeAtCol", d.FreezeAtCol));
    model_.restoreCacheIncrement(readInt(bag, "CacheIncrement", 10));
    storedEnabled_ = readBool(bag, "Enabled", true);
    p.MaxLineCount = readInt(bag, "MaxLineCount", d.MaxLineCount);
    p.ScaleUnits = readEnum(bag, "ScaleUnits", d.ScaleUnits);
    model_.setSearchColumn(readInt(bag, "SearchColumn", 0));
    p.MinRowHeight = readInt(bag, "MinRowHeight", d.MinRowHeight);
    const QFont ambient = ambientFont(this);
    p.Font = readFont(bag, "Font", ambient);
    QAbstractScrollArea::setFont(readFont(bag, "Font", ambient));
    p.FontHeader = readFont(bag, "FontHeader", p.Font);

    // Saved colours first, then the theme: a scheme overrides them.
    ApplyGridTheme();
    applyWindowLook();
    fontBold_ = font().bold();
    fontItalic_ = font().italic();
    fontFace_ = font().family();
    model_.Clear();
    CalcMetrics();
    DrawCaptionBar();
    if (userMode)
        startRunning();
}

void VeziRado::startRunning()
{
    hookOwnWindow();
    SBOwnerLet(true);
    setSBLargeChange(Bar::Horizontal, 5);
    setSBLargeChange(Bar::Vertical, 5);
    SBMinLet(Bar::Vertical, 0);
    SBMinLet(Bar::Horizontal, 0);
    viewport()->setCursor(Qt::ArrowCursor); // the hand over cells comes with the mouse handling
}

void VeziRado::WriteProperties(PropertyBag &bag) const
{
    const Grid::Properties d;
    const Grid::Properties &p = p_;
    const QFont ambient = ambientFont(this);
    bag.write("Font", p.Font, ambient);
    bag.write("FontHeader", p.FontHeader, ambient);
    writeBool(bag, "ApplySelectionToImages", p.ApplySelectionToImages, d.ApplySelectionToImages);
    writeColour(bag, "BackColor", p.BackColor, d.BackColor);
    writeColour(bag, "BackColorBkg", p.BackColorBkg, d.BackColorBkg);
    writeColour(bag, "BackColorEdit", p.BackColorEdit, d.BackColorEdit);
    writeColour(bag, "BackColorSel", p.BackColorSel, d.BackColorSel);
    writeColour(bag, "ForeColor", p.ForeColor, d.ForeColor);
    writeColour(bag, "ForeColorEdit", p.ForeColorEdit, d.ForeColorEdit);
    writeColour(bag, "ForeColorHdr", p.ForeColorHdr, d.ForeColorHdr);
    writeColour(bag, "ForeColorSel", p.ForeColorSel, d.ForeColorSel);
    writeColour(bag, "BackColorEvenRows", p.BackColorEvenRows, d.BackColorEvenRows);
    writeBool(bag, "BackColorEvenRowsEnabled", p.BackColorEvenRowsEnabled,
              d.BackColorEvenRowsEnabled);
    writeColour(bag, "CustomColorFrom", p.ThemeCustomColorFrom, d.ThemeCustomColorFrom);
    writeColour(bag, "CustomColorTo", p.ThemeCustomColorTo, d.ThemeCustomColorTo);
    writeColour(bag, "GridColor", p.GridColor, d.GridColor);
    writeColour(bag, "ProgressBarColor", model_.CellProgressBarColor(), 0x8080FFu);
    writeBool(bag, "AlphaBlendSelection", p.AlphaBlendSelection, d.AlphaBlendSelection);
    writeEnum(bag, "BorderStyle", p.BorderStyle, d.BorderStyle);
    writeBool(bag, "DisplayEllipsis", p.DisplayEllipsis, d.DisplayEllipsis);
    writeEnum(bag, "FocusRectMode", p.FocusRectMode, d.FocusRectMode);
    writeColour(bag, "FocusRectColor", p.FocusRectColor, d.FocusRectColor);
    writeEnum(bag, "FocusRectStyle", p.FocusRectStyle, d.FocusRectStyle);
    writeEnum(bag, "GridLines", p.GridLines, d.GridLines);
    writeInt(bag, "GridLineWidth", p.GridLineWidth, d.GridLineWidth);
    writeEnum(bag, "ThemeColor", p.ThemeColor, d.ThemeColor);
    writeEnum(bag, "ThemeStyle", p.ThemeStyle, d.ThemeStyle);
    writeBool(bag, "ShowColumnHeaders", p.ColumnHeaders, d.ColumnHeaders);
    writeBool(bag, "CenterRowImage", p.CenterRowImage, d.CenterRowImage);
    writeEnum(bag, "ScrollBars", p.ScrollBars, d.ScrollBars);
    writeInt(bag, "MinVerticalOffset", p.MinVerticalOffset, d.MinVerticalOffset);
    bag.write("ColumnHeaderLines", qint16(p.ColumnHeaderLines), qint16(d.ColumnHeaderLines));
    bag.write("Caption", p.Caption, d.Caption);
    writeInt(bag, "CaptionAlignment", p.CaptionAlignment, d.CaptionAlignment);
    bag.write("Appearance", qint16(p.Appearance), qint16(d.Appearance));
    writeBool(bag, "ColumnHeaderSmall", p.ColumnHeaderSmall, Always);
    writeEnum(bag, "ScrollBarStyle", p.ScrollBarStyle, d.ScrollBarStyle);
    writeBool(bag, "TotalsLineShow", model_.TotalsLineShow(), Always);
    writeBool(bag, "FocusRowHighlightKeepTextForecolor", p.FocusRowHighlightKeepTextForecolor,
              Always);
    writeBool(bag, "ShowRowNumbers", p.ShowRowNumbers, Always);
    writeBool(bag, "ShowRowNumbersVary", p.ShowRowNumbersVary, Always);
    writeBool(bag, "AllowColumnResizing", p.AllowColumnResizing, d.AllowColumnResizing);
    writeBool(bag, "AllowRowResizing", p.AllowRowResizing, d.AllowRowResizing);
    writeBool(bag, "AllowWordWrap", p.AllowWordWrap, d.AllowWordWrap);
    writeBool(bag, "Checkboxes", p.RowCheckBoxes, d.RowCheckBoxes);
    writeBool(bag, "ColumnSwap", p.AllowColumnSwap, d.AllowColumnSwap);
    writeBool(bag, "ColumnDrag", p.AllowColumnDrag, d.AllowColumnDrag);
    writeBool(bag, "ColumnSort", p.AllowColumnSort, d.AllowColumnSort);
    writeBool(bag, "Editable", p.AllowEdit, d.AllowEdit);
    writeBool(bag, "AllowDelete", p.AllowDelete, d.AllowDelete);
    writeBool(bag, "AllowInsert", p.AllowInsert, d.AllowInsert);
    writeInt(bag, "EditTrigger", p.EditTrigger, d.EditTrigger);
    writeEnum(bag, "EditMove", p.EditMove, d.EditMove);
    writeBool(bag, "FullRowSelect", p.FocusRowHighlight, d.FocusRowHighlight);
    writeEnum(bag, "FocusRowHighlightStyle", p.FocusRowHighlightStyle, d.FocusRowHighlightStyle);
    writeBool(bag, "HideSelection", p.FocusRectHide, d.FocusRectHide);
    writeBool(bag, "HotHeaderTracking", p.AllowColumnHover, d.AllowColumnHover);
    bag.write("MultiSelect", qint16(model_.MultiSelect()), qint16(0));
    writeBool(bag, "ScrollTrack", p.ScrollTrack, d.ScrollTrack);
    writeBool(bag, "AutoToolTips", p.AutoToolTips, d.AutoToolTips);
    // The window's enabled state, then the flag as loaded: the store keeps the second.
    writeBool(bag, "Enabled", isEnabled(), true);
    bag.write("FreezeAtCol", qint16(p.FreezeAtCol), qint16(d.FreezeAtCol));
    writeInt(bag, "CacheIncrement", model_.CacheIncrement(), 10);
    writeBool(bag, "Enabled", storedEnabled_, true);
    writeInt(bag, "MaxLineCount", p.MaxLineCount, d.MaxLineCount);
    writeInt(bag, "MinRowHeight", p.MinRowHeight, d.MinRowHeight);
    writeEnum(bag, "ScaleUnits", p.ScaleUnits, d.ScaleUnits);
    writeInt(bag, "SearchColumn", model_.SearchColumn(), 0);
}

void VeziRado::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (!scrollOwner_)
        return;
    if (model_.Row() >= 0)
        SBValueLet(Bar::Vertical, model_.Row());
    else if (model_.Rows() > 0)
        SBValueLet(Bar::Vertical, 0);
    Refresh();
}
