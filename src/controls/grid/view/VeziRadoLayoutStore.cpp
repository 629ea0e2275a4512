#include "controls/grid/view/VeziRado.h"

#include "core/AppError.h"
#include "core/Dialogs.h"

#include <QSettings>

#include <charconv>
#include <cmath>
#include <numeric>

namespace {

// Wider than any screen in any of the scale units; a stored width past it is no width.
constexpr double LargestWidth = 1e7;

// The user's own store of the program, one section per grid.
class LayoutStore
{
public:
    explicit LayoutStore(const QString &gridName)
        : settings_(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("LibraryDesk"),
                    Dialogs::programTitle())
    {
        settings_.beginGroup(gridName);
    }

    QString read(const QString &key, const QString &missing) const
    {
        return settings_.value(key, missing).toString();
    }
    // A number as the grid reads numbers, rounded to a whole one (halves to even).
    double readWhole(const QString &key, const QString &missing) const
    {
        return std::nearbyint(VeziRadoModel::rVal(read(key, missing)));
    }
    void write(const QString &key, const QString &text) { settings_.setValue(key, text); }

    // A store that cannot be written is a failure, not a layout quietly lost.
    void save()
    {
        settings_.sync();
        if (settings_.status() != QSettings::NoError) {
            throw AppError(75,
                           QStringLiteral("Path/File access error: %1").arg(settings_.fileName()));
        }
    }

private:
    QSettings settings_;
};

QString widthKey(int col)
{
    return QStringLiteral("W%1").arg(col);
}

// Written with a full stop whatever the user's locale, so that the store reads back the same
// width on every machine.
QString widthText(float width)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, width, std::chars_format::fixed);
    return QString::fromLatin1(buffer, end.ptr - buffer);
}

// The rest of the grid relies on every column index appearing exactly once.
bool isPermutation(const std::vector<double> &order, std::vector<int> &columns)
{
    const int count = int(order.size());
    std::vector<bool> seen(size_t(count), false);
    columns.clear();
    for (const double entry : order) {
        if (!(entry >= 0 && entry < count) || seen[size_t(entry)])
            return false;
        seen[size_t(entry)] = true;
        columns.push_back(int(entry));
    }
    return true;
}

} // namespace

void VeziRado::ColOrderSave(const QString &UniqueGridName)
{
    LayoutStore store(UniqueGridName);
    const std::vector<int> &order = model_.ColumnOrder();
    store.write(QStringLiteral("Count"), QString::number(int(order.size()) - 1));
    for (size_t i = 0; i < order.size(); ++i)
        store.write(QString::number(i), QString::number(order[i]));
    store.save();
}

void VeziRado::ColOrderLoad(const QString &UniqueGridName)
{
    const LayoutStore store(UniqueGridName);
    const int last = Cols() - 1;
    // A layout saved for another number of columns belongs to another version of the grid.
    if (store.readWhole(QStringLiteral("Count"), QString()) != last)
        return;
    std::vector<double> stored;
    for (int i = 0; i <= last; ++i)
        stored.push_back(store.readWhole(QString::number(i), QString::number(i)));
    std::vector<int> order;
    if (!isPermutation(stored, order) || !UpdateCell())
        return;
    model_.setColumnOrder(order);
    model_.RefreshIfRedraw();
    emit ColumnOrderChanged(0, 0);
}

void VeziRado::ColOrderRestore(const QString &)
{
    if (Cols() <= 1 || !UpdateCell())
        return;
    std::vector<int> order(static_cast<size_t>(Cols()));
    std::iota(order.begin(), order.end(), 0);
    model_.setColumnOrder(order);
    // In the order of adding, a display column is its column index.
    model_.RowColSet(-1, lastKeyColumn_);
    model_.RefreshIfRedraw();
    emit ColumnOrderChanged(0, 0);
}

void VeziRado::ColWidthsSave(const QString &UniqueGridName)
{
    LayoutStore store(UniqueGridName);
    for (int i = 0; i < Cols(); ++i)
        store.write(widthKey(i), widthText(model_.column(i).Width));
    store.save();
}

void VeziRado::ColWidthsLoad(const QString &UniqueGridName)
{
    const LayoutStore store(UniqueGridName);
    for (int i = 0; i < Cols(); ++i) {
        const float current = model_.column(i).Width;
        const double width = VeziRadoModel::rVal(store.read(widthKey(i), widthText(current)));
        // A negative or absurd width comes from a damaged store; the column keeps its own.
        if (!(width >= 0 && width <= LargestWidth))
            continue;
        model_.setColumnWidth(i, float(width), widthToPixels(float(width)));
    }
    model_.repaint();
}
