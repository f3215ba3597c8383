#include "record/PreviewSettings.h"

#include <QSettings>
#include <memory>

namespace {

const char kSection[] = "PREVIEW";

std::unique_ptr<QSettings> openUserStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KQTS"),
                                       QStringLiteral("KQTS"));
}

// A stored length in pixels, or 0 when it is not a plausible one.
int storedPixels(QSettings &store, const char *key)
{
    bool ok = false;
    const int v = store.value(QLatin1String(key)).toString().trimmed().toInt(&ok);
    return ok && v >= 100 && v <= 100000 ? v : 0;
}

} // namespace

PreviewSettings PreviewSettings::load(QSettings &store)
{
    PreviewSettings s;
    store.beginGroup(QLatin1String(kSection));
    const int width = storedPixels(store, "WINDOW_WIDTH");
    const int height = storedPixels(store, "WINDOW_HEIGHT");
    if (width > 0 && height > 0)
        s.size = QSize(width, height);
    s.maximized = store.value(QStringLiteral("WINDOW_MAXIMIZED")).toString().trimmed() == QLatin1String("1");
    s.zoom = store.value(QStringLiteral("ZOOM")).toString().trimmed();
    store.endGroup();
    return s;
}

PreviewSettings PreviewSettings::load()
{
    return load(*openUserStore());
}

Result<> PreviewSettings::store(QSettings &s) const
{
    s.beginGroup(QLatin1String(kSection));
    if (size.isValid()) {
        s.setValue(QStringLiteral("WINDOW_WIDTH"), QString::number(size.width()));
        s.setValue(QStringLiteral("WINDOW_HEIGHT"), QString::number(size.height()));
    }
    s.setValue(QStringLiteral("WINDOW_MAXIMIZED"), maximized ? QStringLiteral("1") : QStringLiteral("0"));
    s.setValue(QStringLiteral("ZOOM"), zoom);
    s.endGroup();
    s.sync();
    if (s.status() != QSettings::NoError)
        return Failure{FailureKind::FileSystem, QStringLiteral("预览窗口的大小未能保存。")};
    return {};
}

Result<> PreviewSettings::store() const
{
    return store(*openUserStore());
}
