#include "controls/grid/view/VeziRado.h"

#include "controls/grid/GridErrors.h"
#include "core/Colour.h"

#include <QLineEdit>

// The setters of the grid-wide settings: store, mark the saved key changed, then repaint,
// refresh when drawing, or nothing more, as each setting needs.

void VeziRado::setAllowColumnDrag(bool vNewValue)
{
    p_.AllowColumnDrag = vNewValue;
    if (vNewValue)
        p_.AllowColumnSwap = false;
    markChanged(QStringLiteral("ColumnDrag"));
}

void VeziRado::setAllowColumnSwap(bool vNewValue)
{
    p_.AllowColumnSwap = vNewValue;
    if (vNewValue)
        p_.AllowColumnDrag = false;
    markChanged(QStringLiteral("ColumnSwap"));
}

void VeziRado::setAllowColumnHover(bool vNewValue)
{
    p_.AllowColumnHover = vNewValue;
    markChanged(QStringLiteral("HotHeaderTracking"));
    if (!vNewValue)
        DrawHeaders(); // no header stays highlighted
}

void VeziRado::setAllowColumnResizing(bool vNewValue)
{
    p_.AllowColumnResizing = vNewValue;
    markChanged(QStringLiteral("AllowColumnResizing"));
}

void VeziRado::setAllowColumnSort(bool vNewValue)
{
    p_.AllowColumnSort = vNewValue;
    markChanged(QStringLiteral("ColumnSort"));
}

void VeziRado::setAllowDelete(bool vNewValue)
{
    p_.AllowDelete = vNewValue;
    markChanged(QStringLiteral("AllowDelete"));
}

void VeziRado::setAllowEdit(bool vNewValue)
{
    p_.AllowEdit = vNewValue;
    markChanged(QStringLiteral("Editable"));
    // An editable grid shows which cell an edit would open on.
    if (vNewValue && p_.FocusRectMode == Grid::FocusRectMode::None)
        p_.FocusRectMode = Grid::FocusRectMode::Cell;
}

void VeziRado::setAllowInsert(bool vNewValue)
{
    p_.AllowInsert = vNewValue;
    markChanged(QStringLiteral("AllowInsert"));
}

void VeziRado::setAllowRowResizing(bool vNewValue)
{
    p_.AllowRowResizing = vNewValue;
    markChanged(QStringLiteral("AllowRowResizing"));
}

void VeziRado::setAllowWordWrap(bool vNewValue)
{
    p_.AllowWordWrap = vNewValue;
    model_.repaint();
    markChanged(QStringLiteral("AllowWordWrap"));
}

void VeziRado::setAlphaBlendSelection(bool vNewValue)
{
    p_.AlphaBlendSelection = vNewValue;
    markChanged(QStringLiteral("AlphaBlendSelection"));
    model_.RefreshIfRedraw();
}

void VeziRado::setApplySelectionToImages(bool vNewValue)
{
    p_.ApplySelectionToImages = vNewValue;
    markChanged(QStringLiteral("ApplySelectionToImages"));
    model_.repaint();
}

void VeziRado::setAutoToolTips(bool vNewValue)
{
    p_.AutoToolTips = vNewValue;
    markChanged(QStringLiteral("AutoToolTips"));
}

void VeziRado::setDisplayEllipsis(bool vNewValue)
{
    p_.DisplayEllipsis = vNewValue;
    markChanged(QStringLiteral("DisplayEllipsis"));
    model_.RefreshIfRedraw();
}

void VeziRado::setAppearance(int udtValue)
{
    p_.Appearance = Grid::Appearance(GridErrors::toInt16(udtValue));
    applyWindowLook();
    markChanged(QStringLiteral("Appearance"));
}

void VeziRado::setBorderStyle(int vNewValue)
{
    p_.BorderStyle = Grid::BorderStyle(GridErrors::toInt16(vNewValue));
    applyWindowLook();
    markChanged(QStringLiteral("BorderStyle"));
}

void VeziRado::setEnabled(bool vNewValue)
{
    QAbstractScrollArea::setEnabled(vNewValue);
    markChanged(QStringLiteral("Enabled"));
}

void VeziRado::setBackColor(quint32 vNewValue)
{
    p_.BackColor = vNewValue;
    syncDefaultLook();
    applyWindowLook();
    markChanged(QStringLiteral("BackColor"));
    model_.repaint();
}

void VeziRado::setBackColorBkg(quint32 vNewValue)
{
    p_.BackColorBkg = vNewValue;
    applyWindowLook();
    markChanged(QStringLiteral("BackColorBkg"));
    model_.RefreshIfRedraw();
}

void VeziRado::setBackColorEdit(quint32 vNewValue)
{
    p_.BackColorEdit = vNewValue;
    markChanged(QStringLiteral("BackColorEdit"));
}

void VeziRado::setBackColorEvenRows(quint32 vNewValue)
{
    p_.BackColorEvenRows = vNewValue;
    markChanged(QStringLiteral("BackColorEvenRows"));
}

void VeziRado::setBackColorEvenRowsEnabled(bool vNewValue)
{
    p_.BackColorEvenRowsEnabled = vNewValue;
    markChanged(QStringLiteral("BackColorEvenRowsEnabled"));
}

void VeziRado::setBackColorSel(quint32 vNewValue)
{
    p_.BackColorSel = vNewValue;
    markChanged(QStringLiteral("BackColorSel"));
    model_.RefreshIfRedraw();
}

void VeziRado::setForeColor(quint32 vNewValue)
{
    // New rows take it; the rows there show it at the following repaint.
    p_.ForeColor = vNewValue;
    syncDefaultLook();
    markChanged(QStringLiteral("ForeColor"));
}

void VeziRado::setForeColorEdit(quint32 vNewValue)
{
    p_.ForeColorEdit = vNewValue;
    markChanged(QStringLiteral("ForeColorEdit"));
}

void VeziRado::setForeColorHdr(quint32 vNewValue)
{
    p_.ForeColorHdr = vNewValue;
    markChanged(QStringLiteral("ForeColorHdr"));
    DrawCaptionBar();
    DrawHeaders();
}

void VeziRado::setForeColorSel(quint32 vNewValue)
{
    p_.ForeColorSel = vNewValue;
    markChanged(QStringLiteral("ForeColorSel"));
    model_.RefreshIfRedraw();
}

void VeziRado::setGridColor(quint32 vNewValue)
{
    p_.GridColor = vNewValue;
    markChanged(QStringLiteral("GridColor"));
    model_.repaint();
}

void VeziRado::setGridLines(Grid::GridLines vNewValue)
{
    p_.GridLines = vNewValue;
    markChanged(QStringLiteral("GridLines"));
    model_.RefreshIfRedraw();
}

void VeziRado::setGridLineWidth(int vNewValue)
{
    p_.GridLineWidth = vNewValue;
    markChanged(QStringLiteral("GridLineWidth"));
    model_.repaint();
}

void VeziRado::setFocusRectColor(quint32 vNewValue)
{
    p_.FocusRectColor = vNewValue;
    markChanged(QStringLiteral("FocusRectColor"));
}

void VeziRado::setFocusRectHide(bool vNewValue)
{
    p_.FocusRectHide = vNewValue;
    markChanged(QStringLiteral("HideSelection"));
    model_.RefreshIfRedraw();
}

void VeziRado::setFocusRectMode(Grid::FocusRectMode vNewValue)
{
    p_.FocusRectMode = vNewValue;
    markChanged(QStringLiteral("FocusRectMode"));
    model_.RefreshIfRedraw();
}

void VeziRado::setFocusRectStyle(Grid::FocusRectStyle vNewValue)
{
    p_.FocusRectStyle = vNewValue;
    markChanged(QStringLiteral("FocusRectStyle"));
    model_.RefreshIfRedraw();
}

void VeziRado::setFocusRowHighlight(bool vNewValue)
{
    p_.FocusRowHighlight = vNewValue;
    markChanged(QStringLiteral("FullRowSelect"));
    model_.RefreshIfRedraw();
}

void VeziRado::setFocusRowHighlightKeepTextForecolor(bool vNewValue)
{
    p_.FocusRowHighlightKeepTextForecolor = vNewValue;
    markChanged(QStringLiteral("FocusRowHighlightKeepTextForecolor"));
    ApplyGridTheme();
    model_.RefreshIfRedraw();
}

void VeziRado::setFocusRowHighlightStyle(Grid::FocusRowHighlightStyle vNewValue)
{
    p_.FocusRowHighlightStyle = vNewValue;
    markChanged(QStringLiteral("FocusRowHighlightStyle"));
    ApplyGridTheme(); // the selected text colour follows the highlight style
    model_.RefreshIfRedraw();
}

void VeziRado::setCaption(const QString &vNewValue)
{
    p_.Caption = vNewValue;
    markChanged(QStringLiteral("Caption"));
    CalcMetrics();
    clearSurface();
    DrawCaptionBar();
    DrawHeaders();
    model_.RefreshIfRedraw();
}

void VeziRado::setCaptionAlignment(int vNewValue)
{
    p_.CaptionAlignment = vNewValue;
    markChanged(QStringLiteral("CaptionAlignment"));
    model_.RefreshIfRedraw();
}

void VeziRado::setFont(const QFont &vNewValue)
{
    p_.Font = vNewValue;
    QAbstractScrollArea::setFont(vNewValue);
    syncDefaultLook();
    markChanged(QStringLiteral("Font"));
    CalcMetrics();
    QFont editFont = txtEdit->font();
    editFont.setPointSizeF(vNewValue.pointSizeF());
    txtEdit->setFont(editFont);
    model_.repaint();
}

void VeziRado::setFontHeader(const QFont &vNewValue)
{
    p_.FontHeader = vNewValue;
    markChanged(QStringLiteral("FontHeader"));
    CalcMetrics();
    model_.repaint();
}

void VeziRado::setFreezeAtCol(int vNewValue)
{
    p_.FreezeAtCol = vNewValue;
    markChanged(QStringLiteral("FreezeAtCol"));
    if (horizontal_.shown() && SBValueGet(Bar::Horizontal) < vNewValue + 1)
        SBValueLet(Bar::Horizontal, vNewValue + 1);
}

void VeziRado::setMaxLineCount(int vNewValue)
{
    p_.MaxLineCount = vNewValue;
    markChanged(QStringLiteral("MaxLineCount"));
    model_.RefreshIfRedraw();
}

void VeziRado::setMinRowHeight(int vNewValue)
{
    p_.MinRowHeight = vNewValue;
    geometry_.resetStandardRowHeight();
    markChanged(QStringLiteral("MinRowHeight"));
    CalcMetrics();
    model_.RefreshIfRedraw();
}

void VeziRado::setMinVerticalOffset(int vNewValue)
{
    p_.MinVerticalOffset = vNewValue;
    geometry_.resetStandardRowHeight();
    markChanged(QStringLiteral("MinVerticalOffset"));
    CalcMetrics();
    model_.RefreshIfRedraw();
}

void VeziRado::setScaleUnits(Grid::ScaleUnits vNewValue)
{
    p_.ScaleUnits = vNewValue; // widths already given keep their pixels
    markChanged(QStringLiteral("ScaleUnits"));
}

void VeziRado::setShowRowNumbers(bool vNewValue)
{
    if (editPending_)
        return;
    p_.ShowRowNumbers = vNewValue;
    markChanged(QStringLiteral("ShowRowNumbers"));
    model_.repaint();
}

void VeziRado::setShowRowNumbersVary(bool vNewValue)
{
    if (editPending_)
        return;
    p_.ShowRowNumbersVary = vNewValue;
    markChanged(QStringLiteral("ShowRowNumbersVary"));
    model_.repaint();
}

void VeziRado::setColumnHeaders(bool vNewValue)
{
    p_.ColumnHeaders = vNewValue;
    markChanged(QStringLiteral("ShowColumnHeaders"));
    CalcMetrics();
    model_.RefreshIfRedraw();
}

void VeziRado::setColumnHeaderLines(int vNewValue)
{
    // Fewer than one line is taken as one, and is no change worth saving.
    if (vNewValue < 1) {
        p_.ColumnHeaderLines = 1;
    } else {
        p_.ColumnHeaderLines = GridErrors::toInt16(vNewValue);
        markChanged(QStringLiteral("ColumnHeaderLines"));
    }
    CalcMetrics();
    model_.RefreshIfRedraw();
}

void VeziRado::setColumnHeaderSmall(bool vNewValue)
{
    // Takes effect at the next metrics pass, and is saved with whatever else changes.
    p_.ColumnHeaderSmall = vNewValue;
}

void VeziRado::setRowCheckBoxes(bool vNewValue)
{
    p_.RowCheckBoxes = vNewValue;
    markChanged(QStringLiteral("Checkboxes"));
    model_.RefreshIfRedraw();
}

void VeziRado::setCenterRowImage(bool vNewValue)
{
    p_.CenterRowImage = vNewValue;
    markChanged(QStringLiteral("CenterRowImage"));
}

void VeziRado::setEditTrigger(int vNewValue)
{
    p_.EditTrigger = vNewValue;
    markChanged(QStringLiteral("EditTrigger"));
}

void VeziRado::setEditMove(Grid::EditMove vNewValue)
{
    p_.EditMove = vNewValue;
    markChanged(QStringLiteral("EditMove"));
}

void VeziRado::setScrollBars(Grid::ScrollBars vNewValue)
{
    p_.ScrollBars = vNewValue; // takes effect at the following layout
    markChanged(QStringLiteral("ScrollBars"));
}

void VeziRado::setScrollTrack(bool vNewValue)
{
    p_.ScrollTrack = vNewValue;
    markChanged(QStringLiteral("ScrollTrack"));
}

void VeziRado::syncDefaultLook()
{
    model_.setDefaultLook(p_.BackColor, p_.ForeColor, p_.Font.family());
}

void VeziRado::applyWindowLook()
{
    setFrameShape(p_.BorderStyle == Grid::BorderStyle::None ? QFrame::NoFrame : QFrame::Box);
    setFrameShadow(p_.Appearance == Grid::Appearance::Flat ? QFrame::Plain : QFrame::Sunken);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, Colour::toQColor(p_.BackColorBkg));
    viewport()->setPalette(palette);
}
