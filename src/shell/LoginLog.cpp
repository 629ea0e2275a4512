#include "shell/LoginLog.h"

#include "core/Database.h"
#include "core/DateText.h"

namespace LoginLog {

int nextLoginNo(Database &db)
{
    return db.scalar(QStringLiteral("SELECT Max(LoginNo) FROM [Login]")).toInt() + 1;
}

void writeLogin(Database &db, int loginNo, double userId, const QDateTime &when)
{
    db.execute(QStringLiteral("INSERT INTO [Login] (LoginNo, UserID, LoginTime) VALUES (?, ?, ?)"),
               {loginNo, userId, DateText::toIso(when)});
}

QString lastLoginText(Database &db)
{
    Recordset login = db.query(QStringLiteral("SELECT * FROM [Login] ORDER BY LoginNo DESC"));
    if (login.eof())
        return QString();
    Recordset user = db.query(QStringLiteral("SELECT * FROM Users WHERE UserID = ?"),
                              {login.field(QStringLiteral("UserID"))});
    if (user.eof())
        return QString();
    const QString when =
        DateText::toGeneral(DateText::parseDateTime(login.text(QStringLiteral("LoginTime"))));
    return QStringLiteral("Last Login Dt : ") + when + QLatin1Char('\n') +
           QStringLiteral(" User : ") + user.text(QStringLiteral("UserName")) +
           QStringLiteral(" Position : ") + user.text(QStringLiteral("UserPosition"));
}

} // namespace LoginLog
