// The records page: what "score.dat" keeps beyond the HUD's two lines,
// shown read-only over a darkened title picture.
#pragma once

// Paints the whole page into the back buffer.
void RecordsPage_Draw();
// A key-down while the page is open (virtual-key code). True when the page
// used it; the page only shows, so it uses none.
bool RecordsPage_Key(int key);

// The date and time of a record's time stamp as its player saw it (the
// stamp's own time zone and daylight flag), "YYYY-MM-DD HH:MM"; an empty
// text for a stamp that was never taken.
struct DATTIME;
void RecordsPage_FormatStamp(const DATTIME& t, char* out, int size);
