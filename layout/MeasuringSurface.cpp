#include "layout/MeasuringSurface.h"
#include "layout/Twips.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

namespace {

struct FaceChoice {
    const char16_t *formName;
    const char16_t *preferred;
    const char16_t *fallback;
    const char *package;
};

const FaceChoice kFaces[] = {
    {u"宋体", u"SimSun", u"AR PL SungtiL GB", "fonts-arphic-gbsn00lp"},
    {u"楷体", u"KaiTi", u"AR PL KaitiM GB", "fonts-arphic-gkai00mp"},
};

constexpr char32_t kReplacement = 0xFFFD;
constexpr int kPageBits = 8;
constexpr int kPageSize = 1 << kPageBits;
constexpr int kPageCount = (0x10FFFF >> kPageBits) + 1;

// One typeface at one size: the font, its line metrics and the advances
// measured so far, in pages of 256 code points filled on demand.
struct FontEntry {
    QString name;
    int pixels = 0;
    bool bold = false;
    QFont font;
    std::unique_ptr<QFontMetricsF> metrics;
    double ascent = 0;
    double descent = 0;
    std::vector<std::unique_ptr<std::array<double, kPageSize>>> pages;

    double advance(char32_t cp)
    {
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            cp = kReplacement;
        else if (cp < 0x20 || cp == 0x7F)
            cp = ' ';   // control characters are drawn as spaces (no tab stops)
        auto &page = pages[cp >> kPageBits];
        if (!page) {
            page = std::make_unique<std::array<double, kPageSize>>();
            page->fill(std::numeric_limits<double>::quiet_NaN());
        }
        double &slot = (*page)[cp & (kPageSize - 1)];
        if (std::isnan(slot))
            slot = metrics->horizontalAdvance(QString::fromUcs4(&cp, 1));
        return slot;
    }
};

int pixelsFor(double points)
{
    const int px = roundHalfEven(points * 20.0);
    return px < 1 ? 1 : px;
}

double scaleFor(int mode)
{
    switch (mode) {
    case 2: return 1.0 / 20.0;            // points
    case 3: return 1.0 / 15.0;            // pixels at 96 dpi
    case 5: return 1.0 / kTwipsPerInch;   // inches
    case 6: return 1.0 / kTwipsPerMm;     // millimetres
    case 7: return 1.0 / (kTwipsPerMm * 10.0);
    default: return 1.0;                  // twips
    }
}

// Walks the code points of a text; a lone surrogate counts as one character.
template<typename F>
void forEachCodePoint(const QString &text, F f)
{
    const QChar *p = text.constData();
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        char32_t cp = p[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < n && p[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(p[i], p[i + 1]);
            ++i;
        }
        f(cp);
    }
}

} // namespace

struct MeasuringSurface::Impl {
    std::vector<std::unique_ptr<FontEntry>> entries;
    FontEntry *current = nullptr;
    double scale = 1.0;

    FontEntry *entry(const QString &name, double points, bool bold)
    {
        const int px = pixelsFor(points);
        if (current && current->pixels == px && current->bold == bold && current->name == name)
            return current;
        for (auto &e : entries)
            if (e->pixels == px && e->bold == bold && e->name == name)
                return e.get();
        auto e = std::make_unique<FontEntry>();
        e->name = name;
        e->pixels = px;
        e->bold = bold;
        e->font = QFont(resolveFontFamily(name));
        e->font.setPixelSize(px);
        e->font.setBold(bold);
        e->font.setHintingPreference(QFont::PreferNoHinting);
        e->font.setKerning(false);
        e->metrics = std::make_unique<QFontMetricsF>(e->font);
        e->ascent = e->metrics->ascent();
        e->descent = e->metrics->descent();
        e->pages.resize(kPageCount);
        entries.push_back(std::move(e));
        return entries.back().get();
    }
};

MeasuringSurface &MeasuringSurface::instance()
{
    // Never destroyed: it holds fonts, which must not outlive the
    // application object that a static destructor would run after.
    static MeasuringSurface *surface = new MeasuringSurface;
    return *surface;
}

MeasuringSurface::MeasuringSurface() : d(new Impl)
{
    // The hidden picture's design-time typeface.
    picPrameterSetup(QStringLiteral("宋体"), 12, false, 1);
}

MeasuringSurface::~MeasuringSurface()
{
    delete d;
}

void MeasuringSurface::picPrameterSetup(const QString &lFont, double lFontSize, bool lBold, int lscalemode)
{
    const double size = static_cast<float>(lFontSize);
    d->current = d->entry(lFont, size, lBold);
    d->scale = scaleFor(lscalemode);
}

double MeasuringSurface::getWidth(const QString &lStr)
{
    double w = 0;
    FontEntry *e = d->current;
    forEachCodePoint(lStr, [&](char32_t cp) { w += e->advance(cp); });
    return w * d->scale;
}

double MeasuringSurface::getHeight(const QString &)
{
    return (d->current->ascent + d->current->descent) * d->scale;
}

double MeasuringSurface::lineHeight(const QString &font, double size)
{
    FontEntry *e = d->entry(font, size, false);
    return e->ascent + e->descent;
}

double MeasuringSurface::ascent(const QString &font, double size, bool bold)
{
    return d->entry(font, size, bold)->ascent;
}

QFont MeasuringSurface::twipFont(const QString &font, double size, bool bold)
{
    return d->entry(font, size, bold)->font;
}

double MeasuringSurface::advance(char32_t codePoint)
{
    return d->current->advance(codePoint);
}

int MeasuringSurface::advances(const QString &text, QVector<double> &out)
{
    out.resize(0);
    out.reserve(text.size());
    FontEntry *e = d->current;
    forEachCodePoint(text, [&](char32_t cp) { out.append(e->advance(cp)); });
    return out.size();
}

double MeasuringSurface::scale() const
{
    return d->scale;
}

QString resolveFontFamilyIn(const QString &formFontName, const QStringList &installedFamilies,
                            QString *warning)
{
    if (warning)
        warning->clear();
    for (const FaceChoice &face : kFaces) {
        if (formFontName != QString::fromUtf16(face.formName))
            continue;
        const QString preferred = QString::fromUtf16(face.preferred);
        const QString fallback = QString::fromUtf16(face.fallback);
        if (installedFamilies.contains(preferred, Qt::CaseInsensitive))
            return preferred;
        if (!installedFamilies.contains(fallback, Qt::CaseInsensitive) && warning) {
            *warning = QStringLiteral("appointform: 未找到“%1”所用的字体（%2 或 %3），"
                                      "预览和打印将用替代字体，文字可能超出格子。"
                                      "请安装 Debian 软件包 %4：sudo apt install %4")
                           .arg(formFontName, preferred, fallback, QLatin1String(face.package));
        }
        return fallback;
    }
    return formFontName;
}

QString resolveFontFamily(const QString &formFontName)
{
    static QHash<QString, QString> resolved;
    const auto it = resolved.constFind(formFontName);
    if (it != resolved.constEnd())
        return it.value();
    QString warning;
    const QString family = resolveFontFamilyIn(formFontName, QFontDatabase::families(), &warning);
    if (!warning.isEmpty())
        std::fprintf(stderr, "%s\n", warning.toUtf8().constData());
    resolved.insert(formFontName, family);
    return family;
}
