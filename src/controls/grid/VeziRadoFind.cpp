#include "controls/grid/VeziRadoModel.h"

#include "controls/grid/GridErrors.h"

#include <algorithm>

namespace {

// Upper case one code unit at a time, so that no text is copied and lengths stay as they are.
struct Upper
{
    char16_t operator()(QChar c) const
    {
        const char16_t u = c.unicode();
        if (u < 128)
            return u >= 'a' && u <= 'z' ? char16_t(u - 32) : u;
        return QChar::toUpper(u);
    }
};

struct Exact
{
    char16_t operator()(QChar c) const { return c.unicode(); }
};

template <typename Fold> int compareFolded(QStringView a, QStringView b, Fold fold)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = fold(a[i]);
        const char16_t y = fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template <typename Fold> bool equalFolded(QStringView a, QStringView b, Fold fold)
{
    return a.size() == b.size() && compareFolded(a, b, fold) == 0;
}

template <typename Fold> bool containsFolded(QStringView text, QStringView part, Fold fold)
{
    for (qsizetype i = 0; i + part.size() <= text.size(); ++i) {
        if (equalFolded(text.mid(i, part.size()), part, fold))
            return true;
    }
    return false;
}

template <typename Fold> bool matchesWith(QStringView cell, QStringView search, int mode, Fold fold)
{
    switch (SearchMode(mode)) {
    case SearchMode::Equal:
        return equalFolded(cell, search, fold);
    case SearchMode::AtOrAfter:
        return compareFolded(cell, search, fold) >= 0;
    case SearchMode::Contains:
        return containsFolded(cell, search, fold);
    case SearchMode::SameFirstAtOrAfter:
        return !cell.isEmpty() && !search.isEmpty() && fold(cell[0]) == fold(search[0]) &&
               compareFolded(cell, search, fold) >= 0;
    case SearchMode::StartsWith:
        return cell.size() >= search.size() && equalFolded(cell.first(search.size()), search, fold);
    case SearchMode::EndsWith:
        return cell.size() >= search.size() && equalFolded(cell.last(search.size()), search, fold);
    }
    return false;
}

bool matches(QStringView cell, QStringView search, int mode, bool matchCase)
{
    return matchCase ? matchesWith(cell, search, mode, Exact())
                     : matchesWith(cell, search, mode, Upper());
}

} // namespace

int VeziRadoModel::FindItem(const QString &SearchText, int SearchColumn, int SearchMode,
                            bool MatchCase, int StartingRow) const
{
    if (rows_.empty() || SearchText.isEmpty())
        return -1;
    if (StartingRow < 0 || StartingRow > LastRowIndex())
        StartingRow = 0;
    if (SearchColumn == -1)
        SearchColumn = searchColumn_;
    if (SearchColumn < 0)
        return -1;
    checkColumn(SearchColumn);
    for (int p = StartingRow; p <= LastRowIndex(); ++p) {
        if (matches(textAt(p, SearchColumn), SearchText, SearchMode, MatchCase))
            return p;
    }
    return -1;
}

void VeziRadoModel::FilterOn(const QString &FilterText, int SearchColumn, int SearchMode,
                             bool MatchCase, int StartingRow)
{
    if (rows_.empty() || StartingRow < 0 || StartingRow > LastRowIndex())
        return;
    checkColumn(SearchColumn);
    DrawingEnable(false);
    // The rows change first and the scroll range once: a relayout walks every row.
    bool changed = false;
    for (int p = StartingRow; p <= LastRowIndex(); ++p) {
        if (rowAt(p).Visible &&
            !matches(textAt(p, SearchColumn), FilterText, SearchMode, MatchCase)) {
            row(p).Visible = false;
            changed = true;
        }
    }
    DrawingEnable(true);
    if (changed)
        view_->layoutScrollBars();
    repaint();
}

void VeziRadoModel::FilterOff(int StartingRow)
{
    if (rows_.empty())
        return;
    StartingRow = std::clamp(StartingRow, 0, LastRowIndex());
    DrawingEnable(false);
    bool changed = false;
    for (int p = StartingRow; p <= LastRowIndex(); ++p) {
        if (!rowAt(p).Visible) {
            row(p).Visible = true;
            changed = true;
        }
    }
    DrawingEnable(true);
    if (changed)
        view_->layoutScrollBars();
    view_->scrollToRow(currentRow_);
    repaint();
}
