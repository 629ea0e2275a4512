#pragma once

#include "core/Database.h"

#include <QString>

namespace LoginUsers {

// The Users rows positioned on the first one whose name equals the typed one, both in upper case,
// in every alphabet ("ÉLODIE" finds "élodie"), as the password is compared; at their end when no
// name does.
Recordset find(Database &db, const QString &typedName);

} // namespace LoginUsers
