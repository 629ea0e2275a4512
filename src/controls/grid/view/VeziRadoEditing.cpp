#include "controls/grid/view/VeziRado.h"

#include <QLineEdit>

// No editor opens yet: every commit succeeds and nothing is ever pending.

bool VeziRado::UpdateCell(bool)
{
    return true;
}

void VeziRado::ForceCellEdit(int, int, bool) {}

void VeziRado::BindControl(int, QWidget *, int) {}

bool VeziRado::CanEdit() const
{
    return p_.AllowEdit && Rows() > 0;
}

bool VeziRado::EditToggle(bool)
{
    return CanEdit();
}

void VeziRado::StartCellEdit(int, int) {}

void VeziRado::CancelEdit()
{
    txtEdit->hide();
    editPending_ = false;
}

void VeziRado::PositionEditor() {}

void VeziRado::EditKeyFilter(int &) {}

bool VeziRado::inputFilterAccepts(const QString &filter, int keyAscii)
{
    if (filter.isEmpty() || filter == u"<" || filter == u">")
        return true;
    if (keyAscii == 8 || keyAscii == 46)
        return true;
    return filter.contains(QChar(char16_t(keyAscii)));
}
