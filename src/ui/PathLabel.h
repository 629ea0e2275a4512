#pragma once

#include <QLabel>

// A one-line label for a file path whose text is always the whole path, for whoever reads it
// back. A path longer than the label shows its start and its file name with the middle left out,
// and the whole of it in the label's tooltip.
class PathLabel : public QLabel
{
public:
    using QLabel::QLabel;

    // The text as drawn: the whole text, or its two ends around an ellipsis.
    QString shownText() const;
    bool cutShort() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QRect textRoom() const;
};
