#pragma once

#include "controls/grid/view/GridProperties.h"
#include "controls/grid/view/ScrollBarModel.h"

#include <QFont>
#include <QSize>
#include <QString>

#include <optional>

class VeziRadoModel;

// Measures text for the layout; the grid uses the fonts, tests a measurer of fixed widths.
class TextMeasurer
{
public:
    virtual ~TextMeasurer() = default;
    // Height of one line of text in the font.
    virtual int lineHeight(const QFont &font) const = 0;
    virtual int textWidth(const QFont &font, const QString &text) const = 0;
    // Height of the text broken into lines at most `width` wide.
    virtual int wrappedHeight(const QFont &font, const QString &text, int width) const = 0;
};

class FontTextMeasurer : public TextMeasurer
{
public:
    int lineHeight(const QFont &font) const override;
    int textWidth(const QFont &font, const QString &text) const override;
    int wrappedHeight(const QFont &font, const QString &text, int width) const override;
};

// The sizes every painter and mouse handler reads; recomputed by CalcMetrics.
struct LayoutMetrics
{
    // Text-format bit added to cell texts: DT_WORD_ELLIPSIS while DisplayEllipsis is on.
    static constexpr int WordEllipsis = 0x40000;

    int EllipsisFlag = 0;
    int CheckBoxSize = 0;
    bool HasImages = false;
    int ImageHeight = 0;
    int ImageWidth = 0;
    int CheckAreaWidth = 0;
    // CheckAreaWidth plus the row-image area: how far the text of display column 0 moves right.
    int LeadingWidth = 0;
    // Caption bar plus column headers: where the first displayed row begins.
    int HeaderHeight = 0;
    int HeaderTextHeight = 0;
    int CaptionHeight = 0;
};

// Edges in pixels, right and bottom exclusive.
struct PixelRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const PixelRect &) const = default;
};

enum class CellPart : int { Whole = 0, CheckBox = 1, Image = 2 };

// The pixel geometry of the grid: metrics, row and column positions and hit tests. Rows and
// columns are display positions unless a name says otherwise.
class GridGeometry
{
public:
    static inline const QString SampleText = QStringLiteral("ABCDWXYZ");

    GridGeometry(const VeziRadoModel &model, const Grid::Properties &properties,
                 const ScrollBarModel &horizontal, const ScrollBarModel &vertical);

    void setMeasurer(const TextMeasurer *measurer) { measurer_ = measurer; }
    const TextMeasurer &measurer() const { return *measurer_; }

    // `imageSize` is the image list's image size while one is set; `minRowHeight` is
    // MinRowHeight in pixels.
    void CalcMetrics(std::optional<QSize> imageSize, int minRowHeight);
    int CalcHeaderHeight() const;
    const LayoutMetrics &metrics() const { return metrics_; }
    int StandardRowHeight() const { return standardRowHeight_; }
    void resetStandardRowHeight() { standardRowHeight_ = 0; }
    int RowNumberWidth() const { return rowNumberWidth_; }
    void setRowNumberWidth(int width) { rowNumberWidth_ = width; }

    // The vertical position as the painter reads it: never past the last row.
    int verticalPosition() const;
    int horizontalPosition() const { return horizontal_.position(); }

    int RowsPerPage(int surfaceHeight) const;
    // 64 bits: rows may each be as tall as 32 bits allow, and their sum goes past them.
    qint64 RowTop(int row, int first = -1) const;
    int RowFromY(double y) const;
    int ColFromX(double x) const;
    // Left and right edge of a display column; a column scrolled off gets only a left edge.
    void ColLeft(int col, PixelRect &rect) const;
    bool ImageMarginTest(int col) const;
    // A part below the 32-bit range lies at its far edge, below any surface.
    PixelRect CellPartRect(int row, int col, qint64 top, CellPart part) const;
    // The height a row needs for its word-wrapped texts, or empty while word wrap is off.
    std::optional<int> RowAutoHeight(int row) const;

private:
    bool scrolledOff(int displayCol) const;

    const VeziRadoModel &model_;
    const Grid::Properties &properties_;
    const ScrollBarModel &horizontal_;
    const ScrollBarModel &vertical_;
    const TextMeasurer *measurer_;
    LayoutMetrics metrics_;
    int standardRowHeight_ = 0;
    int rowNumberWidth_ = 0;
};
