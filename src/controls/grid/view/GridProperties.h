#pragma once

#include <QFont>
#include <QString>
#include <QtGlobal>

// The grid-wide settings of VeziRado. Values outside an enum's named range are kept as given:
// the Parts that read a setting decide what an unnamed value means.
namespace Grid {

enum class BorderStyle : int { None = 0, FixedSingle = 1 };
enum class Appearance : int { Flat = 0, ThreeD = 1 };
// A scale-mode code of the host; widths and MinRowHeight are given in it.
enum class ScaleUnits : int {
    User = 0,
    Twips = 1,
    Points = 2,
    Pixels = 3,
    Characters = 4,
    Inches = 5,
    Millimeters = 6,
    Centimeters = 7
};
enum class ScrollBars : int { Horizontal = 0, Vertical = 1, Both = 2 };
enum class ScrollBarStyle : int { Flat = 0, Standard = 1 };
enum class ThemeColor : int {
    Blue = 0,
    Silver = 1,
    Olive = 2,
    GreyGreen = 3,
    Gold = 4,
    Custom = 5,
    Automatic = 6
};
// The look of caption bar and headers.
enum class ThemeStyle : int {
    Raised = 0,
    FlatFrame = 1,
    Themed = 2,
    Gradient = 3,
    Flat = 4,
    FlatThemeColours = 5,
    Banded = 6,
    BandedButtonFace = 7
};
enum class FocusRectMode : int { None = 0, Row = 1, Cell = 2 };
enum class FocusRectStyle : int { Dotted = 0, Thick = 1, Thin = 2 };
enum class GridLines : int { None = 0, Both = 1, Vertical = 2, Horizontal = 3 };
enum class FocusRowHighlightStyle : int { Solid = 0, VerticalGradient = 1, HorizontalGradient = 2 };
enum class EditMove : int { Stay = 0, Right = 1, Down = 2 };
// The actions that open an in-cell edit; EditTrigger is a set of these bits.
enum EditTriggerBit : int { EnterOrEsc = 2, F2Key = 4, Click = 8, DoubleClick = 16, Typing = 32 };

// Colours are stored as the host gives them: 0x00BBGGRR, or 0x800000nn for system colour nn.
struct Properties
{
    bool ApplySelectionToImages = false;
    quint32 BackColor = 0x80000005u;
    quint32 BackColorBkg = 0x8000000Cu;
    quint32 BackColorEdit = 0x80000018u;
    quint32 BackColorSel = 0x8000000Du;
    quint32 ForeColor = 0x80000008u;
    quint32 ForeColorEdit = 0x80000017u;
    quint32 ForeColorHdr = 0x80000008u;
    quint32 ForeColorSel = 0x8000000Eu;
    bool ColumnHeaders = true;
    bool CenterRowImage = true;
    Grid::ScrollBars ScrollBars = Grid::ScrollBars::Both;
    int MinVerticalOffset = 2;
    quint32 BackColorEvenRows = 0xEDEBE0u;
    bool BackColorEvenRowsEnabled = true;
    quint32 GridColor = 0xC0C0C0u;
    bool AlphaBlendSelection = false;
    Grid::BorderStyle BorderStyle = Grid::BorderStyle::FixedSingle;
    bool DisplayEllipsis = true;
    quint32 FocusRectColor = 0xFFFFu;
    Grid::FocusRectMode FocusRectMode = Grid::FocusRectMode::None;
    Grid::FocusRectStyle FocusRectStyle = Grid::FocusRectStyle::Thick;
    Grid::GridLines GridLines = Grid::GridLines::Both;
    int GridLineWidth = 1;
    Grid::ThemeColor ThemeColor = Grid::ThemeColor::Automatic;
    Grid::ThemeStyle ThemeStyle = Grid::ThemeStyle::Themed;
    bool ColumnHeaderSmall = false;
    quint32 ThemeCustomColorFrom = 0x404080u;
    quint32 ThemeCustomColorTo = 0xC0E0FFu;
    int ColumnHeaderLines = 1;
    QString Caption;
    // Text-format bits: 0 left, 1 centre, 2 right, 4 vertical centring.
    int CaptionAlignment = 5;
    Grid::Appearance Appearance = Grid::Appearance::ThreeD;
    Grid::ScrollBarStyle ScrollBarStyle = Grid::ScrollBarStyle::Flat;
    bool FocusRowHighlightKeepTextForecolor = false;
    bool ShowRowNumbers = false;
    bool ShowRowNumbersVary = true;
    bool AllowColumnResizing = false;
    bool AllowRowResizing = false;
    bool AllowWordWrap = false;
    bool RowCheckBoxes = false;
    bool AllowColumnDrag = false;
    bool AllowColumnSwap = false;
    bool AllowColumnSort = false;
    bool AllowEdit = false;
    bool AllowDelete = false;
    bool AllowInsert = false;
    int EditTrigger = F2Key | DoubleClick | Typing;
    Grid::EditMove EditMove = Grid::EditMove::Stay;
    bool FocusRowHighlight = true;
    Grid::FocusRowHighlightStyle FocusRowHighlightStyle = Grid::FocusRowHighlightStyle::Solid;
    bool FocusRectHide = false;
    bool AllowColumnHover = true;
    bool ScrollTrack = true;
    bool AutoToolTips = true;
    int FreezeAtCol = -1;
    int MaxLineCount = 0;
    Grid::ScaleUnits ScaleUnits = Grid::ScaleUnits::Twips;
    int MinRowHeight = 0;
    QFont Font;
    QFont FontHeader;
};

} // namespace Grid
