// Enemy bullet, laser, flash and line spawners, and aiming.
#pragma once

// Heading in radians (0 .. 6.28) from (x1, y1) to (x2, y2). Every aimed
// shot uses it from the shooter's centre to the ship's centre.
float my_atan(float x1, float y1, float x2, float y2);
