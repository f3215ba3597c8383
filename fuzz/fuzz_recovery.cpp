// Arbitrary bytes as the record of a recovery copy: reading must never
// crash, hang or run away with memory, and a copy that reads must write the
// same record again (what a second crash would leave).
#include "record/RecoveryStore.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), int(size));
    const Result<RecoveryStore::Recovered> read = RecoveryStore::parseCopy(input);
    if (!read)
        return 0;
    const RecoveryStore::Recovered &first = read.value();
    const QByteArray written = RecoveryStore::copyBytes(first.record, first.documentPath);
    const Result<RecoveryStore::Recovered> again = RecoveryStore::parseCopy(written);
    if (!again || !again.value().record.sameFields(first.record)
        || again.value().documentPath != first.documentPath) {
        std::fprintf(stderr, "a copy read does not read back the same:\n%s\n", written.constData());
        std::abort();
    }
    return 0;
}
