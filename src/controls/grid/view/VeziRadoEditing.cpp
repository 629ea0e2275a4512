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
