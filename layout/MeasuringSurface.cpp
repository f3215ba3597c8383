#include "layout/MeasuringSurface.h"
#include "foundation/Twips.h"

#include <QFontDatabase>
#include <QCoreApplication>
#include <QFontMetricsF>

#include <array>
#include <cmath>
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

int pixelsFor(double points)
{
    const int px = roundHalfEven(points * 20.0);
    return px < 1 ? 1 : px;
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

// One typeface at one size: the font, its line metrics and the advances
// measured so far, in pages of 256 code points filled on demand.
struct MeasuringSurface::FontEntry {
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

// The fonts of one thread. Fonts and their metrics are not shared between
// threads, so every thread that measures or draws builds its own.
struct MeasuringSurface::FontCache {
    std::vector<std::unique_ptr<FontEntry>> entries;
    FontEntry *last = nullptr;

    FontEntry *entry(const QString &name, double points, bool bold)
    {
        const int px = pixelsFor(points);
        if (last && last->pixels == px && last->bold == bold && last->name == name)
            return last;
        for (auto &e : entries)
            if (e->pixels == px && e->bold == bold && e->name == name)
                return last = e.get();
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
        return last = entries.back().get();
    }

    static FontCache &forThisThread()
    {
        // Fonts must not outlive the application object. A worker thread ends
        // while it exists and frees its fonts; the main thread's end comes
        // after it is gone, so that cache is left to the process's exit.
        struct Holder {
            FontCache *cache = nullptr;
            ~Holder()
            {
                if (QCoreApplication::instance())
                    delete cache;
            }
        };
        thread_local Holder holder;
        if (!holder.cache)
            holder.cache = new FontCache;
        return *holder.cache;
    }
};

MeasuringSurface::MeasuringSurface() : m_cache(&FontCache::forThisThread())
{
    // The hidden picture's design-time typeface.
    setUpFont(QStringLiteral("宋体"), 12);
}

void MeasuringSurface::setUpFont(const QString &fontName, double fontSize, bool bold)
{
    const double size = static_cast<float>(fontSize);
    const int px = pixelsFor(size);
    if (!m_current || m_current->pixels != px || m_current->bold != bold || m_current->name != fontName)
        m_current = m_cache->entry(fontName, size, bold);
}

double MeasuringSurface::textWidth(const QString &text)
{
    double w = 0;
    FontEntry *e = m_current;
    forEachCodePoint(text, [&](char32_t cp) { w += e->advance(cp); });
    return w;
}

double MeasuringSurface::textHeight(const QString &)
{
    return m_current->ascent + m_current->descent;
}

double MeasuringSurface::lineHeight(const QString &font, double size)
{
    FontEntry *e = m_cache->entry(font, size, false);
    return e->ascent + e->descent;
}

double MeasuringSurface::ascent(const QString &font, double size, bool bold)
{
    return m_cache->entry(font, size, bold)->ascent;
}

QFont MeasuringSurface::twipFont(const QString &font, double size, bool bold)
{
    return m_cache->entry(font, size, bold)->font;
}

double MeasuringSurface::advance(char32_t codePoint)
{
    return m_current->advance(codePoint);
}

int MeasuringSurface::advances(const QString &text, QVector<double> &out)
{
    out.resize(0);
    out.reserve(text.size());
    FontEntry *e = m_current;
    forEachCodePoint(text, [&](char32_t cp) { out.append(e->advance(cp)); });
    return out.size();
}

FontLookup installedFontLookup()
{
    return [](const QString &family) { return QFontDatabase::hasFamily(family); };
}

QString resolveFontFamilyIn(const QString &formFontName, const FontLookup &isInstalled, QString *warning)
{
    if (warning)
        warning->clear();
    for (const FaceChoice &face : kFaces) {
        if (formFontName != QString::fromUtf16(face.formName))
            continue;
        const QString preferred = QString::fromUtf16(face.preferred);
        const QString fallback = QString::fromUtf16(face.fallback);
        if (isInstalled(preferred))
            return preferred;
        if (!isInstalled(fallback) && warning) {
            *warning = QStringLiteral("未找到“%1”所用的字体（%2 或 %3），"
                                      "预览和打印将用替代字体，文字可能超出格子。"
                                      "请安装 Debian 软件包 %4：sudo apt install %4")
                           .arg(formFontName, preferred, fallback, QLatin1String(face.package));
        }
        return fallback;
    }
    return formFontName;
}

QStringList missingFormFonts(const FontLookup &isInstalled)
{
    QStringList lines;
    for (const FaceChoice &face : kFaces) {
        QString warning;
        resolveFontFamilyIn(QString::fromUtf16(face.formName), isInstalled, &warning);
        if (!warning.isEmpty())
            lines << warning;
    }
    return lines;
}

bool tellMissingFormFonts(Interaction &ui, const FontLookup &isInstalled)
{
    const QStringList missing = missingFormFonts(isInstalled);
    if (missing.isEmpty())
        return false;
    ui.message(QStringLiteral("系统警告"), missing.join(QStringLiteral("\r\n\r\n")), MessageIcon::Exclamation);
    return true;
}

QString resolveFontFamily(const QString &formFontName)
{
    // Both faces are looked up once, on first use from any thread, and the
    // answer is only read afterwards. A missing face is told by the editor
    // and the command line (missingFormFonts), not here.
    struct Resolved {
        QString formNames[2];
        QString families[2];
        Resolved()
        {
            const FontLookup installed = installedFontLookup();
            for (int i = 0; i < 2; ++i) {
                formNames[i] = QString::fromUtf16(kFaces[i].formName);
                families[i] = resolveFontFamilyIn(formNames[i], installed, nullptr);
            }
        }
    };
    static const Resolved resolved;
    for (int i = 0; i < 2; ++i)
        if (formFontName == resolved.formNames[i])
            return resolved.families[i];
    return formFontName;
}
