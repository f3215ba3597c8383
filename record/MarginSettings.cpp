#include "record/MarginSettings.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Twips.h"

#include <QSettings>
#include <cmath>
#include <limits>

namespace {

const char kSection[] = "RM";
const QString kOrganization = QStringLiteral("KQTS");

QSettings *openUserStore()
{
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope, kOrganization, kOrganization);
}

// The stored text as whole twips, or `fallback` when it is not a number
// that fits; a number outside [minimum, maximum] is added to `refused`.
int storedTwips(QSettings &store, const char *key, int fallback, int minimum, int maximum, QStringList *refused)
{
    const QString text = store.value(QLatin1String(key), QString::number(fallback)).toString().trimmed();
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > std::numeric_limits<int>::max() / 2 || roundHalfEven(v) < minimum
        || roundHalfEven(v) > maximum) {
        if (ok)
            *refused << QStringLiteral("%1=%2").arg(QLatin1String(key), text.left(20));
        return fallback;
    }
    return roundHalfEven(v);
}

} // namespace

namespace MarginSettings {

PageMargins load(QSettings &store, QString *problem)
{
    PageMargins m;   // defaults, width and height included
    QStringList refused;
    store.beginGroup(QLatin1String(kSection));
    m.top = storedTwips(store, "TBL_TOP_DIST", m.top, kMinTop, kMaxMargin, &refused);
    m.pageOneLeft = storedTwips(store, "TBL_LEFT_DIST", m.pageOneLeft, kMinLeft, kMaxMargin, &refused);
    m.pageTwoLeft = storedTwips(store, "TBLBACK_LEFT_DIST", m.pageTwoLeft, kMinLeft, kMaxMargin, &refused);
    store.endGroup();
    if (problem && !refused.isEmpty())
        *problem = QStringLiteral("设置中的页边距超出了可用的范围（%1），已改用默认值。").arg(refused.join(QStringLiteral("，")));
    return m;
}

PageMargins load(QString *problem)
{
    if (const QString odd = irregularSettingsFile(kOrganization, kOrganization); !odd.isEmpty()) {
        if (problem)
            *problem = QStringLiteral("设置文件“%1”不是普通文件，没有读取，页边距使用默认值。").arg(odd);
        return PageMargins();
    }
    QSettings *s = openUserStore();
    const PageMargins m = load(*s, problem);
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
        return Failure{FailureKind::FileSystem, QStringLiteral("页边距设置未能保存，下次启动时将使用原来的页边距。")};
    return {};
}

Result<> store(const PageMargins &margins)
{
    if (const QString odd = irregularSettingsFile(kOrganization, kOrganization); !odd.isEmpty())
        return Failure{FailureKind::FileSystem, QStringLiteral("页边距设置未能保存：设置文件“%1”不是普通文件。").arg(odd)};
    QSettings *s = openUserStore();
    const Result<> stored = store(margins, *s);
    delete s;
    return stored;
}

} // namespace MarginSettings
