#pragma once

#include <QDateTime>
#include <QString>

class Database;

// The log of successful logins in a company database's table Login: one row per login with a
// running number, the user and the time.
namespace LoginLog {

// The number the next login gets: the highest so far plus one, 1 in an empty log.
int nextLoginNo(Database &db);

// Adds the login row under loginNo; the caller runs it in the transaction in which it took the
// number, so two programs logging in at once cannot take the same one.
void writeLogin(Database &db, int loginNo, double userId, const QDateTime &when);

// "Last Login Dt : <time>" and, on a second line, " User : <name> Position : <position>" for the
// newest login; empty when there is none or its user no longer exists.
QString lastLoginText(Database &db);

} // namespace LoginLog
