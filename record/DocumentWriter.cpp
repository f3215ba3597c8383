#include "record/DocumentWriter.h"
#include "foundation/TextUtilities.h"
#include "record/DocumentItems.h"
#include "record/DocumentKind.h"
#include "record/FieldSchema.h"

QStringList dwzDocumentItems(const RendererVars &v, const QString &compactPartyText)
{
    QStringList items(documentItemCount(DocumentKind::Dwz));   // items no field fills (the wage items) stay empty
    for (const RecordField &f : recordFields()) {
        if (f.dwzItem == 0)
            continue;
        QString &item = items[f.dwzItem - 1];
        if (f.has(RecordField::PartyText))
            item = compactPartyText;
        else if (f.has(RecordField::StoredWithoutDots))
            item = removeChar(v.*(f.handOff), QStringLiteral("."));
        else
            item = v.*(f.handOff);
    }
    return items;
}

Result<QByteArray> dwzDocumentBytes(const RendererVars &vars, const QString &compactPartyText)
{
    return encodeDocumentItems(dwzDocumentItems(vars, compactPartyText));
}
