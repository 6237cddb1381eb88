#include "shell/shell.h"
int QS_WinMain(int, char**) { return 0; }
