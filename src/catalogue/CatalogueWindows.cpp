#include "catalogue/CatalogueWindows.h"

#include "catalogue/frmBook.h"
#include "catalogue/frmBookList.h"
#include "ui/RecordLoader.h"
#include "ui/WindowRegistry.h"

void registerCatalogueWindows()
{
    WindowRegistry::registerWindow(QStringLiteral("frmBook"), [] { return new frmBook; });
    WindowRegistry::registerWindow(QStringLiteral("frmBookList"), [] { return new frmBookList; });
}

void LoadBookForUpdate()
{
    RecordLoader::load<frmBook>(QStringLiteral("frmBook"), &frmBook::loadRecord);
}
