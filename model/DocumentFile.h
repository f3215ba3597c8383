#pragma once
#include "app/Interaction.h"
#include "model/AppointmentRecord.h"
#include "model/RendererVars.h"

// Loading and saving whole documents as the entry window's commands do.
// Loading is all or nothing: on any failure the message is shown through
// `ui` and the record (fields, photo values, dirtyFlag) stays as it was.
bool loadDocumentFile(const QString &path, AppointmentRecord &record, Interaction &ui);
// Writes the hand-off values as a ".dwz" document at `path` and handles the
// companion photo. Returns false (after its message) when nothing was saved.
bool saveDocumentFile(const QString &path, const RendererVars &vars, AppointmentRecord &record,
                      Interaction &ui);
