#pragma once

#include "controls/grid/view/GridGeometry.h"

#include <QFont>
#include <QString>
#include <QtGlobal>

#include <functional>

class QPainter;
class QRect;
class QStyle;
class QWidget;

// The small drawing operations every grid painter shares. Colours are plain 0x00BBGGRR values;
// callers translate system colours first. Antialiasing stays off so lines land on whole pixels.
namespace GridPaint {

// Text-format bits as the grid stores them in alignments and caption settings.
enum TextFormat : int {
    Left = 0x0,
    Centre = 0x1,
    Right = 0x2,
    VCentre = 0x4,
    Bottom = 0x8,
    WordBreak = 0x10,
    SingleLine = 0x20,
    CalcRect = 0x400,
    NoPrefix = 0x800,
    EndEllipsis = 0x8000,
    WordEllipsis = 0x40000,
};

// alpha/255 of `a` and the rest of `b`, per channel, rounded half to even; not symmetric.
quint32 BlendColor(quint32 a, quint32 b, int alpha);
// The signed 16-bit value with the same low 16 bits.
qint16 ToSignedWord(int value);

QRect toQRect(const PixelRect &rect);

// A solid line from (x1, y1) towards (x2, y2); the end point itself is left out.
void DrawLine(QPainter &painter, int x1, int y1, int x2, int y2, quint32 colour, int width = 1);
// Filled, or framed one pixel wide along the inside edges.
void DrawRectangle(QPainter &painter, const PixelRect &rect, quint32 colour, bool fill);
// colour1 at the top (vertical) or the left, colour2 at the bottom or the right.
void DrawGradient(QPainter &painter, const PixelRect &rect, quint32 colour1, quint32 colour2,
                  bool vertical);

// The Qt flags for the grid's text-format bits: vertical placement only on a single line,
// word wrap for word break, never a mnemonic.
int qtTextFlags(int format);
// Draws `text` into `rect` with the format bits; with CalcRect only measures, setting the right
// edge (single line) or the bottom edge (word break). Ellipsis bits cut the text with "...".
void DrawTextAuto(QPainter &painter, const QString &text, PixelRect &rect, int format,
                  quint32 colour);

// The classic push-button face: raised, flat, hot or pressed.
enum class FrameLook { Raised, Flat, Hot, Pressed };
void DrawFrameButton(QPainter &painter, const PixelRect &rect, FrameLook look);
// The classic flat check box, narrowed to 14 pixels high when taller.
void DrawClassicCheckBox(QPainter &painter, PixelRect rect, bool checked);

// A sort triangle of `height` lines: upward for ascending (2), downward for any other non-zero.
void DrawSortArrow(QPainter &painter, int x, int y, int width, int height, int sortState,
                   quint32 colour);

// Breaks a text into lines joined by CR LF that fit `width`; `maxLines` -1 for no limit; a text
// cut at the limit ends in "...". Words without a break position are never split.
QString WrapText(const QString &text, int width, int maxLines,
                 const std::function<int(const QString &)> &measure);

} // namespace GridPaint
