#include "CreateCompanyFixture.h"

#include "admin/CompanyCreation.h"
#include "admin/frmCreateCompany.h"
#include "controls/button/StyledButton.h"
#include "core/DateText.h"
#include "core/Module.h"
#include "ui/DateBox.h"
#include "ui/WindowRegistry.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <functional>
#include <tuple>
#include <utility>

namespace {

class frmCreateCompanyTest : public CreateCompanyFixture
{
};

TEST_F(frmCreateCompanyTest, OpensWithDefaultsAndSavesAScreenshot)
{
    auto *window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "CREATE COMPANY");
    EXPECT_EQ(control<QLabel>(window, "labpath")->text(), "Data");
    EXPECT_EQ(control<QLabel>(window, "labcompanyid")->text(), "1");
    EXPECT_TRUE(control(window, "txtCompanyName")->hasFocus());
    EXPECT_EQ(control(window, "txtUserName")->text().size(), 1);
    EXPECT_EQ(control(window, "txtPassword")->text().size(), 1);
    EXPECT_EQ(control(window, "txtPassword")->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(area->subWindowList().first()->pos(), QPoint(0, 0));

    const auto year = CompanyCreation::proposedYear(QDate::currentDate());
    EXPECT_EQ(control<DateBox>(window, "DTPicker1")->date(), year.start);
    EXPECT_EQ(control<DateBox>(window, "DTPicker2")->date(), year.end);
    EXPECT_EQ(control<DateBox>(window, "DTPicker1")->text(), DateText::toLong(year.start));

    // The last row of Path wins, but a Null there cannot be shown and leaves the caption.
    Module::CommonDb->execute("INSERT INTO Path (Defaultpath) VALUES (NULL)");
    window->pathload();
    EXPECT_EQ(control<QLabel>(window, "labpath")->text(), "Data");

    control(window, "txtCompanyName")->setText("Green Valley School");
    control(window, "txtaddress")->setText("12 Mall Road");
    control(window, "txtCity")->setText("Ludhiana");
    control<QComboBox>(window, "txtState")->setEditText("Punjab");
    control(window, "txtstatecode")->setText("03");
    control(window, "txtMobile")->setText("9876543210");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(area.data()));
    const QPixmap shot = window->grab();
    EXPECT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QDir(testOutputFolder()).filePath("frmCreateCompany.png")));
}

TEST_F(frmCreateCompanyTest, ChecksRefuseInOrderAndWriteNothing)
{
    auto *window = open();
    const auto refusedWith = [&](const QString &message, const char *focus) {
        dialogs->expectOk();
        clickSave(window);
        ASSERT_FALSE(dialogs->boxes.isEmpty());
        EXPECT_EQ(dialogs->last().text, message);
        EXPECT_EQ(dialogs->last().title, "Don't Create Company");
        EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
        EXPECT_EQ(dialogs->last().buttons, Dialogs::Buttons::Ok);
        QWidget *focused = QApplication::focusWidget();
        EXPECT_TRUE(focused && (focused->objectName() == focus ||
                                focused->parentWidget()->objectName() == focus))
            << focus;
    };
    refusedWith("Pls Enter CompanyName First", "txtCompanyName");
    control(window, "txtCompanyName")->setText("   "); // blanks pass
    refusedWith("Pls Enter State Name", "txtState");

    // A state typed that the list does not know gets no code and is refused.
    auto *state = control<QComboBox>(window, "txtState");
    state->setFocus();
    QTest::keyClicks(state, "Ladakh");
    EXPECT_EQ(state->currentText(), "Ladakh");
    control(window, "txtPhone")->setFocus();
    EXPECT_EQ(control(window, "txtstatecode")->text(), "");
    refusedWith("Pls Enter Proper State Name", "txtstatecode");

    control(window, "txtstatecode")->setText("38");
    refusedWith("Pls Enter Mobile No.", "txtMobile");
    control(window, "txtMobile")->setText("98765");
    refusedWith("Pls Enter 10 Digit Mobile No.", "txtMobile");

    // A year that ends before it starts.
    control(window, "txtMobile")->setText("9876543210");
    control<DateBox>(window, "DTPicker1")->setDate(QDate(2026, 4, 1));
    control<DateBox>(window, "DTPicker2")->setDate(QDate(2026, 3, 31));
    refusedWith("Pls Enter a Closing Date on or after the Starting Date", "DTPicker2");

    EXPECT_EQ(dialogs->boxes.size(), 6);
    EXPECT_TRUE(isOpen("frmCreateCompany"));
    EXPECT_EQ(pickerShows, 0);
    EXPECT_EQ(Module::CommonDb->scalar("SELECT count(*) FROM Company").toInt(), 0);
    EXPECT_FALSE(QDir(path("Data/Data 1")).exists());
}

// A newcomer reads the README before the window: every field that the window refuses to go
// without must be named there by the caption the window shows above it.
TEST_F(frmCreateCompanyTest, TheReadmeNamesEveryFieldTheWindowRequires)
{
    QFile readme(QStringLiteral(LD_PACKAGE_DIR "/../README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString all = QString::fromUtf8(readme.readAll());
    const qsizetype start = all.indexOf("## First start");
    ASSERT_GE(start, 0);
    const QString firstStart = all.mid(start, all.indexOf("\n## ", start + 1) - start).simplified();

    auto *window = open();
    const auto captionAbove = [&](QWidget *field) {
        QLabel *nearest = nullptr;
        for (auto *label : window->findChildren<QLabel *>())
            if (label->x() == field->x() && label->geometry().bottom() < field->y() &&
                (!nearest || label->y() > nearest->y()))
                nearest = label;
        return nearest ? nearest->text() : QString();
    };
    const QList<std::pair<const char *, std::function<void()>>> fills = {
        {"txtCompanyName", [&] { control(window, "txtCompanyName")->setText("Green Valley"); }},
        {"txtState", [&] { control<QComboBox>(window, "txtState")->setEditText("Ladakh"); }},
        {"txtstatecode", [&] { control(window, "txtstatecode")->setText("38"); }},
        {"txtMobile", [&] { control(window, "txtMobile")->setText("98765"); }},
        {"txtMobile", [&] { control(window, "txtMobile")->setText("9876543210"); }},
    };
    for (const auto &[name, fill] : fills) {
        dialogs->expectOk();
        clickSave(window);
        ASSERT_FALSE(dialogs->boxes.isEmpty());
        auto *field = window->findChild<QWidget *>(name);
        ASSERT_TRUE(field) << name;
        const QString caption = captionAbove(field);
        ASSERT_FALSE(caption.isEmpty()) << name;
        EXPECT_TRUE(firstStart.contains('"' + caption + '"')) << caption.toStdString();
        fill();
    }
    for (const char *date : {"DTPicker1", "DTPicker2"}) {
        const QString caption = captionAbove(window->findChild<QWidget *>(date));
        EXPECT_TRUE(firstStart.contains('"' + caption + '"')) << caption.toStdString();
    }
}

TEST_F(frmCreateCompanyTest, StateBoxCompletesAndFillsItsCode)
{
    auto *window = open();
    auto *state = control<QComboBox>(window, "txtState");
    auto *code = control(window, "txtstatecode");
    state->setFocus();
    QTest::keyClicks(state, "punj");
    EXPECT_EQ(state->currentText(), "Punjab");
    EXPECT_EQ(state->lineEdit()->selectedText(), "ab");
    QTest::keyClick(state, Qt::Key_Backspace); // removes the completed part, no new completion
    EXPECT_EQ(state->currentText(), "Punj");
    QTest::keyClicks(state, "a");
    EXPECT_EQ(state->currentText(), "Punjab");
    QTest::keyClick(state, Qt::Key_Down); // swallowed: the list is not stepped through
    EXPECT_EQ(state->currentText(), "Punjab");
    QTest::keyClick(state, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), code);
    EXPECT_EQ(code->text(), "03");

    // A state the list does not know keeps the code left from the earlier one.
    state->setFocus();
    state->lineEdit()->selectAll();
    QTest::keyClicks(state, "Ladakh");
    EXPECT_EQ(state->currentText(), "Ladakh");
    code->setFocus();
    EXPECT_EQ(code->text(), "03");

    // The states the old code table spelled otherwise get their codes too.
    for (const auto &[typed, listed, expected] :
         {std::tuple{"tamil", "Tamil Nadu", "33"}, std::tuple{"Karnatak", "Karnataka", "29"},
          std::tuple{"Sikki", "Sikkim", "11"}, std::tuple{"Odi", "Odisha", "21"}}) {
        state->setFocus();
        state->lineEdit()->selectAll();
        QTest::keyClicks(state, typed);
        EXPECT_EQ(state->currentText(), listed);
        code->setFocus();
        EXPECT_EQ(code->text(), expected) << listed;
    }

    // Deleting the whole text completes the empty text to the first entry.
    state->setFocus();
    state->lineEdit()->selectAll();
    QTest::keyClick(state, Qt::Key_Delete);
    EXPECT_EQ(state->currentText(), "Jammu & Kashmir");
    EXPECT_EQ(state->lineEdit()->selectedText(), "Jammu & Kashmir");
    EXPECT_EQ(state->count(), 280); // the list grows by 40 at every focus

    // Another application taking the activation and giving it back is no new focus.
    QWidget other;
    other.show();
    EXPECT_TRUE(activate(&other));
    EXPECT_TRUE(activate(area));
    EXPECT_EQ(QApplication::focusWidget(), state);
    EXPECT_EQ(state->count(), 280);

    // Every entry of the list has its code.
    for (const QString &listed : CompanyCreation::stateList())
        EXPECT_EQ(CompanyCreation::stateCode(listed).size(), 2) << listed.toStdString();
    EXPECT_EQ(CompanyCreation::stateCode("Andhra Pradesh"), "37");
    EXPECT_EQ(CompanyCreation::stateCode("Karnatka"), "29");
    EXPECT_EQ(CompanyCreation::stateCode("Karnataka"), "29");
    EXPECT_EQ(CompanyCreation::stateCode("Jammu & Kashmir"), "01");
    EXPECT_EQ(CompanyCreation::stateCode("punjab"), "");
    EXPECT_EQ(CompanyCreation::stateList().size(), 40);
}

TEST_F(frmCreateCompanyTest, TheStateBoxShowsTheLongestStateWhole)
{
    auto *window = open();
    auto *state = control<QComboBox>(window, "txtState");
    state->setEditText("Andaman & Nicobar Islands");
    // The text fits the box's edit field.
    EXPECT_GE(state->lineEdit()->width(),
              state->fontMetrics().horizontalAdvance("Andaman & Nicobar Islands"));
    // It does not cover its neighbours.
    EXPECT_LE(control(window, "txtCity")->geometry().right(), state->geometry().left());
    EXPECT_LE(state->geometry().right(), control(window, "txtstatecode")->geometry().left());
}

TEST_F(frmCreateCompanyTest, FieldRulesWhileTyping)
{
    auto *window = open();
    auto *name = control(window, "txtCompanyName");
    const auto enterName = [&](const QString &typed) {
        name->setFocus();
        name->setText(typed);
        QTest::keyClick(name, Qt::Key_Return);
        return name->text();
    };
    EXPECT_EQ(enterName("green valley school"), "Green Valley School");
    EXPECT_EQ(enterName("DAV PUBLIC SCHOOL"), "DAV PUBLIC SCHOOL");
    EXPECT_EQ(enterName("DAV public school"), "Dav Public School");
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "txtaddress");

    auto *gst = control(window, "txtGSTNo");
    gst->setFocus();
    gst->setText("03ABCDE1234F1Z5");
    control(window, "txtpanno")->setFocus();
    EXPECT_EQ(control(window, "txtpanno")->text(), "ABCDE1234F");
    gst->setFocus();
    gst->clear();
    control(window, "txtcstno")->setFocus();
    EXPECT_EQ(control(window, "txtpanno")->text(), "");

    auto *mobile = control(window, "txtMobile");
    mobile->setFocus();
    QTest::keyClicks(mobile, "98a7b6-5x43210999");
    EXPECT_EQ(mobile->text(), "9876543210");
    // Pasting digits works whichever way; a paste that is not digits only is refused whole.
    // Ctrl+V comes with a control character, as the X11 platform sends it.
    const auto pasteKey = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, QChar character) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(character));
        QApplication::sendEvent(mobile, &event);
    };
    mobile->clear();
    QGuiApplication::clipboard()->setText("98abc");
    pasteKey(Qt::Key_V, Qt::ControlModifier, QChar(22));
    EXPECT_EQ(mobile->text(), "");
    mobile->paste(); // the context menu's Paste
    EXPECT_EQ(mobile->text(), "");
    QGuiApplication::clipboard()->setText("98765");
    pasteKey(Qt::Key_V, Qt::ControlModifier, QChar(22));
    EXPECT_EQ(mobile->text(), "98765");
    pasteKey(Qt::Key_Insert, Qt::ShiftModifier, QChar());
    EXPECT_EQ(mobile->text(), "9876598765");
    pasteKey(Qt::Key_Insert, Qt::ShiftModifier, QChar()); // an eleventh digit does not fit
    EXPECT_EQ(mobile->text(), "9876598765");
    // The editing keys are the box's own: undo, select all.
    pasteKey(Qt::Key_Z, Qt::ControlModifier, QChar(26));
    EXPECT_EQ(mobile->text(), "98765");
    pasteKey(Qt::Key_A, Qt::ControlModifier, QChar(1));
    EXPECT_EQ(mobile->selectedText(), "98765");
    mobile->clear();
    QGuiApplication::clipboard()->clear();
    // Delete and Tab carry a control character too, as the X11 platform sends them, but type
    // nothing and pass.
    const auto press = [&](Qt::Key key, QChar character) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(character));
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    };
    QTest::keyClicks(mobile, "987");
    QTest::keyClick(mobile, Qt::Key_Home);
    press(Qt::Key_Delete, QChar(0x7F));
    EXPECT_EQ(mobile->text(), "87");
    QTest::keyClick(mobile, Qt::Key_End);
    press(Qt::Key_Backspace, QChar(8));
    EXPECT_EQ(mobile->text(), "8");
    press(Qt::Key_Backspace, QChar(8));
    press(Qt::Key_Tab, QChar('\t')); // from an empty box, where a tab is no number
    EXPECT_EQ(QApplication::focusWidget(), control(window, "txtEmail"));

    auto *password = control(window, "txtPassword");
    EXPECT_EQ(password->displayText(), frmCreateCompany::DefaultPassword);
    password->setFocus();
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(password->displayText(), "*");

    auto *start = control<DateBox>(window, "DTPicker1");
    auto *end = control<DateBox>(window, "DTPicker2");
    // The year ends the day before the same date a year later, leap years or not.
    for (const auto &[from, to] : {std::pair{QDate(2026, 4, 1), QDate(2027, 3, 31)},
                                   std::pair{QDate(2024, 4, 1), QDate(2025, 3, 31)},
                                   std::pair{QDate(2023, 4, 1), QDate(2024, 3, 31)},
                                   std::pair{QDate(2024, 1, 15), QDate(2025, 1, 14)}}) {
        start->setDate(from);
        start->setFocus();
        QTest::keyClick(start, Qt::Key_Return);
        EXPECT_EQ(end->date(), to) << from.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(QApplication::focusWidget(), end);
    }

    using CompanyCreation::proposedYear;
    EXPECT_EQ(proposedYear(QDate(2024, 4, 1)).start, QDate(2024, 4, 1));
    EXPECT_EQ(proposedYear(QDate(2024, 12, 31)).end, QDate(2025, 3, 31));
    EXPECT_EQ(proposedYear(QDate(2025, 1, 1)).start, QDate(2024, 4, 1));
    EXPECT_EQ(proposedYear(QDate(2025, 3, 31)).end, QDate(2025, 3, 31));
    EXPECT_EQ(proposedYear(QDate(2026, 4, 1)).end, QDate(2027, 3, 31));
}

TEST_F(frmCreateCompanyTest, EnterWalksTheChainToTheSaveButton)
{
    auto *window = open();
    const QStringList chain = {
        "txtCompanyName", "txtaddress",  "txtaddress2", "txtCity",    "txtState",   "txtstatecode",
        "txtPhone",       "txtMobile",   "txtEmail",    "txtwebsite", "txtvatno",   "txtGSTNo",
        "txtpanno",       "txtcstno",    "txtdlno1",    "txtdlno2",   "txtdealsin", "DTPicker1",
        "DTPicker2",      "txtUserName", "txtPassword", "cmdsave"};
    QStringList visited;
    for (int i = 0; i < chain.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        while (focus && focus->parentWidget() != window)
            focus = focus->parentWidget();
        visited << (focus ? focus->objectName() : QString());
        if (i + 1 < chain.size())
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    EXPECT_EQ(visited, chain);
}

TEST_F(frmCreateCompanyTest, WaysOutLeadBackToThePickerExceptThePicture)
{
    auto *window = open();
    control(window, "txtCity")->setFocus();
    QTest::keyClick(control(window, "txtCity"), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(isOpen("frmCreateCompany"));
    EXPECT_TRUE(isOpen(frmCreateCompany::PickerName));
    EXPECT_EQ(pickerShows, 1);
    WindowRegistry::close(frmCreateCompany::PickerName);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    window = open();
    emit control<StyledButton>(window, "cmdClose")->Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(isOpen("frmCreateCompany"));
    EXPECT_EQ(pickerShows, 2);
    WindowRegistry::close(frmCreateCompany::PickerName);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    window = open();
    QTest::mouseClick(control<QLabel>(window, "Image1"), Qt::RightButton); // no click
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(isOpen("frmCreateCompany"));
    QTest::mouseClick(control<QLabel>(window, "Image1"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(isOpen("frmCreateCompany"));
    EXPECT_FALSE(isOpen(frmCreateCompany::PickerName));
    EXPECT_EQ(pickerShows, 2);
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

// The year's dates are typed like every date; Enter in the start proposes the end from the typed
// start, and a start that does not exist is said and proposes nothing.
TEST_F(frmCreateCompanyTest, TypedYearDatesProposeTheEndFromTheTypedStart)
{
    auto *window = open();
    auto *start = control<DateBox>(window, "DTPicker1");
    auto *end = control<DateBox>(window, "DTPicker2");
    start->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(start, "01-04-27");
    QTest::keyClick(start, Qt::Key_Return);
    EXPECT_EQ(start->date(), QDate(2027, 4, 1));
    EXPECT_EQ(end->date(), QDate(2028, 3, 31));
    EXPECT_EQ(QApplication::focusWidget(), end);

    start->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(start, "31-02-2027");
    dialogs->expectOk();
    QTest::keyClick(start, Qt::Key_Return);
    EXPECT_EQ(dialogs->texts(),
              QStringList{"The date in Financial Year Starting Date, 31-02-2027, is not a date.\r"
                          "Type the day, the month and the year, as 15-06-2027."});
    EXPECT_EQ(QApplication::focusWidget(), start);
    EXPECT_EQ(end->date(), QDate(2028, 3, 31));
    EXPECT_EQ(start->date(), QDate(2027, 4, 1));
}

} // namespace
