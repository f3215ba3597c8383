#pragma once

// Page origins and table size in whole twips.
struct PageMargins {
    int top = 1134;           // top of the table, both pages (20 mm)
    int pageOneLeft = 850;    // left edge, page one (15 mm)
    int pageTwoLeft = 510;    // left edge, page two (9 mm)
    int tableWidth = 8165;    // 144 mm
    int tableHeight = 11624;  // 205 mm
};

// The B5 sheet both pages are drawn on: 176 x 250 mm, 9979.2 x 14175 twips.
constexpr double kPaperWidthMm = 176.0;
constexpr double kPaperHeightMm = 250.0;
constexpr double kPaperWidthTwips = 9979.2;
constexpr double kPaperHeightTwips = 14175;
