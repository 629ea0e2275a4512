#include "shell/ShellWindows.h"

void registerShellWindows()
{
}
