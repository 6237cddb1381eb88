// Stage 5's script in two halves: the way into the fortress (stage5.cpp)
// and, from step 25 on, the fifth boss, the fortress's fall and the last
// boss (stage5_end.cpp).
#pragma once

// Steps 25 to 33 (one step per call).
void Stage5Finale();
