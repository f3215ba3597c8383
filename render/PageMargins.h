#pragma once

// Page origins and table size in whole twips.
struct PageMargins {
    int T = 1134;   // top of the table, both pages (20 mm)
    int L = 850;    // left edge, page one (15 mm)
    int B = 510;    // left edge, page two (9 mm)
    int W = 8165;   // table width (144 mm)
    int H = 11624;  // table height (205 mm)
};
