// The window's icon.
#pragma once

// Gives the open window the picture in the PNG file `path`. False when
// there is no window or the file cannot be read (the window keeps the
// desktop's default icon).
bool Plat_SetWindowIcon(const char* path);
