#pragma once

#include <QString>
#include <optional>

class Database;

// What a position may do in one entry window, as the positions window stores it in UserProfile.
struct EntryRights
{
    // The position that holds every right while no rights rows carry its name.
    static constexpr const char *SuperUser = "SUPER USER";

    bool add = false;
    bool modify = false;
    bool remove = false;
    bool print = false;

    // The rights of that position for that entry ("Book", "Card", "Book Issue", "Book Receipt")
    // as its row holds them. Without a row, "SUPER USER" reads as nothing (never restricted) and
    // any other position as no right at all: a position renamed or deleted under its users leaves
    // them nothing, not everything. The position is matched whole, ignoring letter case in every
    // alphabet, never as a pattern; a right is granted only by the exact text "Y". A failing query
    // is an AppError for the caller.
    static std::optional<EntryRights> read(Database &db, const QString &entry,
                                           const QString &position);
};
