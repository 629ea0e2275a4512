#include "controls/grid/view/VeziRado.h"

// The header and divider side of the mouse: pressed and hot headers, sorting by a header click,
// moving columns by swap or drag, resizing columns and rows by their dividers.

void VeziRado::headerPress() {}

void VeziRado::headerFeedback(int, float) {}

void VeziRado::headerButtonMove(float, float) {}

void VeziRado::dividerSearch(float, float) {}

bool VeziRado::headerRelease(int, int, int)
{
    return false;
}

void VeziRado::sortClick(int, int) {}

void VeziRado::dividerDoubleClick() {}
