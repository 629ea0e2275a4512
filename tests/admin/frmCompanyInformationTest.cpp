#include "AdminFixture.h"

#include "admin/frmCompanyInformation.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>

namespace {

class frmCompanyInformationTest : public AdminFixture
{
protected:
    frmCompanyInformation *open()
    {
        auto *window = WindowRegistry::show<frmCompanyInformation>("frmCompanyInformation");
        EXPECT_TRUE(activate(area));
        return window;
    }
    QLineEdit *box(QWidget *window, const char *name) { return control<QLineEdit>(window, name); }
};

TEST_F(frmCompanyInformationTest, LoadsTheLastRowAndAppliesToEveryRow)
{
    Module::CompanyDb->execute("INSERT INTO Company (CompanyName, city, OT3, OT4) VALUES ('Second "
                               "Row', 'Agra', NULL, 'pw')");
    auto *window = open();
    EXPECT_EQ(window->windowTitle(), "Company Information");
    EXPECT_EQ(control<QLabel>(window, "lblHeading")->text(), "LIBRARY INFO");
    EXPECT_EQ(area->subWindowList().first()->pos(), QPoint(0, 0));
    // The last row read wins; a Null gives an empty box.
    EXPECT_EQ(box(window, "txtCompanyName")->text(), "Second Row");
    EXPECT_EQ(box(window, "txtCity")->text(), "Agra");
    EXPECT_EQ(box(window, "txtAddress")->text(), "");
    EXPECT_EQ(box(window, "txtEmail")->text(), "");
    EXPECT_EQ(box(window, "txtPassword")->maxLength(), 50);

    // Quotes are values like any other text.
    box(window, "txtCompanyName")->setText("St. Mary's Library");
    box(window, "txtAddress")->setText("1 O'Neil Street");
    box(window, "txtEmail")->setText("new.sender@gmail.com");
    box(window, "txtPassword")->setText("it's secret");
    dialogs->expectOk();
    click(window, "cmdApply");
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_EQ(dialogs->last().text, "Company Update");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, Dialogs::programTitle());
    EXPECT_EQ(Module::CurrentCompanyEmail, "new.sender@gmail.com");
    EXPECT_EQ(Module::CurrentCompanyName, "City Library/Annex");
    Recordset rows = Module::CompanyDb->query("SELECT * FROM Company");
    int count = 0;
    for (; !rows.eof(); rows.moveNext(), ++count) {
        EXPECT_EQ(rows.text("CompanyName"), "St. Mary's Library");
        EXPECT_EQ(rows.text("Address"), "1 O'Neil Street");
        EXPECT_EQ(rows.text("OT3"), "new.sender@gmail.com");
        EXPECT_EQ(rows.text("OT4"), "it's secret");
        // Columns the window does not show stay.
        EXPECT_NE(rows.text("email"), "new.sender@gmail.com");
    }
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(WindowRegistry::find("frmCompanyInformation"));
}

TEST_F(frmCompanyInformationTest, AFailedApplyWritesNothingAndKeepsTheSender)
{
    auto *window = open();
    box(window, "txtCompanyName")->setText("Changed");
    box(window, "txtEmail")->setText("other@gmail.com");
    Database::setFailureHook({.failOnTable = "Company"});
    dialogs->expectOk();
    click(window, "cmdApply");
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.endsWith(" \r\n")) << qPrintable(dialogs->last().text);
    EXPECT_NE(dialogs->last().text, "Company Update");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_EQ(Module::CurrentCompanyEmail, "library.gvs@gmail.com");
    EXPECT_EQ(Module::CompanyDb->scalar("SELECT CompanyName FROM Company").toString(),
              "City Library/Annex");
}

TEST_F(frmCompanyInformationTest, AnEmptyTableStillSetsTheSender)
{
    Module::CompanyDb->execute("DELETE FROM Company");
    auto *window = open();
    EXPECT_EQ(box(window, "txtCompanyName")->text(), "");
    box(window, "txtEmail")->setText("fresh@gmail.com");
    dialogs->expectOk();
    click(window, "cmdApply");
    EXPECT_EQ(dialogs->last().text, "Company Update");
    EXPECT_EQ(Module::CurrentCompanyEmail, "fresh@gmail.com");
    EXPECT_EQ(Module::CompanyDb->scalar("SELECT count(*) FROM Company").toInt(), 0);
}

TEST_F(frmCompanyInformationTest, KeysPasswordToggleAndLink)
{
    auto *window = open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(area.data()));
    auto *password = box(window, "txtPassword");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    click(window, "cmdSee");
    EXPECT_EQ(password->echoMode(), QLineEdit::Normal);
    click(window, "cmdSee");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);

    // Enter walks the chain; on the password it only moves to Apply.
    box(window, "txtCompanyName")->setFocus();
    for (const char *next : {"txtAddress", "txtCity", "txtPhone", "txtEmail", "txtPassword"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), box(window, next)) << next;
    }
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), control<StyledButton>(window, "cmdApply"));
    EXPECT_TRUE(dialogs->boxes.isEmpty());

    // The link opens the provider's page; a stored address takes its place.
    auto *link = control<QLabel>(window, "lblLink");
    EXPECT_EQ(link->text(), "Click here to Gmail Setting");
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(dialogs->opened.size(), 1);
    EXPECT_TRUE(dialogs->opened.last().endsWith("/lesssecureapps"));
    QSettings(QSettings::IniFormat, QSettings::UserScope, "LibraryDesk", "LibraryDesk")
        .setValue("Mail/SettingsLink", "https://mail.example.org/app-passwords");
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(dialogs->opened.last(), "https://mail.example.org/app-passwords");

    const QPixmap shot = window->grab();
    EXPECT_TRUE(shot.save(QDir(testOutputFolder()).filePath("frmCompanyInformation.png")));

    box(window, "txtCity")->setFocus();
    QTest::keyClick(box(window, "txtCity"), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmCompanyInformation"); }));
}

} // namespace
