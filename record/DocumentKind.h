#pragma once
#include <QString>

// The kinds of document the load command accepts, told apart by the last
// three characters of the path (case ignored).
enum class DocumentKind { Unknown, Dwz, Ren, Ljy, Jan };

DocumentKind documentKindOf(const QString &path);
// Brief documents (".ljy", ".jan") are imported rather than loaded.
inline bool isBriefKind(DocumentKind kind) { return kind == DocumentKind::Ljy || kind == DocumentKind::Jan; }
// Items a complete document of this kind holds, and the fewest it may hold
// (a ".dwz" written before the name of the person filling in existed has 31).
int documentItemCount(DocumentKind kind);
int documentMinimumItemCount(DocumentKind kind);

// The companion photo file: the path with its last four characters replaced
// by ".pic" (x.dwz -> x.pic).
QString companionPhotoPath(const QString &documentPath);

// Where a document chosen as `path` is saved: documents always end in
// ".dwz" (any case), so a name with another extension or none gets ".dwz"
// appended, and the companion can never be the document itself or another
// document's photo ("a.pic" -> "a.pic.dwz" beside "a.pic.pic").
QString documentSavePath(const QString &path);
