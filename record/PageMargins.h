#pragma once

// Page origins and table size in whole twips.
struct PageMargins {
    int T = 1134;   // top of the table, both pages (20 mm)
    int L = 850;    // left edge, page one (15 mm)
    int B = 510;    // left edge, page two (9 mm)
    int W = 8165;   // table width (144 mm)
    int H = 11624;  // table height (205 mm)
};

// The B5 sheet both pages are drawn on: 176 x 250 mm, 9979.2 x 14175 twips.
constexpr double kPaperWidthMm = 176.0;
constexpr double kPaperHeightMm = 250.0;
constexpr double kPaperWidthTwips = 9979.2;
constexpr double kPaperHeightTwips = 14175;
