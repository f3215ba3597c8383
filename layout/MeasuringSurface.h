#pragma once
#include <QString>

// The hidden surface on which text is measured, created on first use and
// kept until the end. Measurement agrees with what every DrawingSurface
// draws: the same unhinted outline metrics at the twip scale.
class MeasuringSurface {
public:
    static MeasuringSurface &instance();

    // Sets typeface ("宋体"/"楷体" or a family), size in points (single
    // precision), bold, and scale mode (1 = twips, the only one used).
    void picPrameterSetup(const QString &lFont, double lFontSize, bool lBold, int lscalemode);
    // Width of `lStr` in the current font, in twips (unrounded).
    double getWidth(const QString &lStr);
    // Height of one line of the current font, in twips (unrounded).
    double getHeight(const QString &lStr);

    // Height of one line of (font, size) without disturbing the current set-up.
    double lineHeight(const QString &font, double size);

private:
    MeasuringSurface();
    struct Impl;
    Impl *d;
};

// Resolves the form's typeface names to installed families:
// "宋体" -> SimSun, else "AR PL SungtiL GB"; "楷体" -> KaiTi, else "AR PL KaitiM GB".
QString resolveFontFamily(const QString &formFontName);
