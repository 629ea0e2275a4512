#include "ProgramTest.h"
#include "WaitFor.h"

#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"
#include "ui/WindowRegistry.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

class WindowRegistryTest : public ProgramTest
{
};

TEST_F(WindowRegistryTest, OneInstancePerWindowInLoadOrder)
{
    QMdiArea area;
    area.resize(800, 600);
    area.show();
    WindowRegistry::setMdiArea(&area);
    int made = 0;
    WindowRegistry::registerWindow("frmA", [&] {
        ++made;
        auto *w = new QWidget;
        w->resize(200, 100);
        return w;
    });
    WindowRegistry::registerWindow(
        "frmB",
        [&] {
            auto *w = new QWidget;
            w->resize(200, 100);
            return w;
        },
        WindowRegistry::Placement::Centred);

    QWidget *a = WindowRegistry::show("frmA");
    ASSERT_TRUE(a);
    auto *line = new QLineEdit(a);
    line->setText("kept");
    WindowRegistry::show("frmB");
    EXPECT_EQ(WindowRegistry::show("frmA"), a);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(line->text(), "kept");
    EXPECT_EQ(a->parentWidget()->pos(), QPoint(0, 0));
    EXPECT_EQ(WindowRegistry::loadOrder(), QStringList({"frmA", "frmB"}));
    EXPECT_EQ(WindowRegistry::show("frmNotBuilt"), nullptr);

    WindowRegistry::close("frmB");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(WindowRegistry::lastLoaded(), "frmA");
    EXPECT_EQ(area.subWindowList().size(), 1);
    WindowRegistry::close("frmA");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(WindowRegistry::loadOrder().isEmpty());
    EXPECT_TRUE(area.subWindowList().isEmpty());
}

TEST_F(WindowRegistryTest, EnterChainEscAndFocusColours)
{
    QWidget window;
    FormBuilder::build(
        &window, {
                     {FormBuilder::kind<QLineEdit>(), "txtOne", "", 120, 120, 1500, 300},
                     {FormBuilder::kind<QLineEdit>(), "txtTwo", "", 120, 480, 1500, 300},
                     {FormBuilder::kind<QPushButton>(), "cmdSave", "&Save", 120, 900, 1200, 375},
                 });
    auto *one = window.findChild<QLineEdit *>("txtOne");
    auto *two = window.findChild<QLineEdit *>("txtTwo");
    auto *save = window.findChild<QPushButton *>("cmdSave");
    ASSERT_TRUE(one && two && save);
    EXPECT_EQ(save->text(), "&Save");
    EXPECT_EQ(two->geometry(), QRect(8, 32, 100, 20));
    KeyPreview::installEnterChain(&window, {one, two, save});
    KeyPreview::installFocusColours({one, two});
    bool panelOpen = true;
    KeyPreview::installEscClose(&window, [&] { return std::exchange(panelOpen, false); });
    window.show();
    EXPECT_TRUE(activate(&window));
    one->setFocus();
    EXPECT_EQ(one->palette().color(QPalette::Base), QColor(0xC0, 0xFF, 0xC0));
    QTest::keyClick(one, Qt::Key_Return);
    EXPECT_TRUE(two->hasFocus());
    EXPECT_EQ(one->palette().color(QPalette::Base), QColor(0xF3, 0xF7, 0xFE));
    QTest::keyClick(two, Qt::Key_Return);
    EXPECT_TRUE(save->hasFocus());
    QTest::keyClick(save, Qt::Key_Escape); // closes the panel first
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(save, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowRegistryTest, RecordListStripesChecksAndOpens)
{
    RecordList list;
    list.setColumns({"ID", "Title"}, {300, 3000});
    list.records()->setCheckable(true);
    std::vector<RecordRow> rows;
    for (int i = 1; i <= 3; ++i)
        rows.push_back({{QString::number(i * 10), QString("Book %1").arg(i)}});
    list.records()->setRows(std::move(rows));
    SetListViewStripes(&list, 0xFFFFFF, 0xF3F3ED);
    auto *model = list.records();
    EXPECT_EQ(model->data(model->index(0, 1), Qt::BackgroundRole).value<QColor>(),
              QColor(Qt::white));
    EXPECT_EQ(model->data(model->index(1, 1), Qt::BackgroundRole).value<QColor>(),
              QColor(0xED, 0xF3, 0xF3));
    model->setData(model->index(2, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(model->row(2).checked);

    double opened = -1;
    QObject::connect(&list, &RecordList::rowOpened, [&](double key) { opened = key; });
    list.show();
    list.setCurrentIndex(model->index(1, 1));
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(opened, 20);
}
