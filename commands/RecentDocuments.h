#pragma once
#include <QString>
#include <QStringList>

// The documents opened or saved last, newest first, kept in the per-user
// settings beside the program's other settings so that every editor of
// this user sees the same list.
namespace RecentDocuments {

constexpr int kMaxCount = 10;

QStringList paths();
// Puts `path` first; the same file named again is moved, not repeated.
void add(const QString &path);
void remove(const QString &path);

} // namespace RecentDocuments
