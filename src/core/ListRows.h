#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <vector>

// The texts of a list's rows held compactly: the texts' bytes in UTF-8 blocks that never move once
// written, so 100,000 rows fill without copying what is already stored and free at once, and a
// text becomes a QString only when it is read (the rows on screen).
class ListRows
{
public:
    ListRows() = default;
    ListRows(ListRows &&) noexcept = default;
    ListRows &operator=(ListRows &&) noexcept = default;

    int size() const { return int(rows_.size()); }
    bool empty() const { return rows_.empty(); }

    // Starts a new row: the texts added next are its columns, in order.
    void startRow() { rows_.push_back({qsizetype(texts_.size()), 0}); }
    void addText(const char *utf8, qsizetype bytes);
    void addText(const QString &text);
    void append(const QStringList &texts);

    int textCount(int row) const { return rows_[size_t(row)].count; }
    // The row's text in that column; an empty text past the row's last column.
    QString text(int row, int column) const;
    QStringList texts(int row) const;

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
    std::vector<Block> blocks_;
    std::deque<Text> texts_; // a deque grows without moving what it holds
    std::vector<Row> rows_;
};
