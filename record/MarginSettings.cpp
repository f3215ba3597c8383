#include "record/MarginSettings.h"
#include "foundation/Settings.h"
#include "foundation/Twips.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace {

using Settings::Key;

// The stored text as whole twips, or `fallback` when it is not a number
// that fits; a number outside [minimum, maximum] is added to `refused`.
int storedTwips(Key key, int fallback, int minimum, int maximum, QStringList *refused)
{
    const QString text = Settings::text(key, QString::number(fallback)).trimmed();
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > std::numeric_limits<int>::max() / 2 || roundHalfEven(v) < minimum
        || roundHalfEven(v) > maximum) {
        if (ok)
            *refused << QLatin1String(Settings::entry(key).name) + QLatin1Char('=') + text.left(20);
        return fallback;
    }
    return roundHalfEven(v);
}

} // namespace

namespace MarginSettings {

PageMargins load(QString *problem)
{
    PageMargins m;   // defaults, width and height included
    if (const QString odd = Settings::irregularFile(Key::TopMargin); !odd.isEmpty()) {
        if (problem)
            *problem = QStringLiteral("设置文件“%1”不是普通文件，没有读取，页边距使用默认值。").arg(odd);
        return m;
    }
    QStringList refused;
    m.top = storedTwips(Key::TopMargin, m.top, kMinTop, kMaxMargin, &refused);
    m.pageOneLeft = storedTwips(Key::PageOneLeftMargin, m.pageOneLeft, kMinLeft, kMaxMargin, &refused);
    m.pageTwoLeft = storedTwips(Key::PageTwoLeftMargin, m.pageTwoLeft, kMinLeft, kMaxMargin, &refused);
    if (problem && !refused.isEmpty())
        *problem = QStringLiteral("设置中的页边距超出了可用的范围（%1），已改用默认值。").arg(refused.join(QStringLiteral("，")));
    return m;
}

Result<> store(const PageMargins &margins)
{
    if (const QString odd = Settings::irregularFile(Key::TopMargin); !odd.isEmpty())
        return Failure{FailureKind::FileSystem, QStringLiteral("页边距设置未能保存：设置文件“%1”不是普通文件。").arg(odd)};
    const Result<> written = Settings::write({{Key::TopMargin, QString::number(margins.top)},
                                              {Key::PageOneLeftMargin, QString::number(margins.pageOneLeft)},
                                              {Key::PageTwoLeftMargin, QString::number(margins.pageTwoLeft)},
                                              {Key::TableWidth, QString::number(margins.tableWidth)},
                                              {Key::TableHeight, QString::number(margins.tableHeight)}});
    if (!written)
        return Failure{FailureKind::FileSystem, QStringLiteral("页边距设置未能保存，下次启动时将使用原来的页边距。")};
    return {};
}

} // namespace MarginSettings
