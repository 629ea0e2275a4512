#include "../shell/ShellTestSupport.h"

#include "catalogue/CatalogueWindows.h"
#include "controls/ribbon/RibbonMenu.h"
#include "members/MembersWindows.h"
#include "ui/frmPrint1.h"

#include <QMdiArea>
#include <QMdiSubWindow>

// Esc closes the child window in front wherever the focus is inside the main window: on the
// ribbon, on the child window's frame, or nowhere.
class EscAnywhereTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        registerReportWindow();
        registerCatalogueWindows();
        registerMembersWindows();
        const QString folder = addCompany("Data 1", "Green Valley School", "Shimla");
        Module::CompanyDb = Database::open(Module::companyDatabasePath(folder));
        Module::CompanyDataPath = folder;
        Module::CurrentUserName = "ADMIN";
        Module::CurrentUserPosition = "SUPER USER";
        main->resize(1024, 728);
        main->show();
        main->buildMenuOnce();
        EXPECT_TRUE(activate(main.get()));
    }

    QWidget *openFromRibbon(const QString &name)
    {
        for (int id = 0; id < 12; ++id)
            if (MDIForm1::windowForButton(QString::number(id)) == name)
                emit main->RibbonMenu1()->ButtonClick(QString::number(id), QString());
        settle();
        return WindowRegistry::find(name);
    }

    // Esc as the keyboard delivers it: to the focus widget, else to the active window.
    void pressEsc()
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : main.get(), Qt::Key_Escape);
        settle();
    }
};

TEST_F(EscAnywhereTest, EscClosesTheWindowInFrontWhereverTheFocusIs)
{
    const auto focusOn = [this](const char *where, QWidget *window) {
        if (QString(where) == "ribbon")
            main->RibbonMenu1()->setFocus();
        else if (QString(where) == "frame")
            window->parentWidget()->setFocus();
        else if (QApplication::focusWidget())
            QApplication::focusWidget()->clearFocus();
    };
    for (const char *name : {"frmBook", "frmGroup"}) {
        for (const char *where : {"as opened", "ribbon", "frame", "nowhere"}) {
            SCOPED_TRACE(std::string(name) + " " + where);
            QWidget *window = openFromRibbon(name);
            ASSERT_TRUE(window && window->isVisible());
            focusOn(where, window);
            pressEsc();
            EXPECT_FALSE(WindowRegistry::find(name));
        }
    }

    // A user who may not add books sees no New button: Esc still closes the window.
    Module::CompanyDb->execute(
        "INSERT INTO UserProfile (PositionID, \"Position\", Entry, \"Add\", Modify, \"Delete\", "
        "\"Print\") VALUES (1, 'Librarian', 'Book', 'N', 'N', 'N', 'N')");
    Module::CurrentUserPosition = "LIBRARIAN";
    QWidget *book = openFromRibbon("frmBook");
    ASSERT_TRUE(book);
    EXPECT_FALSE(book->findChild<QWidget *>("cmdNew")->isVisible());
    pressEsc();
    EXPECT_FALSE(WindowRegistry::find("frmBook"));

    // Esc meant for a window in front never closes one behind it.
    QWidget *group = openFromRibbon("frmGroup");
    QWidget *list = openFromRibbon("frmBookList");
    ASSERT_TRUE(group && list);
    main->RibbonMenu1()->setFocus();
    pressEsc();
    EXPECT_FALSE(WindowRegistry::find("frmBookList"));
    EXPECT_TRUE(WindowRegistry::find("frmGroup"));
}
