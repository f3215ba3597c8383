#pragma once
#include "app/Interaction.h"
#include "model/AppointmentRecord.h"
#include "model/RendererVars.h"

// Loading and saving whole documents as the entry window's commands do.
// Loading is all or nothing: on any failure the message is shown through
// `ui` and the record (fields, photo values, dirtyFlag) stays as it was.
// A damaged companion photo is not a failure: the text loads, the photo
// values stay as they were, and a message says so.
bool loadDocumentFile(const QString &path, AppointmentRecord &record, Interaction &ui);
// Writes the hand-off values as a ".dwz" document at `path` and handles the
// companion photo: copied beside the document when one is attached, an old
// companion file deleted when none is. Clears dirtyFlag and returns true only
// when all of it succeeded; otherwise shows a message and returns false (a
// failed document write leaves the previous file untouched). `written` tells
// whether the document itself was written, even when the photo then failed.
bool saveDocumentFile(const QString &path, const RendererVars &vars, AppointmentRecord &record,
                      Interaction &ui, bool *written = nullptr);
