#include "commands/DocumentPipeline.h"
#include "record/AppointmentRecord.h"
#include "record/DocumentFile.h"
#include "record/FieldChecks.h"
#include "record/RendererHandoff.h"

Result<> prepareDocument(const QString &path, FormPages &pages, Interaction &ui, PhotoLoading photoLoading)
{
    AppointmentRecord record;
    if (Result<> loaded = loadDocumentFile(path, record, ui, photoLoading); !loaded)
        return loaded;
    if (Result<> checked = checkAllFields(record); !checked)
        return checked;
    if (Result<> handedOff = fillRendererVars(record, pages); !handedOff)
        return handedOff;
    pages.takePhoto(record);
    return {};
}
