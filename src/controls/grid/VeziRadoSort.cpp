#include "controls/grid/VeziRadoModel.h"

#include "controls/grid/GridDates.h"
#include "controls/grid/GridErrors.h"
#include "controls/grid/GridNumbers.h"

#include <QCollator>

#include <algorithm>
#include <limits>
#include <numeric>
#include <span>
#include <string>

namespace {

SortDirection nextDirection(SortDirection state)
{
    switch (state) {
    case SortDirection::Unsorted:
        return SortDirection::Ascending;
    case SortDirection::Ascending:
        return SortDirection::Descending;
    case SortDirection::Descending:
        return SortDirection::Unsorted;
    }
    return state; // other host values stay as they are
}

int compareKeys(const QCollatorSortKey &a, const QCollatorSortKey &b)
{
    return a.compare(b);
}

template <typename Key> int compareKeys(const Key &a, const Key &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// A text folded to one case, as UTF-8: its bytes order as its characters' code points do.
struct FoldedText
{
    std::string bytes;
};

int compareKeys(const FoldedText &a, const FoldedText &b)
{
    return a.bytes.compare(b.bytes);
}

// Text of plain ASCII, a school's usual, folds without the Unicode tables: only A to Z change.
FoldedText folded(QStringView text)
{
    std::string bytes(size_t(text.size()), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0x80) {
            const QByteArray utf8 = text.toString().toCaseFolded().toUtf8();
            return {std::string(utf8.constData(), size_t(utf8.size()))};
        }
        bytes[size_t(i)] = char(unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit);
    }
    return {std::move(bytes)};
}

// Each row's key is read once; equal keys keep their record order in both directions, so the
// sort is O(n log n) whatever the data and its result does not depend on the previous order.
template <typename Key, typename KeyOf>
void sortByKey(std::span<int> records, bool descending, KeyOf keyOf)
{
    std::vector<std::pair<Key, int>> entries;
    entries.reserve(records.size());
    for (const int record : records)
        entries.emplace_back(keyOf(record), record);
    std::sort(entries.begin(), entries.end(), [descending](const auto &a, const auto &b) {
        const int order = compareKeys(a.first, b.first);
        if (order != 0)
            return descending ? order > 0 : order < 0;
        return a.second < b.second;
    });
    for (size_t i = 0; i < entries.size(); ++i)
        records[i] = entries[i].second;
}

// A merge sort asks the host as often as a comparison sort must and stays in bounds whatever
// the host answers.
template <typename GoesBefore>
void mergeSort(std::span<int> records, std::vector<int> &buffer, GoesBefore goesBefore)
{
    if (records.size() < 2)
        return;
    const size_t middle = records.size() / 2;
    mergeSort(records.first(middle), buffer, goesBefore);
    mergeSort(records.subspan(middle), buffer, goesBefore);
    buffer.assign(records.begin(), records.end());
    size_t left = 0;
    size_t right = middle;
    for (int &out : records) {
        if (left < middle && (right == buffer.size() || !goesBefore(buffer[right], buffer[left])))
            out = buffer[left++];
        else
            out = buffer[right++];
    }
}

} // namespace

void VeziRadoModel::setColSortState(int col, SortDirection state)
{
    checkColumn(col);
    columns_[size_t(col)].SortState = state;
}

void VeziRadoModel::Sort(int vCol1, int vCol1SortType, int vCol2, int vCol2SortType)
{
    if (rows_.empty())
        return;
    if (!view_->updateCell()) {
        view_->processEvents();
        return;
    }
    int primary = vCol1 != -1 ? vCol1 : primarySortCol_;
    int secondary = vCol2 != -1 ? vCol2 : secondarySortCol_;
    if (primary == -1 && secondary != -1)
        std::swap(primary, secondary);
    else if (primary == secondary)
        secondary = -1;
    checkColumn(primary);
    if (secondary != -1)
        checkColumn(secondary);
    primarySortCol_ = primary;
    secondarySortCol_ = secondary;

    ColumnRecord &first = columns_[size_t(primary)];
    first.SortState =
        vCol1SortType == -1 ? nextDirection(first.SortState) : SortDirection(vCol1SortType);
    if (secondary != -1) {
        columns_[size_t(secondary)].SortState =
            vCol2SortType == -1 ? first.SortState : SortDirection(vCol2SortType);
    }

    const int currentRecord = currentRow_ >= 0 ? rowOrder_[size_t(currentRow_)] : -1;
    const int paintsBefore = paints_;
    if (first.SortState != SortDirection::Unsorted) {
        // Two-digit years read around the year the sort began, taken once for every run.
        const auto isDate = [this](int col) {
            return col != -1 && columns_[size_t(col)].DataType == ColumnType::Date;
        };
        const int thisYear = isDate(primary) || isDate(secondary) ? GridDates::currentYear() : 0;
        sortRange(0, LastRowIndex(), primary, first.SortState, thisYear);
        sortSecondary(thisYear);
    } else {
        std::iota(rowOrder_.begin(), rowOrder_.end(), 0);
        primarySortCol_ = -1;
        secondarySortCol_ = -1;
    }
    // The scroll range counts the rows that fit under the last one, so it follows where hidden
    // and taller rows now lie; the current row is then brought into view within the new range.
    view_->layoutScrollBars();
    if (currentRecord >= 0) {
        const auto found = std::find(rowOrder_.begin(), rowOrder_.end(), currentRecord);
        const int position = int(found - rowOrder_.begin());
        if (rowAt(position).Visible) {
            RowColSet(position, -1);
        } else if (position != currentRow_) {
            // RowColSet refuses a row hidden by a filter, yet it must stay current: the old
            // position now holds another record, which keys and edits would act on. The move
            // has the effects RowColSet gives a visible row.
            selectRowRange(false, -1, -1);
            currentColPosition_ = -1;
            currentRow_ = position;
            raise(events_.RowColChanged);
            row(position).Flags |= RowFlag::Selected;
            raise(events_.SelectionChanged);
            repaint();
        }
    }
    // The rows moved and the header marks changed whether or not the current row moved.
    if (paints_ == paintsBefore)
        repaint();
    raise(events_.SortComplete);
    view_->processEvents();
}

void VeziRadoModel::sortRange(int first, int last, int col, SortDirection state, int thisYear)
{
    if (first >= last)
        return;
    const std::span<int> records(rowOrder_.data() + first, size_t(last - first + 1));
    const bool descending = state == SortDirection::Descending;
    const auto textOf = [this, col](int record) { return rows_[size_t(record)].text(col); };

    switch (columns_[size_t(col)].DataType) {
    case ColumnType::Number:
        sortByKey<double>(records, descending,
                          [&](int record) { return GridNumbers::rVal(textOf(record)); });
        break;
    case ColumnType::Date:
        // Texts that are no dates come before every date.
        sortByKey<qint64>(records, descending, [&](int record) {
            const auto date = GridDates::recognise(textOf(record), thisYear);
            return date ? date->sortKey() : std::numeric_limits<qint64>::min();
        });
        break;
    case ColumnType::CheckBox:
        // Ascending puts the ticked cells first.
        sortByKey<int>(records, descending, [&](int record) {
            return rows_[size_t(record)].Cells[size_t(col)].Flags.testFlag(CellFlag::Checked) ? 0
                                                                                              : 1;
        });
        break;
    case ColumnType::CustomSort: {
        std::sort(records.begin(), records.end());
        std::vector<int> buffer;
        mergeSort(records, buffer, [&](int record, int pivot) {
            if (!events_.CustomSort)
                return false;
            bool ascending = descending; // the event names the descending state "Ascending"
            int column = col;
            QString value1 = textOf(record).toString();
            QString value2 = textOf(pivot).toString();
            bool swap = false;
            events_.CustomSort(ascending, column, value1, value2, swap);
            return swap;
        });
        break;
    }
    default: {
        // Text in the reader's order: accented letters beside their base letter, case ignored.
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        // Some collators make their sort keys from the plain text whatever the case setting
        // (the C locale's, which a host that sets no locale runs under): they get folded text.
        const bool keysKeepCase =
            collator.sortKey(QStringLiteral("a")).compare(collator.sortKey(QStringLiteral("A"))) != 0;
        if (keysKeepCase && collator.locale().language() == QLocale::C) {
            // The C locale orders by code point: the folded text's bytes, without a collator.
            sortByKey<FoldedText>(records, descending,
                                  [&](int record) { return folded(textOf(record)); });
            break;
        }
        sortByKey<QCollatorSortKey>(records, descending, [&](int record) {
            // Folded in place: the text is a fresh copy either way.
            QString text = textOf(record).toString();
            return collator.sortKey(keysKeepCase ? std::move(text).toCaseFolded() : text);
        });
        break;
    }
    }
}

void VeziRadoModel::sortSecondary(int thisYear)
{
    if (secondarySortCol_ == -1)
        return;
    const SortDirection state = columns_[size_t(secondarySortCol_)].SortState;
    const auto primaryText = [this](int position) {
        return rows_[size_t(rowOrder_[size_t(position)])].text(primarySortCol_);
    };
    for (int start = 0; start <= LastRowIndex();) {
        int end = start;
        while (end < LastRowIndex() && primaryText(end + 1) == primaryText(start))
            ++end;
        sortRange(start, end, secondarySortCol_, state, thisYear);
        start = end + 1;
    }
}
