#include "record/MarginSettings.h"
#include "foundation/Twips.h"

#include <QSettings>
#include <cmath>
#include <limits>

namespace {

const char kSection[] = "RM";

QSettings *openUserStore()
{
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KQTS"),
                         QStringLiteral("KQTS"));
}

// The stored text as whole twips, or `fallback` when it is not a number
// that fits.
int storedTwips(QSettings &store, const char *key, int fallback)
{
    const QString text = store.value(QLatin1String(key), QString::number(fallback)).toString().trimmed();
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > std::numeric_limits<int>::max() / 2)
        return fallback;
    return roundHalfEven(v);
}

} // namespace

namespace MarginSettings {

PageMargins load(QSettings &store)
{
    PageMargins m;   // defaults, width and height included
    store.beginGroup(QLatin1String(kSection));
    m.top = storedTwips(store, "TBL_TOP_DIST", m.top);
    m.pageOneLeft = storedTwips(store, "TBL_LEFT_DIST", m.pageOneLeft);
    m.pageTwoLeft = storedTwips(store, "TBLBACK_LEFT_DIST", m.pageTwoLeft);
    store.endGroup();
    return m;
}

PageMargins load()
{
    QSettings *s = openUserStore();
    const PageMargins m = load(*s);
    delete s;
    return m;
}

Result<> store(const PageMargins &margins, QSettings &s)
{
    s.beginGroup(QLatin1String(kSection));
    s.setValue(QStringLiteral("TBL_TOP_DIST"), QString::number(margins.top));
    s.setValue(QStringLiteral("TBL_LEFT_DIST"), QString::number(margins.pageOneLeft));
    s.setValue(QStringLiteral("TBLBACK_LEFT_DIST"), QString::number(margins.pageTwoLeft));
    s.setValue(QStringLiteral("TBL_WIDTH"), QString::number(margins.tableWidth));
    s.setValue(QStringLiteral("TBL_HEIGHT"), QString::number(margins.tableHeight));
    s.endGroup();
    s.sync();
    if (s.status() != QSettings::NoError)
        return Failure{QStringLiteral("页边距设置未能保存，下次启动时将使用原来的页边距。")};
    return {};
}

Result<> store(const PageMargins &margins)
{
    QSettings *s = openUserStore();
    const Result<> stored = store(margins, *s);
    delete s;
    return stored;
}

} // namespace MarginSettings
