// Output meter: listens to what the mixer sends to the sound device (music
// and effects together), so tests and tools can tell sound from silence.
#pragma once

// Starts listening from now on (clears what was heard before).
void Plat_MeterStart();
// Stops listening; the figures keep their last values.
void Plat_MeterStop();
// Sample frames heard since the start.
long Plat_MeterFrames();
// Root-mean-square level of what was heard: 0 silence .. 1 full scale.
double Plat_MeterRms();
