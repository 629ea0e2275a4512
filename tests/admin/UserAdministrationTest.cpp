#include "ProgramTest.h"

#include "admin/UserAdministration.h"
#include "core/Database.h"
#include "core/Module.h"

namespace Admin = UserAdministration;

namespace {

class UserAdministrationTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        makeCompany(path("Data/Data 1"));
    }
    Database &db() { return *Module::CompanyDb; }
    int count(const char *table)
    {
        return db().scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
    }
    static std::array<EntryRights, Admin::EntryCount> allGranted()
    {
        std::array<EntryRights, Admin::EntryCount> rights;
        rights.fill({true, true, true, true});
        return rights;
    }
};

TEST_F(UserAdministrationTest, KeysFollowTheHighestAndAFailedWriteLeavesNothing)
{
    EXPECT_EQ(Admin::nextPositionId(db()), 1);
    EXPECT_EQ(Admin::nextUserId(db()), 1);
    db().execute(
        "INSERT INTO Users (UserID, UserName, UserPosition) VALUES (2, 'a', 'SUPER USER')");
    Admin::User teacher{0, "b", "SUPER USER", "x"};
    EXPECT_FALSE(Admin::addUser(db(), teacher));
    EXPECT_EQ(teacher.id, 3);

    // The fifth rights row fails: neither the position nor any of its rows stay.
    Database::setFailureHook({.failOnWrite = 6, .failOnTable = {}});
    EXPECT_THROW(Admin::addPosition(db(), "Clerk", allGranted()), AppError);
    Database::clearFailureHook();
    EXPECT_EQ(count("\"Position\""), 0);
    EXPECT_EQ(count("UserProfile"), 0);

    const int id = Admin::addPosition(db(), "Clerk", allGranted());
    Database::setFailureHook({.failOnWrite = 0, .failOnTable = "Position"});
    EXPECT_THROW(Admin::deletePosition(db(), id), AppError);
    Database::clearFailureHook();
    EXPECT_EQ(count("UserProfile"), 5);

    Database::setFailureHook({.failOnWrite = 0, .failOnTable = "Users"});
    Admin::User clerk{0, "c", "Clerk", "x"};
    EXPECT_THROW(Admin::addUser(db(), clerk), AppError);
    Database::clearFailureHook();
    EXPECT_EQ(count("Users"), 2);
}

TEST_F(UserAdministrationTest, OnlyTheLastExactSuperUserIsGuarded)
{
    db().execute("INSERT INTO Users (UserID, UserName, UserPosition) VALUES (2, 'admin', "
                 "'SUPER USER'), (3, 'ann', 'Super User'), (4, 'bob', 'Clerk')");
    EXPECT_TRUE(Admin::superUserRefusal(db(), 2, std::nullopt));
    EXPECT_TRUE(Admin::superUserRefusal(db(), 2, QString("Super User")));
    EXPECT_FALSE(Admin::superUserRefusal(db(), 2, QString("SUPER USER")));
    EXPECT_FALSE(Admin::superUserRefusal(db(), 3, std::nullopt));
    EXPECT_FALSE(Admin::superUserRefusal(db(), 4, QString("Clerk")));
    EXPECT_FALSE(Admin::superUserRefusal(db(), 99, std::nullopt));

    // The writes themselves keep the guard.
    EXPECT_TRUE(Admin::replaceUser(db(), {2, "admin", "Clerk", "x"}));
    EXPECT_TRUE(Admin::deleteUser(db(), 2));
    EXPECT_EQ(db().scalar("SELECT UserPosition FROM Users WHERE UserID = 2").toString(),
              "SUPER USER");

    db().execute("UPDATE Users SET UserPosition = 'SUPER USER' WHERE UserID = 4");
    EXPECT_FALSE(Admin::superUserRefusal(db(), 2, std::nullopt));
    EXPECT_FALSE(Admin::deleteUser(db(), 2));
    EXPECT_EQ(count("Users"), 2);

    // A position is given only while it exists, letter case apart, the one a user holds too.
    Admin::addPosition(db(), "Clérk", allGranted());
    EXPECT_FALSE(Admin::missingPositionRefusal(db(), "CLÉRK"));
    EXPECT_FALSE(Admin::missingPositionRefusal(db(), "SUPER USER"));
    EXPECT_TRUE(Admin::missingPositionRefusal(db(), "Super User"));
    EXPECT_TRUE(Admin::missingPositionRefusal(db(), ""));
    Admin::User gone{0, "eve", "Retired", "x"};
    EXPECT_TRUE(Admin::addUser(db(), gone));
    EXPECT_EQ(count("Users"), 2);
    EXPECT_TRUE(Admin::replaceUser(db(), {3, "ann", "Retired", "x"}));
    db().execute("UPDATE Users SET UserPosition = 'Retired' WHERE UserID = 4");
    EXPECT_TRUE(Admin::replaceUser(db(), {4, "bobby", "Retired", "y"}));
    EXPECT_EQ(db().scalar("SELECT UserName FROM Users WHERE UserID = 4").toString(), "bob");
    EXPECT_FALSE(Admin::replaceUser(db(), {4, "bobby", "clérk", "y"}));
    EXPECT_EQ(db().scalar("SELECT UserName FROM Users WHERE UserID = 4").toString(), "bobby");

    EXPECT_TRUE(Admin::positionRefusal(""));
    EXPECT_TRUE(Admin::positionRefusal("super user"));
    EXPECT_FALSE(Admin::positionRefusal(" "));
    EXPECT_FALSE(Admin::positionRefusal("SUPER USERS"));
}

// Users hold a position by name: one they hold keeps its name, letter case apart, and their rights
// with it; a rename that slipped past (another copy of the program) leaves them no right.
TEST_F(UserAdministrationTest, APositionHeldByUsersKeepsItsName)
{
    auto rights = allGranted();
    const int clerk = Admin::addPosition(db(), "Clerk", rights);
    const int temp = Admin::addPosition(db(), "Temp", rights);
    db().execute("INSERT INTO Users (UserID, UserName, UserPosition) VALUES (2, 't1', 'temp'), "
                 "(3, 't2', 'Temp')");

    EXPECT_EQ(Admin::replacePosition(db(), temp, "Temp2", rights),
              "This Position is held by 2 users and Can't be Renamed");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM UserProfile WHERE \"Position\" = 'Temp'").toInt(),
              5);
    EXPECT_EQ(db().scalar("SELECT PositionName FROM \"Position\" WHERE PositionID = ?", {temp}),
              "Temp");

    rights[0] = {false, false, false, false};
    EXPECT_FALSE(Admin::replacePosition(db(), temp, "TEMP", rights));
    EXPECT_EQ(db().scalar("SELECT \"Add\" FROM UserProfile WHERE \"Position\" = 'TEMP' AND "
                          "Entry = 'Book'"),
              "N");
    EXPECT_FALSE(EntryRights::read(db(), "Book", "temp")->add);
    EXPECT_TRUE(EntryRights::read(db(), "Card", "temp")->add);

    EXPECT_FALSE(Admin::replacePosition(db(), clerk, "Desk Clerk", rights));
    EXPECT_EQ(
        db().scalar("SELECT COUNT(*) FROM UserProfile WHERE \"Position\" = 'Desk Clerk'").toInt(),
        5);

    db().execute("UPDATE UserProfile SET \"Position\" = 'Temp2' WHERE PositionID = ?", {temp});
    const auto none = EntryRights::read(db(), "Card", "Temp");
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->add || none->modify || none->remove || none->print);
    EXPECT_FALSE(EntryRights::read(db(), "Card", "SUPER USER"));
}

} // namespace
