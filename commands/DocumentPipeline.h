#pragma once
#include "foundation/Interaction.h"
#include "foundation/Result.h"
#include "pages/FormPages.h"
#include "record/DocumentFile.h"

#include <QString>

// A saved document on its way to the pages without the window, along the
// entry window's preview path: load, field checks, hand-off. Fills `pages`
// (renderer variables, photo).
// `ui` answers the brief import's question and shows what is no failure (a
// damaged photo); a failure says why, and its kind how the preview would
// show it. Safe to run for several documents
// at once on different threads, each with its own `pages`.
// `photoLoading` Skip leaves the photo out (loadDocumentFile).
Result<> prepareDocument(const QString &path, FormPages &pages, Interaction &ui,
                         PhotoLoading photoLoading = PhotoLoading::Load);
