// The practice page (F4 on the title): a stage already reached on a
// difficulty, started from its own beginning with the options' lives and
// power stock. The game is kept as a practice replay and nothing of it
// goes into the record; each stage's best practice is kept beside it
// (config/practice.h).
#pragma once

// Opening the page: the options' difficulty chosen, its furthest stage.
void PracticePage_Open();
void PracticePage_Draw();
// A key-down while the page is open. True when the page used it.
bool PracticePage_Key(int key);
