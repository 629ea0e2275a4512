#include "controls/grid/view/VeziRado.h"

void VeziRado::ColWidthAutoSize(int) {}
