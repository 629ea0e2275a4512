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

    // A position is given only while it exists, letter case apart; one a user holds may stay.
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
    EXPECT_FALSE(Admin::replaceUser(db(), {4, "bobby", "Retired", "y"}));
    EXPECT_EQ(db().scalar("SELECT UserName FROM Users WHERE UserID = 4").toString(), "bobby");

    EXPECT_TRUE(Admin::positionRefusal(""));
    EXPECT_TRUE(Admin::positionRefusal("super user"));
    EXPECT_FALSE(Admin::positionRefusal(" "));
    EXPECT_FALSE(Admin::positionRefusal("SUPER USERS"));
}

} // namespace
