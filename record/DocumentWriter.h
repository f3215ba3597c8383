#pragma once
#include "foundation/Result.h"
#include "record/AppointmentRecord.h"
#include "record/RendererVars.h"
#include <QByteArray>
#include <QString>
#include <QStringList>

// The hand-off values as a ".dwz" document: 32 items, every one with its
// straight double quotes curled, birthday and work time without ".".
QStringList dwzDocumentItems(const RendererVars &vars, const QString &compactPartyText);
// Those items as the document's bytes, ready for writeFileSafely.
Result<QByteArray> dwzDocumentBytes(const RendererVars &vars, const QString &compactPartyText);
