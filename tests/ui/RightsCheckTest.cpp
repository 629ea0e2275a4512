#include "ProgramTest.h"

#include "core/Module.h"
#include "ui/RecordLoader.h"
#include "ui/RightsCheck.h"

#include <QWidget>

namespace {

struct FakeButton
{
    bool visible = true;
    QString caption = QStringLiteral("&Save");
    void setVisible(bool on) { visible = on; }
    void setCaption(const QString &text) { caption = text; }
};

class RightsCheckTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        makeCompany(path("Data/Data 1"));
    }
    void grant(const QString &position, const QString &entry, const char *add, const char *modify,
               const char *remove, const char *print)
    {
        Module::CompanyDb->execute("INSERT INTO UserProfile (PositionID, \"Position\", Entry, "
                                   "\"Add\", Modify, \"Delete\", "
                                   "\"Print\") VALUES (1, ?, ?, ?, ?, ?, ?)",
                                   {position, entry, add, modify, remove, print});
    }
    FakeButton save, remove, print;
};

} // namespace

// Only the SUPER USER goes unrestricted without a row; any other position without one, renamed
// or deleted under its users, holds no right at all.
TEST_F(RightsCheckTest, WithoutARowOnlyTheSuperUserIsUnrestricted)
{
    grant("Librarian", "Card", "Y", "Y", "Y", "Y");
    Module::CurrentUserPosition = "SUPER USER";
    RightsCheck::applyAdd("Book", &save);
    RightsCheck::applyModify("Book", &save, &remove, &print);
    EXPECT_TRUE(save.visible && remove.visible && print.visible);
    EXPECT_EQ(save.caption, "&Save");

    for (const char *position : {"Librarian", "Clerk", "super user", ""}) {
        SCOPED_TRACE(position);
        save = {}, remove = {}, print = {};
        Module::CurrentUserPosition = position;
        RightsCheck::applyAdd("Book", &save);
        EXPECT_FALSE(save.visible);
        RightsCheck::applyModify("Book", &save, &remove, &print);
        EXPECT_FALSE(save.visible || remove.visible || print.visible);
        EXPECT_EQ(save.caption, "&Save");
    }
}

TEST_F(RightsCheckTest, RightsFollowTheRowOfTheEntryMatchedWholeIgnoringCase)
{
    grant("Librarian", "Book Issue", "Y", "N", "Y", "y");
    grant("Élève", "Book Issue", "N", "Y", "N", "Y");
    grant("Lib%", "Book Issue", "N", "N", "N", "N");
    grant("Lib", "Book Issue", "Y", "N", "N", "N");

    Module::CurrentUserPosition = "LIBRARIAN";
    RightsCheck::applyAdd("Book Issue", &save);
    EXPECT_TRUE(save.visible);
    RightsCheck::applyModify("Book Issue", &save, &remove, &print);
    EXPECT_FALSE(save.visible); // Modify "N" hides it, and it stays hidden
    EXPECT_TRUE(remove.visible);
    EXPECT_FALSE(print.visible); // a lower-case y grants nothing

    save = {}, remove = {}, print = {};
    Module::CurrentUserPosition = "ÉLÈVE";
    RightsCheck::applyAdd("Book Issue", &save);
    EXPECT_FALSE(save.visible);
    RightsCheck::applyModify("Book Issue", &save, &remove, &print);
    EXPECT_FALSE(save.visible); // Add "N" then Modify "Y": "&Update" but still hidden
    EXPECT_EQ(save.caption, "&Update");
    EXPECT_FALSE(remove.visible);
    EXPECT_TRUE(print.visible);

    // A position named like a pattern matches only itself.
    save = {};
    Module::CurrentUserPosition = "Lib";
    RightsCheck::applyAdd("Book Issue", &save);
    EXPECT_TRUE(save.visible);
}

namespace {
class LoadedWindow : public QWidget
{
    Q_OBJECT
public:
    double loadedKey = -1;
    void fill(double key)
    {
        if (key < 0)
            throw AppError(3021, "No current record.");
        loadedKey = key;
    }
};
} // namespace

TEST_F(RightsCheckTest, TheRecordLoaderOpensTheWindowThenFillsItAndReportsAFailure)
{
    WindowRegistry::registerWindow("frmLoaded", [] { return new LoadedWindow; });
    int loads = 0;
    const auto loader = [&loads] {
        ++loads;
        RecordLoader::load<LoadedWindow>("frmLoaded", &LoadedWindow::fill);
    };
    RecordLoader::open(12, loader);
    auto *window = WindowRegistry::find<LoadedWindow>("frmLoaded");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->loadedKey, 12);

    dialogs->expectOk();
    RecordLoader::open(-1, loader);
    EXPECT_EQ(dialogs->last().text, "Error 3021\r No current record.");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::None);
    EXPECT_EQ(window->loadedKey, 12);
    EXPECT_EQ(loads, 2);
}

#include "RightsCheckTest.moc"
