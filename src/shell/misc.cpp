// The shell's window handle and mouse position.
#include "shell/shell.h"

PlatWindow* hwnd;
int MouseX, MouseY;
