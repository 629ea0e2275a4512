#pragma once

#include "core/EntryRights.h"
#include "core/Module.h"

#include <QString>

// The entry windows' rights check: what the logged-in user's position may do shows or hides the
// save, delete and print buttons. The buttons' own handlers never test the rights again.
// Button is any control with setVisible and setCaption (the own command button). A failing query
// is an AppError for the caller's own error box.
namespace RightsCheck {

inline std::optional<EntryRights> currentRights(const QString &entry)
{
    return EntryRights::read(Module::open(Module::CompanyDb), entry, Module::CurrentUserPosition);
}

// GetUserPositionAdd, when the window opens: the Add right shows or hides the save button.
template <typename Button> void applyAdd(const QString &entry, Button *save)
{
    if (const auto rights = currentRights(entry))
        save->setVisible(rights->add);
}

// GetUserPositionModify, the loader's last step: Modify captions the save button "&Update" (a
// hidden one stays hidden) or hides it; Delete and, where the window has one, Print show or hide
// their buttons. Only "SUPER USER" without a row changes nothing.
template <typename Button>
void applyModify(const QString &entry, Button *save, Button *remove, Button *print = nullptr)
{
    const auto rights = currentRights(entry);
    if (!rights)
        return;
    if (rights->modify)
        save->setCaption(QStringLiteral("&Update"));
    else
        save->setVisible(false);
    remove->setVisible(rights->remove);
    if (print)
        print->setVisible(rights->print);
}

} // namespace RightsCheck
