#pragma once
#include "foundation/Interaction.h"
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The hidden surface on which text is measured. Measurement agrees with
// what every DrawingSurface draws: the same unhinted outline metrics at the
// twip scale.
//
// Each DrawingSurface owns one, so the current font belongs to that drawing
// and nothing one drawing leaves behind reaches another. The fonts and the
// advances measured with them are cached per thread and shared by every
// MeasuringSurface of that thread: an object is used on the thread that
// created it.
class MeasuringSurface {
public:
    // Starts at the hidden picture's design-time typeface, "宋体" 12, in twips.
    MeasuringSurface();

    // Sets typeface ("宋体"/"楷体" or a family), size in points (single
    // precision) and boldness of what is measured next.
    void setUpFont(const QString &fontName, double fontSize, bool bold = false);
    // Width of `text` in the current font, in twips (unrounded).
    double textWidth(const QString &text);
    // Height of one line of the current font, in twips (unrounded).
    double textHeight(const QString &text);

    // Height of one line of (font, size) without disturbing the current set-up.
    double lineHeight(const QString &font, double size);

    // Distance from the top of a line to its baseline, in twips.
    double ascent(const QString &font, double size, bool bold = false);
    // The font every surface draws and measures with: the resolved family at
    // pixel size = points x 20 (1 px = 1 twip), unhinted, no kerning. Sizes
    // are resolved to 1/20 point.
    QFont twipFont(const QString &font, double size, bool bold = false);

    // Advance of one character (code point) in the current set-up, in twips.
    // Widths are the left-to-right sum of these, so a growing line can be
    // measured incrementally with exactly the same result as textWidth.
    double advance(char32_t codePoint);
    // The advances of every character of `text` in the current set-up, in
    // twips. Returns the character count.
    int advances(const QString &text, QVector<double> &out);

    struct FontEntry;
    struct FontCache;

private:
    FontCache *m_cache;
    FontEntry *m_current = nullptr;
};

// Whether a family is installed, by any of its names: the font database
// lists a family under the name of the user's language ("文鼎ＰＬ简报宋"
// under a Chinese locale), while the form asks for it by its English name.
using FontLookup = std::function<bool(const QString &family)>;
// The font database's answer (QFontDatabase::hasFamily, which knows every name).
FontLookup installedFontLookup();

// Resolves the form's typeface names to installed families:
// "宋体" -> SimSun, else "AR PL SungtiL GB"; "楷体" -> KaiTi, else "AR PL KaitiM GB".
// Other names pass through unchanged. When neither face is installed the
// AR PL name is returned anyway (see missingFormFonts). Resolved once, then only read.
QString resolveFontFamily(const QString &formFontName);

// The same resolution with a given lookup; `warning` receives the line to
// show when neither face is installed (else empty).
QString resolveFontFamilyIn(const QString &formFontName, const FontLookup &isInstalled, QString *warning);

// One line for each of the form's typefaces that has neither face
// installed, naming the Debian package to install; empty when both are there.
QStringList missingFormFonts(const FontLookup &isInstalled = installedFontLookup());
// Tells the user in one message (title "系统警告") when a typeface is
// missing; true when it did.
bool tellMissingFormFonts(Interaction &ui, const FontLookup &isInstalled = installedFontLookup());
