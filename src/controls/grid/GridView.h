#pragma once

#include "core/Units.h"

#include <QString>

#include <functional>
#include <optional>

// What the grid's model asks of the window that shows it. Without a window every request is a
// no-op, so the model runs on its own in tests and tools.
class GridView
{
public:
    virtual ~GridView() = default;

    virtual void drawGrid(bool /*redraw*/) {}
    // Metrics, scroll bars and a repaint.
    virtual void refresh() {}
    virtual void calcMetrics() {}
    virtual void layoutScrollBars() {}
    virtual void rowAutoHeight(int /*displayRow*/) {}
    virtual int standardRowHeight() const { return 0; }
    // The visible width in the host's scale units (twips unless the window says otherwise).
    virtual float visibleWidth() const { return 0; }
    virtual int widthToPixels(float width) const { return Units::twipsToPixels(width); }
    // Commits an open in-cell edit; false when the host refused the value.
    virtual bool updateCell() { return true; }
    // The grid was cleared: hide the editor and the tooltip, forget mouse and header states.
    virtual void cleared() {}
    // Brings a cell into view (display row and display column, -1 for none).
    virtual void scrollIntoView(int /*displayRow*/, int /*displayCol*/) {}
    virtual void scrollToRow(int /*displayRow*/) {}
    // Whether the last repaint showed the row; without a window no row is shown.
    virtual bool rowShown(int /*displayRow*/) const { return false; }
    virtual void scrollToColumn(int /*displayCol*/) {}
    // Lets pending window messages run.
    virtual void processEvents() {}
    virtual std::optional<int> imageIndexOfKey(const QString & /*key*/) const { return {}; }
    virtual std::optional<QString> imageKeyOfIndex(int /*index*/) const { return {}; }
};

// The grid's events, raised synchronously once the data is consistent. Arguments passed by
// reference are read back after the call.
struct VeziRadoEvents
{
    std::function<void()> RowCountChanged;
    std::function<void()> SelectionChanged;
    std::function<void()> RowColChanged;
    std::function<void()> Scroll;
    std::function<void()> SortComplete;
    // Swap set to true puts the row (Value1) before the pivot (Value2). The values are copies.
    std::function<void(bool &Ascending, int &Col, QString &Value1, QString &Value2, bool &Swap)>
        CustomSort;
};
