#pragma once
#include "app/Interaction.h"
#include "model/AppointmentRecord.h"
#include "model/RendererVars.h"

// Loading and saving whole documents as the entry window's commands do.
// Loading is all or nothing: on any failure the message is shown through
// `ui` and the record (fields, photo values, isDirty) stays as it was.
// A damaged companion photo is not a failure: the text loads, the photo
// values stay as they were, and a message says so.
bool loadDocumentFile(const QString &path, AppointmentRecord &record, Interaction &ui);
// Writes the hand-off values as a ".dwz" document at `path` and handles the
// companion photo. The file with the companion name is replaced or deleted
// only when `companionIsOwn`: it belongs to the document being replaced, or
// the user agreed to replace it. Otherwise a photo attached is refused before
// anything is written when that name is taken, and without a photo the file
// is left alone. Document and photo are both written out before either
// replaces an old file. Clears isDirty and returns true only when all of it
// succeeded; otherwise shows a message with the reason in plain Chinese and
// returns false. `written` tells whether the document itself was replaced,
// even when the photo then failed.
bool saveDocumentFile(const QString &path, const RendererVars &vars, AppointmentRecord &record,
                      Interaction &ui, bool companionIsOwn, bool *written = nullptr);
