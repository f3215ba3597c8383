#pragma once
// Small helpers shared by the layout engine's tests.
#include "layout/RecordingSurface.h"

#include <QStringList>

using namespace Qt::StringLiterals;

// A recording surface with the font the caller would have set.
inline RecordingSurface recorder(const QString &font, double size)
{
    RecordingSurface r;
    r.setFontName(font);
    r.setFontSize(size);
    return r;
}

// The texts printed, in order.
inline QStringList textsOf(const RecordingSurface &r)
{
    QStringList out;
    for (const auto &op : r.texts())
        out << op.text;
    return out;
}

// Lines written as "first|second"; an empty string is no lines at all.
inline QStringList bars(const QString &s)
{
    return s.isEmpty() ? QStringList() : s.split(u'|');
}
