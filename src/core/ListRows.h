#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <vector>

// The texts of a list's rows held compactly: the texts' bytes in UTF-8 blocks that never move once
// written, so 100,000 rows fill without copying what is already stored and free at once, and a
// text becomes a QString only when it is read (the rows on screen). A subset shares the texts of
// the rows it was taken from, so a filter over rows already read copies no text.
class ListRows
{
public:
    ListRows() = default;
    ListRows(ListRows &&) noexcept = default;
    ListRows &operator=(ListRows &&) noexcept = default;

    int size() const { return int(rows_.size()); }
    bool empty() const { return rows_.empty(); }

    // Starts a new row: the texts added next are its columns, in order.
    void startRow() { rows_.push_back({qsizetype(store().texts.size()), 0}); }
    void addText(const char *utf8, qsizetype bytes);
    void addText(const QString &text);
    void append(const QStringList &texts);
    // Adds the other list's rows after these; its texts move along without being copied.
    void append(ListRows &&other);

    int textCount(int row) const { return rows_[size_t(row)].count; }
    // The row's text in that column; an empty text past the row's last column.
    QString text(int row, int column) const;
    QStringList texts(int row) const;
    // The row's text in that column as its stored UTF-8 bytes; empty past the row's last column.
    QByteArrayView utf8(int row, int column) const;

    // These rows (present indexes, in the order given), sharing this list's texts.
    ListRows subset(const std::vector<int> &rows) const;
    // Those of the given rows whose text in that column begins with the typed text as a filter
    // box's pattern takes it: its characters literally, letter case ignored unit by unit in UTF-16.
    std::vector<int> beginningWith(const std::vector<int> &rows, int column,
                                   const QString &typed) const;

    // Puts the rows in a new order: order[i] is the present index of the row that becomes row i.
    void reorder(const std::vector<int> &order);

private:
    struct Row
    {
        qsizetype firstText;
        int count;
    };
    struct Text
    {
        const char *start;
        qsizetype bytes;
    };
    struct Block
    {
        std::unique_ptr<char[]> bytes;
        qsizetype used;
        qsizetype capacity;
    };
    // Written only by appending, so lists that share it never see each other's rows change.
    struct Store
    {
        std::vector<Block> blocks;
        std::deque<Text> texts; // a deque grows without moving what it holds
    };
    Store &store();

    std::shared_ptr<Store> store_;
    std::vector<Row> rows_;
};
