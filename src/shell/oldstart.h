// The start of a one-game file of simulation 1 (a memory image): checked
// before its first frame (see oldstart.cpp).
#pragma once

// With the image in place (its sprite marks not yet taken): the first part
// of it holding a value play cannot take safely, else null.
const char* OldStart_Unsafe();
// What in it a new game started from the title cannot hold, else null. The
// header says whether the testing aids were on.
const char* OldStart_NotANewGame(bool stageOption, bool invincible);
