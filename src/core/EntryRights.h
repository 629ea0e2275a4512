#pragma once

#include <QString>
#include <optional>

class Database;

// What a position may do in one entry window, as the positions window stores it in UserProfile.
struct EntryRights
{
    bool add = false;
    bool modify = false;
    bool remove = false;
    bool print = false;

    // The rights of that position for that entry ("Book", "Card", "Book Issue", "Book Receipt"),
    // or nothing when the position has no row for it (so "SUPER USER" is never restricted). The
    // position is matched whole, ignoring letter case in every alphabet, never as a pattern; a
    // right is granted only by the exact text "Y". A failing query is an AppError for the caller.
    static std::optional<EntryRights> read(Database &db, const QString &entry,
                                           const QString &position);
};
