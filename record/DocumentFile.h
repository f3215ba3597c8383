#pragma once
#include "foundation/Interaction.h"
#include "foundation/Result.h"
#include "record/AppointmentRecord.h"
#include "record/RendererVars.h"

// Loading and saving whole documents as the entry window's commands do.
// Loading is all or nothing: a failure says why and the record (fields, photo values,
// isDirty) stays as it was. `ui` asks the brief import's question and shows
// what is no failure: a damaged companion photo leaves the photo values as
// they were while the text loads.
// With PhotoLoading::Skip the companion photo is not looked at and the
// photo values stay as they were: for lists of the text alone, where
// decoding thousands of photos would be most of the work.
enum class PhotoLoading { Load, Skip };
Result<> loadDocumentFile(const QString &path, AppointmentRecord &record, Interaction &ui,
                          PhotoLoading photoLoading = PhotoLoading::Load);
// Writes the hand-off values as a ".dwz" document at `path` and handles the
// companion photo. The file with the companion name is replaced or deleted
// only when `companionIsOwn`: it belongs to the document being replaced, or
// the user agreed to replace it. Otherwise the save is refused before
// anything is written when that name is taken, with or without a photo:
// another document's photo must neither go nor pair with this record.
// Document and photo are both written out before either replaces an old
// file; a kill at any moment leaves the document with its old photo, its new
// one or none. Clears isDirty and returns true only when all of it
// succeeded; otherwise the failure gives the reason in plain Chinese.
// `written` tells whether the document itself was replaced, even when the
// photo then failed. Read-only files are replaced only when `replaceReadOnly`.
Result<> saveDocumentFile(const QString &path, const RendererVars &vars, AppointmentRecord &record,
                          bool companionIsOwn, bool *written = nullptr, bool replaceReadOnly = false);
