#include "ui/SharedProcedures.h"

#include "core/Dialogs.h"

#include <QLineEdit>

void SelectAllText(QLineEdit *box)
{
    box->setSelection(0, int(box->text().size()));
}

QString BrowseForFolder(QWidget *, const QString &initialFolder, const QString &title)
{
    return Dialogs::service().browseFolder(title, initialFolder);
}
