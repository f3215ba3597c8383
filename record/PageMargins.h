#pragma once

// Page origins and table size in whole twips.
struct PageMargins {
    int top = 1134;           // top of the table, both pages (20 mm)
    int pageOneLeft = 850;    // left edge, page one (15 mm)
    int pageTwoLeft = 510;    // left edge, page two (9 mm)
    int tableWidth = 8165;    // 144 mm
    int tableHeight = 11624;  // 205 mm
};

// The B5 sheet both pages are drawn on: the B5 that printers and their trays
// know (JIS B5, paper-size code 13), 182 x 257 mm, 10319.4 x 14571.9 twips.
constexpr double kPaperWidthTwips = 10319.4;
constexpr double kPaperHeightTwips = 14571.9;
