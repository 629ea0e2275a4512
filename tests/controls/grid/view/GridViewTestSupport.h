#pragma once

#include "controls/grid/view/GridGeometry.h"
#include "controls/grid/view/VeziRado.h"
#include "core/PropertyBag.h"

#include <QMouseEvent>
#include <QStyle>

#include <QWidget>

#include <memory>

namespace GridViewTest {

// Every line 13 pixels high, every character 7 pixels wide, whatever the font.
struct FixedMeasurer : TextMeasurer
{
    int line = 13;
    int charWidth = 7;
    int lineHeight(const QFont &) const override { return line; }
    int textWidth(const QFont &, const QString &text) const override
    {
        return int(text.size()) * charWidth;
    }
    int wrappedHeight(const QFont &, const QString &text, int width) const override
    {
        const int perLine = std::max(width / charWidth, 1);
        int lines = 0;
        for (const QString &part : text.split(QLatin1Char('\n')))
            lines += std::max(1, int((part.size() + perLine - 1) / perLine));
        return lines * line;
    }
};

// A grid loaded at run time in a host window of a fixed size, drawing with fixed text sizes and a
// classic desktop, so no scheme overrides its colours.
struct Host
{
    explicit Host(QSize size = QSize(300, 200))
    {
        window.resize(400, 300);
        grid = new VeziRado(&window);
        grid->setTextMeasurer(&measurer);
        grid->setDesktopLookProvider([] { return GridTheme::DesktopLook{false, {}}; });
        grid->resize(size);
        grid->ReadProperties({});
    }
    QWidget window;
    FixedMeasurer measurer;
    VeziRado *grid = nullptr;
};

} // namespace GridViewTest
