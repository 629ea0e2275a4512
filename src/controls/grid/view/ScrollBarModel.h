#pragma once

#include <algorithm>

// One scroll bar as the grid keeps it: the platform's range, page and position, and whether the
// grid shows it. The platform maximum holds the page, so the largest position is max - page + 1.
class ScrollBarModel
{
public:
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int page() const { return page_; }
    int position() const { return position_; }
    bool shown() const { return shown_; }
    int largestPosition() const { return std::max(minimum_, maximum_ - std::max(page_, 1) + 1); }

    // The largest position becomes `value` + 1 (the grid's rule for its row and column counts).
    void setMax(int value) { setRange(minimum_, value + page_); }
    void setMin(int value) { setRange(value, maximum_); }
    void setPage(int page)
    {
        maximum_ = maximum_ - page_ + page;
        page_ = page;
        clamp();
    }
    // The position, clamped to the range.
    void setPosition(int position)
    {
        position_ = position;
        clamp();
    }
    void setShown(bool shown) { shown_ = shown; }

private:
    void setRange(int minimum, int maximum)
    {
        minimum_ = minimum;
        maximum_ = std::max(minimum, maximum);
        clamp();
    }
    void clamp() { position_ = std::clamp(position_, minimum_, largestPosition()); }

    int minimum_ = 0;
    int maximum_ = 0;
    int page_ = 0;
    int position_ = 0;
    bool shown_ = false;
};
