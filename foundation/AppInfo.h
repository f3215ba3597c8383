#pragma once
#include "foundation/Version.h"
#include <QString>

namespace AppInfo {
// Title of message boxes that carry "the application's title".
inline QString title() { return QStringLiteral("干部任免审批表"); }
// Caption of the entry window.
inline QString entryCaption() { return QStringLiteral("任免审批表录入(" APPOINTFORM_VERSION ")"); }
// The program's version, as in the entry window's caption.
inline QString version() { return QStringLiteral(APPOINTFORM_VERSION); }
// Name of the executable, in usage and version texts.
inline QString executableName() { return QStringLiteral("appointform"); }
// Program name shown in the save dialog's first filter entry.
inline QString programName() { return QStringLiteral("干部任免审批表"); }
}
