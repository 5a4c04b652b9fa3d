// Where a digit's glyph stands in the small sheet. The large sheet keeps the same
// order, four times as wide, three columns in.
#include "zubo.h"

int DigitGlyphX(int n)
{
    switch (n % 10) {
    case 0: return 180;
    case 1: return 0;
    case 2: return 20;
    case 3: return 40;
    case 4: return 60;
    case 5: return 80;
    case 6: return 100;
    case 7: return 120;
    case 8: return 140;
    case 9: return 160;
    }
    return 0;
}

int TensGlyphX(int n)
{
    if (n >= 50) return 80;
    if (n >= 40) return 60;
    if (n >= 30) return 40;
    if (n >= 20) return 20;
    if (n >= 10) return 0;
    if (n >= 0) return 180;
    return 0;
}
