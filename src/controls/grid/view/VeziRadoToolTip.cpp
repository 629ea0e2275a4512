#include "controls/grid/view/VeziRado.h"

#include <QLabel>

void VeziRado::CellToolTipHover(int, int) {}

void VeziRado::HideCellToolTip(bool)
{
    picToolTip->hide();
}
