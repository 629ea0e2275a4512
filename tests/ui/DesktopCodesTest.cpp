#include "ui/DesktopCodes.h"

#include <gtest/gtest.h>

TEST(DesktopCodes, KeysCarryTheDesktopsCodesAndPunctuationNone)
{
    EXPECT_EQ(DesktopCodes::keyCode(Qt::Key_Delete), 46);
    EXPECT_EQ(DesktopCodes::keyCode(Qt::Key_Insert), 45);
    EXPECT_EQ(DesktopCodes::keyCode(Qt::Key_Enter), 13);
    EXPECT_EQ(DesktopCodes::keyCode(Qt::Key_Backtab), 9);
    EXPECT_EQ(DesktopCodes::keyCode(Qt::Key_F2), 113);
    EXPECT_EQ(DesktopCodes::keyCode(Qt::Key_A), 65);
    // Qt numbers these keys as their characters, which would read as Insert and Delete.
    EXPECT_EQ(DesktopCodes::keyCode(Qt::Key_Minus), 0);
    EXPECT_EQ(DesktopCodes::keyCode(Qt::Key_Period), 0);
}

TEST(DesktopCodes, ModifiersAndButtonsAreBitSets)
{
    EXPECT_EQ(DesktopCodes::shiftCode(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(DesktopCodes::shiftCode(Qt::ControlModifier), 2);
    EXPECT_EQ(DesktopCodes::mouseButtons(Qt::LeftButton | Qt::MiddleButton), 5);
    EXPECT_EQ(DesktopCodes::mouseButtons(Qt::RightButton), 2);
}
