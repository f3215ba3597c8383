// Arbitrary bytes as a document of any kind: reading must never crash, hang
// or run away with memory, and whatever loads must save and load again.
// A "@" or "#" typed into an education or family cell is split on the first
// reload (the composite items have no escape), so the saved bytes must be
// stable from the second save on.
#include "foundation/Clock.h"
#include "fuzz/FuzzKinds.h"
#include "record/DocumentReader.h"
#include "record/DocumentWriter.h"
#include "record/RendererHandoff.h"

#include <QBuffer>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool readBytes(const QByteArray &bytes, DocumentKind kind, AppointmentRecord &record)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return readDocument(buffer, kind, record).ok();
}

// A document's bytes; every record the reader accepts can be written.
QByteArray savedBytes(const RendererVars &vars, const QString &compactPartyText)
{
    const Result<QByteArray> bytes = dwzDocumentBytes(vars, compactPartyText);
    if (!bytes) {
        std::fprintf(stderr, "a record cannot be written: %s\n", qPrintable(bytes.error()));
        std::abort();
    }
    return bytes.value();
}

// Loads a saved document and saves it again.
QByteArray resave(const QByteArray &saved)
{
    AppointmentRecord record;
    if (!readBytes(saved, DocumentKind::Dwz, record)) {
        std::fprintf(stderr, "a saved document does not load: %s\n", saved.toHex(' ').constData());
        std::abort();
    }
    RendererVars vars;
    if (!fillRendererVars(record, vars)) {
        std::fprintf(stderr, "a loaded document cannot be handed on\n");
        std::abort();
    }
    return savedBytes(vars, record.compactPartyText);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const bool pinned = [] {
        Clock::setToday(QDate(2024, 5, 6));
        return true;
    }();
    (void)pinned;

    const DocumentKind kind = fuzzKindOf(data[0]);
    const QByteArray input(reinterpret_cast<const char *>(data + 1), int(size - 1));
    AppointmentRecord record;
    if (!readBytes(input, kind, record))
        return 0;

    RendererVars vars;
    if (!fillRendererVars(record, vars))
        return 0;
    const QByteArray second = resave(savedBytes(vars, record.compactPartyText));
    const QByteArray third = resave(second);
    if (third != second) {
        std::fprintf(stderr, "second: %s\nthird:  %s\n", second.toHex(' ').constData(),
                     third.toHex(' ').constData());
        std::abort();
    }
    return 0;
}
