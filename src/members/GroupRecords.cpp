#include "members/GroupRecords.h"

#include "core/Database.h"

namespace GroupRecords {

namespace {

Group fromRow(const Recordset &rs)
{
    Group group;
    group.id = rs.field(QStringLiteral("GroupID")).toLongLong();
    group.name = rs.text(QStringLiteral("GroupName"));
    group.finePerDay = rs.number(QStringLiteral("FinePerDay"));
    group.maxBooks = rs.number(QStringLiteral("MaxBooks"));
    group.maxDays = rs.number(QStringLiteral("MaxDays"));
    group.remarks = rs.text(QStringLiteral("Remarks"));
    return group;
}

} // namespace

qint64 nextId(Database &db)
{
    return db.scalar(QStringLiteral("SELECT Max(GroupID) FROM Group1")).toLongLong() + 1;
}

qint64 save(Database &db, const Group &group, Write write)
{
    Transaction transaction(db);
    const qint64 id = write == Write::Add ? nextId(db) : group.id;
    if (write == Write::Replace)
        db.execute(QStringLiteral("DELETE FROM Group1 WHERE GroupID = ?"), {id});
    db.execute(QStringLiteral("INSERT INTO Group1 (GroupID, GroupName, FinePerDay, MaxBooks, "
                              "MaxDays, Remarks) VALUES (?, ?, ?, ?, ?, ?)"),
               {id, group.name, group.finePerDay, group.maxBooks, group.maxDays, group.remarks});
    transaction.commit();
    return id;
}

bool inUse(Database &db, qint64 id)
{
    return !db.scalar(QStringLiteral("SELECT 1 FROM Card WHERE GroupID = ? LIMIT 1"), {id})
                .isNull();
}

bool remove(Database &db, qint64 id)
{
    Transaction transaction(db);
    if (inUse(db, id))
        return false;
    db.execute(QStringLiteral("DELETE FROM Group1 WHERE GroupID = ?"), {id});
    transaction.commit();
    return true;
}

std::optional<Group> find(Database &db, qint64 id)
{
    Recordset rs = db.query(QStringLiteral("SELECT * FROM Group1 WHERE GroupID = ?"), {id});
    if (rs.eof())
        return std::nullopt;
    return fromRow(rs);
}

std::optional<Group> findByName(Database &db, const QString &name)
{
    // A library keeps a handful of groups: comparing here is case-blind beyond A-Z, which the
    // column's collation is not.
    Recordset rs = db.query(QStringLiteral("SELECT * FROM Group1 ORDER BY GroupID"));
    for (; !rs.eof(); rs.moveNext())
        if (rs.text(QStringLiteral("GroupName")).compare(name, Qt::CaseInsensitive) == 0)
            return fromRow(rs);
    return std::nullopt;
}

Recordset list(Database &db)
{
    return db.query(QStringLiteral("SELECT * FROM Group1 ORDER BY GroupName, GroupID"));
}

QStringList names(Database &db)
{
    QStringList result;
    for (Recordset rs = list(db); !rs.eof(); rs.moveNext())
        result << rs.text(QStringLiteral("GroupName"));
    return result;
}

} // namespace GroupRecords
