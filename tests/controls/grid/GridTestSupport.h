#pragma once

#include "controls/grid/VeziRadoModel.h"
#include "core/AppError.h"

#include <QStringList>

#include <functional>
#include <string>
#include <vector>

namespace GridTest {

inline int errorNumberOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const AppError &error) {
        return error.number();
    }
    return 0;
}

// Records what the model asks of its window.
struct RecordingView : GridView
{
    int paints = 0;
    int layouts = 0;
    std::vector<int> autoHeights;
    std::optional<int> imageIndexOfKey(const QString &key) const override
    {
        const int index = int(keys.indexOf(key));
        return index < 0 ? std::nullopt : std::optional<int>(index + 1);
    }
    std::optional<QString> imageKeyOfIndex(int index) const override
    {
        if (index < 1 || index > keys.size())
            return std::nullopt;
        return keys[index - 1];
    }
    void drawGrid(bool) override { ++paints; }
    void layoutScrollBars() override { ++layouts; }
    void rowAutoHeight(int row) override { autoHeights.push_back(row); }
    int standardRowHeight() const override { return 17; }
    float visibleWidth() const override { return 3000; }

    QStringList keys{"book", "card", "pen", "star"};
};

// The texts of one column in display order.
inline QStringList columnTexts(const VeziRadoModel &grid, int col)
{
    QStringList texts;
    for (int p = 0; p < grid.Rows(); ++p)
        texts << grid.CellText(p, col);
    return texts;
}

// Names the events in the order they are raised.
inline void recordEvents(VeziRadoModel &grid, std::vector<std::string> &log)
{
    grid.events().RowCountChanged = [&log] { log.push_back("RowCountChanged"); };
    grid.events().SelectionChanged = [&log] { log.push_back("SelectionChanged"); };
    grid.events().RowColChanged = [&log] { log.push_back("RowColChanged"); };
    grid.events().SortComplete = [&log] { log.push_back("SortComplete"); };
}

} // namespace GridTest
