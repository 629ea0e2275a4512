#include "ButtonTestSupport.h"

#include <QDir>
#include <QFont>
#include <QPainter>
#include <gtest/gtest.h>

using namespace ButtonTest;

namespace {

const char *const StateNames[] = {"normal", "hovered", "pressed", "disabled", "default"};

} // namespace

// Every style in every shape and look on one sheet, for a person to look at.
TEST(StyledButtonSheetTest, DrawsEveryStyleShapeAndLook)
{
    constexpr int CellWidth = 112, CellHeight = 46, LabelWidth = 120, HeaderHeight = 22;
    constexpr int Columns = 9, Rows = 8 * 5;
    QWidget sheet;
    sheet.setFixedSize(LabelWidth + Columns * CellWidth, HeaderHeight + Rows * CellHeight);
    QPalette palette = sheet.palette();
    palette.setColor(QPalette::Window, QColor(240, 240, 240));
    sheet.setPalette(palette);
    sheet.setAutoFillBackground(true);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(7.5);
    sheet.setFont(font);
    sheet.show();

    const QImage disc = discPicture(40, 40);
    const QImage wide = discPicture(64, 40, QColor(60, 160, 90));
    int made = 0;
    for (int style = 0; style < 8; ++style) {
        for (int state = 0; state < 5; ++state) {
            const int row = style * 5 + state;
            for (int shape = 0; shape < Columns; ++shape) {
                auto *button = new StyledButton(&sheet);
                button->setGeometry(LabelWidth + shape * CellWidth + 6,
                                    HeaderHeight + row * CellHeight + 5, 96, 34);
                button->show();
                button->setButtonStyle(style);
                // Shapes 5 and 6 show their caption only when checked: picture buttons.
                if (shape == 5 || shape == 6) {
                    button->setPicture(ButtonPicture::fromImage(disc));
                    button->setPictureSize(1);
                    button->setPictureAlign(4);
                } else {
                    button->setCaption(QStringLiteral("&Save"));
                }
                if (shape == 7)
                    button->setPicture(ButtonPicture::fromImage(wide));
                if (shape == 8)
                    button->setPicture(ButtonPicture::fromImage(disc));
                button->setButtonShape(shape);
                switch (state) {
                case 1:
                    moveOnto(button);
                    break;
                case 2:
                    moveOnto(button);
                    press(button);
                    break;
                case 3:
                    button->setEnabled(false);
                    break;
                case 4:
                    button->setDefault(true);
                    break;
                default:
                    break;
                }
                ++made;
            }
        }
    }
    QImage image = sheet.grab().toImage();
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
        for (int shape = 0; shape < Columns; ++shape)
            painter.drawText(QRect(LabelWidth + shape * CellWidth, 0, CellWidth, HeaderHeight),
                             Qt::AlignCenter, QStringLiteral("shape %1").arg(shape));
        for (int row = 0; row < Rows; ++row)
            painter.drawText(QRect(4, HeaderHeight + row * CellHeight, LabelWidth - 4, CellHeight),
                             Qt::AlignVCenter | Qt::AlignLeft,
                             QStringLiteral("style %1 %2").arg(row / 5).arg(StateNames[row % 5]));
    }
    const QString folder = QStringLiteral(LD_TEST_OUTPUT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/styled-button-sheet.png");
    ASSERT_TRUE(image.save(path));
    EXPECT_EQ(made, Rows * Columns);
}
