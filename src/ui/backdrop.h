/* The full-screen backdrop behind the wizard: a blue gradient and two banners. */
#ifndef BACKDROP_H
#define BACKDROP_H

#include <windows.h>

/* Registers SetupMain, makes the topmost full-screen window and lets it paint once;
   1, or 0 when the window cannot be made. */
int CreateBackdrop(void);

/* The top edge of gradient band i (0 to 255) for a screen of that height. */
short BandEdge(int band, short screenHeight);

/* Pass in which the dissolve draws the pixel at (x mod 8, y mod 8). */
extern const unsigned char DissolveOrder[8][8];

#define MAGENTA RGB(255, 0, 255)

#endif
