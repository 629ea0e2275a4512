#include "QtPrinters.h"
#include "RibbonTestSupport.h"

#include "core/AppError.h"

#include <gtest/gtest.h>

namespace {

int errorNumberOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const AppError &error) {
        return error.number();
    }
    return 0;
}

} // namespace

TEST(RibbonModel, CurrentTabAndLineBreaks)
{
    RibbonMenu ribbon;
    EXPECT_FALSE(ribbon.AddTab("", "No ID"));
    EXPECT_EQ(ribbon.CurrentTab(), "");
    EXPECT_FALSE(ribbon.AddTab("1", "Library\r\nDesk"));
    EXPECT_EQ(ribbon.CurrentTab(), "1");
    ribbon.AddTab("2", "Lone\rreturn\nfeed");
    EXPECT_EQ(ribbon.CurrentTab(), "1");

    EXPECT_FALSE(ribbon.AddCat("c", "1", "Two\r\nwords", true));
    ribbon.setImageList(RibbonTest::twelveIcons(&ribbon));
    EXPECT_FALSE(ribbon.AddButton("b1", "c", "Book\r\nIssue", 1));
    ribbon.AddButton("b2", "c", "Plain", 2, true, "Tip\r\ntext");

    const RibbonModel &model = ribbon.model();
    EXPECT_EQ(model.tabs()[1].caption, "Library Desk");
    EXPECT_EQ(model.tabs()[2].caption, "Lone\rreturn\nfeed");
    EXPECT_EQ(model.categories()[0].caption, "Two words");
    EXPECT_TRUE(model.categories()[0].dialogButton);
    EXPECT_EQ(model.buttons()[0].caption, "Book\r\nIssue");
    EXPECT_EQ(model.buttons()[0].toolTip, "Book Issue");
    EXPECT_FALSE(model.buttons()[0].more);
    EXPECT_EQ(model.buttons()[1].toolTip, "Tip text");
    EXPECT_TRUE(model.buttons()[1].more);
    EXPECT_EQ(model.buttons()[1].picture.size(), QSize(48, 48));
}

TEST(RibbonModel, FullTablesRefuseWithError9)
{
    RibbonMenu ribbon;
    ribbon.setImageList(RibbonTest::twelveIcons(&ribbon));
    for (int i = 0; i < RibbonModel::TabCapacity; ++i)
        ribbon.AddTab(QString::number(i), "Tab");
    for (int i = 0; i < RibbonModel::CategoryCapacity; ++i)
        ribbon.AddCat(QString::number(i), "0", "Cat", false);
    for (int i = 0; i < RibbonModel::ButtonCapacity; ++i)
        ribbon.AddButton(QString::number(i), "0", "Button", 1);

    EXPECT_EQ(errorNumberOf([&] { ribbon.AddTab("x", "x"); }), 9);
    EXPECT_EQ(errorNumberOf([&] { ribbon.AddCat("x", "0", "x", false); }), 9);
    EXPECT_EQ(errorNumberOf([&] { ribbon.AddButton("x", "0", "x", 1); }), 9);
    EXPECT_EQ(ribbon.model().TabCount(), 31);
    EXPECT_EQ(ribbon.model().CatCount(), 31);
    EXPECT_EQ(ribbon.model().ButtonCount(), 91);
    EXPECT_EQ(ribbon.model().tabs().last().id, "30");
    EXPECT_EQ(ribbon.model().buttons().last().id, "90");
}

TEST(RibbonModel, ButtonStoredEvenWhenItsPictureFails)
{
    RibbonMenu ribbon;
    try {
        ribbon.AddButton("0", "1", "New Book Entry", 1, true, "Tip");
        FAIL() << "no error without an image list";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number(), 91);
        EXPECT_EQ(error.description(), "Object variable or With block variable not set");
    }
    ribbon.setImageList(RibbonTest::twelveIcons(&ribbon));
    EXPECT_EQ(errorNumberOf([&] { ribbon.AddButton("1", "1", "Card", 13, true); }), 35600);

    ASSERT_EQ(ribbon.model().ButtonCount(), 2);
    for (const RibbonButton &button : ribbon.model().buttons()) {
        EXPECT_TRUE(button.picture.isNull());
        EXPECT_FALSE(button.more);
    }
    EXPECT_EQ(ribbon.model().buttons()[0].toolTip, "Tip");
    EXPECT_EQ(ribbon.model().buttons()[1].caption, "Card");
}
