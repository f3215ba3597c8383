#pragma once
#include "record/DocumentKind.h"

// The first input byte picks the document kind.
inline DocumentKind fuzzKindOf(unsigned char first)
{
    static const DocumentKind kinds[] = {DocumentKind::Dwz, DocumentKind::Ren, DocumentKind::Ljy,
                                         DocumentKind::Jan};
    return kinds[first % 4];
}

inline char fuzzKindByte(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Ren: return 1;
    case DocumentKind::Ljy: return 2;
    case DocumentKind::Jan: return 3;
    default: return 0;
    }
}
