#pragma once
#include "foundation/Result.h"
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

// The item syntax shared by every document kind: each item between straight
// double quotes without escaping, items separated by commas, the record ended
// by CR LF; a quoted item may hold line breaks. Text is GB18030, which has
// the same bytes as code page 936 for every character that code page has;
// the euro sign, code page 936's single byte 0x80, is read and written as that byte.

// Documents are a few kilobytes; anything this large is not one.
constexpr qint64 kMaxDocumentBytes = 16 * 1024 * 1024;

// Reads up to `count` items; fewer than `minimum` is a failure, missing
// items between `minimum` and `count` are empty. Anything after the last
// item wanted is ignored. Failures say why in Chinese.
Result<QStringList> readDocumentItems(QIODevice &device, int count, int minimum);
Result<QStringList> parseDocumentItems(const QString &text, int count, int minimum);

// Documents are GB18030 (code page 936). Text another editor saved is read
// as what it is: a UTF-8 or UTF-16 byte-order mark says so, and text that is
// valid UTF-8 with non-ASCII characters but not valid GB18030 is UTF-8.
// Bytes valid in both are read the way that gives the larger share of
// common Chinese characters (GB18030 on a tie).
// Bytes valid in none of them are refused rather than read with
// replacement characters.
enum class DocumentEncoding { Gb18030, Utf8, Utf16 };
struct DocumentText {
    QString text;
    DocumentEncoding encoding = DocumentEncoding::Gb18030;
};
Result<DocumentText> decodeDocumentText(const QByteArray &bytes);
// Whether the bytes follow GB18030's byte grammar (one, two or four bytes a character).
bool isValidGb18030(const QByteArray &bytes);
Result<QByteArray> encodeDocumentText(const QString &text);
// One record of quoted items ended by CR LF, every straight double quote
// curled first so that no item can end early.
Result<QByteArray> encodeDocumentItems(const QStringList &items);
