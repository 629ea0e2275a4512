#include "MembersFixture.h"

#include "core/DateText.h"
#include "members/CardRecords.h"
#include "members/GroupRecords.h"
#include "members/frmGroup.h"

#include <QLineEdit>

namespace {

class MemberRecordsTest : public MembersFixture
{
};

TEST_F(MemberRecordsTest, TheGroupLookUpByNameIsWholeAndCaseBlind)
{
    addGroup("Senior");
    addGroup("Élèves");
    addGroup("Jun%");
    addGroup("it's");
    EXPECT_EQ(GroupRecords::findByName(db(), "SENIOR")->id, 1);
    EXPECT_EQ(GroupRecords::findByName(db(), "éLÈVES")->id, 2);
    EXPECT_EQ(GroupRecords::findByName(db(), "it's")->id, 4);
    EXPECT_FALSE(GroupRecords::findByName(db(), "Sen"));
    EXPECT_FALSE(GroupRecords::findByName(db(), "Senior "));
    EXPECT_FALSE(GroupRecords::findByName(db(), "Junior")); // a name is no pattern
    EXPECT_FALSE(GroupRecords::findByName(db(), ""));
    EXPECT_EQ(GroupRecords::names(db()), QStringList({"it's", "Jun%", "Senior", "Élèves"}));
}

TEST_F(MemberRecordsTest, AReplacedCardOrGroupSurvivesAFailingWrite)
{
    addGroup("Senior");
    addCard(1, 101, "Asha Rani", 1, "2026-03-31");
    Card card = *CardRecords::find(db(), 1);
    EXPECT_EQ(card.validUpto, QDate(2026, 3, 31));
    card.name = "Changed";
    failWrite(2);
    EXPECT_THROW(CardRecords::save(db(), card, CardRecords::Write::Replace), AppError);
    const auto kept = CardRecords::find(db(), 1);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->name, "Asha Rani");

    Group group = *GroupRecords::find(db(), 1);
    group.maxBooks = 9;
    failWrite(2);
    EXPECT_THROW(GroupRecords::save(db(), group, GroupRecords::Write::Replace), AppError);
    const auto keptGroup = GroupRecords::find(db(), 1);
    ASSERT_TRUE(keptGroup);
    EXPECT_EQ(keptGroup->maxBooks, 2);
    Database::clearFailureHook();

    // A card without a group and without a date reads back so.
    card = Card{};
    card.id = CardRecords::nextId(db());
    card.cardNo = CardRecords::proposedCardNo(db());
    card.name = "Bhavna";
    CardRecords::save(db(), card, CardRecords::Write::Add);
    const auto stored = CardRecords::find(db(), 2);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->cardNo, 102);
    EXPECT_FALSE(stored->groupId);
    EXPECT_FALSE(stored->validUpto.isValid());
    EXPECT_TRUE(db().scalar("SELECT GroupName FROM Card WHERE CardID = 2").isNull());
}

TEST_F(MemberRecordsTest, ListDatesShowShortAndRangesIncludeBothEnds)
{
    EXPECT_EQ(CardRecords::shortDate("2026-12-09"), "09-Dec-26");
    EXPECT_EQ(CardRecords::shortDate("2030-01-31"), "31-Jan-30");
    EXPECT_EQ(CardRecords::shortDate("05-Mar-24"), "05-Mar-24"); // a date written the old way
    EXPECT_EQ(CardRecords::shortDate(""), "");

    addCard(1, 2, "Two", QVariant(), "2026-12-31");
    addCard(2, 2, "Two again", QVariant(), "2027-01-01");
    addCard(3, 1, "One", QVariant(), "2026-12-01");
    const auto rows = CardRecords::listRows(db(), CardRecords::ValidityRange{QDate(2026, 12, 1),
                                                                             QDate(2026, 12, 31)});
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.text(0, CardRecords::NameColumn), "One");
    EXPECT_EQ(rows.text(1, CardRecords::NameColumn), "Two");
    // Equal card numbers keep the order of their keys.
    const auto all = CardRecords::listRows(db());
    EXPECT_EQ(all.text(1, CardRecords::NameColumn), "Two");
    EXPECT_EQ(all.text(2, CardRecords::NameColumn), "Two again");
}

TEST_F(MemberRecordsTest, TheCardListReadsTheClockOnceForDatesWrittenTheOldWay)
{
    for (int id = 1; id <= 40; ++id)
        addCard(id, id, QString("Card %1").arg(id), QVariant(), id % 2 ? "05-Mar-24" : "2024-03-05");
    addCard(41, 41, "Far", QVariant(), "31-Dec-09");
    int reads = 0;
    DateText::setClockForTest([&reads] {
        ++reads;
        return QDate(2090, 1, 1);
    });
    const auto rows = CardRecords::listRows(db());
    DateText::setClockForTest({});
    EXPECT_EQ(reads, 1);
    ASSERT_EQ(rows.size(), 41);
    EXPECT_EQ(rows.text(0, CardRecords::ValidColumn), "05-Mar-24");
    EXPECT_EQ(rows.text(1, CardRecords::ValidColumn), "05-Mar-24");
    // In 2090 the year 09 is 2109, still written with two digits.
    EXPECT_EQ(rows.text(40, CardRecords::ValidColumn), "31-Dec-09");
}

} // namespace
