#include "members/MembersWindows.h"

#include "members/frmGroup.h"
#include "members/frmLibraryCard.h"
#include "ui/RecordLoader.h"
#include "ui/WindowRegistry.h"

void registerMembersWindows()
{
    // The placeholder photo lives in this static library's resources.
    Q_INIT_RESOURCE(members);
    WindowRegistry::registerWindow(QStringLiteral("frmGroup"), [] { return new frmGroup; },
                                   WindowRegistry::Placement::Centred);
    WindowRegistry::registerWindow(QStringLiteral("frmLibraryCard"),
                                   [] { return new frmLibraryCard; });
}

void LoadGroupForUpdate(qint64 groupId)
{
    RecordLoader::load<frmGroup, qint64>(QStringLiteral("frmGroup"), &frmGroup::loadRecord,
                                         groupId);
}

void LoadCardForUpdate()
{
    RecordLoader::load<frmLibraryCard>(QStringLiteral("frmLibraryCard"),
                                       &frmLibraryCard::loadRecord);
}
