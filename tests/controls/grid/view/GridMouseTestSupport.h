#pragma once

#include "GridViewTestSupport.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QStringList>
#include <QTest>

// Mouse input for grid tests, sent straight to the viewport: moves carry the buttons held, and a
// double-click is the sequence the window system delivers (press, release, double-click,
// release).
namespace GridMouse {

inline void send(VeziRado &grid, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                 Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pos), grid.viewport()->mapToGlobal(QPointF(pos)), button,
                      buttons, modifiers);
    QCoreApplication::sendEvent(grid.viewport(), &event);
}

inline void move(VeziRado &grid, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    send(grid, QEvent::MouseMove, pos, Qt::NoButton, buttons, modifiers);
}

inline void press(VeziRado &grid, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    send(grid, QEvent::MouseButtonPress, pos, button, button, modifiers);
}

inline void release(VeziRado &grid, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    send(grid, QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
}

// A move onto the point, then a press and a release there.
inline void click(VeziRado &grid, QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                  Qt::MouseButton button = Qt::LeftButton)
{
    move(grid, pos, Qt::NoButton, modifiers);
    press(grid, pos, button, modifiers);
    release(grid, pos, button, modifiers);
}

inline void doubleClick(VeziRado &grid, QPoint pos)
{
    click(grid, pos);
    send(grid, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
    release(grid, pos);
}

// The middle of a cell (display row and display column) where the last repaint placed it.
inline QPoint cellPoint(const VeziRado &grid, int row, int col)
{
    const PixelRect rect = grid.cellRect(row, col);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The names of the events a grid raises, in the order they come.
struct EventLog
{
    explicit EventLog(VeziRado &grid)
    {
        const auto note = [this](const char *name) { return [this, name] { names << name; }; };
        QObject::connect(&grid, &VeziRado::MouseDown, &grid, note("MouseDown"));
        QObject::connect(&grid, &VeziRado::MouseUp, &grid, note("MouseUp"));
        QObject::connect(&grid, &VeziRado::Click, &grid, note("Click"));
        QObject::connect(&grid, &VeziRado::DblClick, &grid, note("DblClick"));
        QObject::connect(&grid, &VeziRado::CellClick, &grid, note("CellClick"));
        QObject::connect(&grid, &VeziRado::ColumnClick, &grid, note("ColumnClick"));
        QObject::connect(&grid, &VeziRado::SelectionChanged, &grid, note("SelectionChanged"));
        QObject::connect(&grid, &VeziRado::RowColChanged, &grid, note("RowColChanged"));
        QObject::connect(&grid, &VeziRado::BeforeEdit, &grid, note("BeforeEdit"));
        QObject::connect(&grid, &VeziRado::AfterEdit, &grid, note("AfterEdit"));
        QObject::connect(&grid, &VeziRado::RowCheckChanged, &grid, note("RowCheckChanged"));
        QObject::connect(&grid, &VeziRado::CellButtonClick, &grid, note("CellButtonClick"));
        QObject::connect(&grid, &VeziRado::CellHandClick, &grid, note("CellHandClick"));
        QObject::connect(&grid, &VeziRado::CellImageClick, &grid, note("CellImageClick"));
        QObject::connect(&grid, &VeziRado::ColumnOrderChanged, &grid, note("ColumnOrderChanged"));
        QObject::connect(&grid, &VeziRado::ColumnSizeChanged, &grid, note("ColumnSizeChanged"));
    }
    QString joined() const { return names.join(QLatin1Char(' ')); }
    QStringList names;
};

} // namespace GridMouse
