#include "record/PreviewSettings.h"
#include "foundation/Settings.h"

#include <utility>
#include <vector>

namespace {

using Settings::Key;

// A stored length in pixels, or 0 when it is not a plausible one.
int storedPixels(Key key)
{
    bool ok = false;
    const int v = Settings::text(key).trimmed().toInt(&ok);
    return ok && v >= 100 && v <= 100000 ? v : 0;
}

} // namespace

PreviewSettings PreviewSettings::load()
{
    PreviewSettings s;
    const int width = storedPixels(Key::PreviewWidth);
    const int height = storedPixels(Key::PreviewHeight);
    if (width > 0 && height > 0)
        s.size = QSize(width, height);
    s.maximized = Settings::text(Key::PreviewMaximized).trimmed() == QLatin1String("1");
    s.zoom = Settings::text(Key::PreviewZoom).trimmed();
    return s;
}

Result<> PreviewSettings::store() const
{
    std::vector<std::pair<Key, QVariant>> values;
    if (size.isValid()) {
        values.emplace_back(Key::PreviewWidth, QString::number(size.width()));
        values.emplace_back(Key::PreviewHeight, QString::number(size.height()));
    }
    values.emplace_back(Key::PreviewMaximized, maximized ? QStringLiteral("1") : QStringLiteral("0"));
    values.emplace_back(Key::PreviewZoom, zoom);
    if (!Settings::write(values))
        return Failure{FailureKind::FileSystem, QStringLiteral("预览窗口的大小未能保存。")};
    return {};
}
