#include "record/DocumentItems.h"
#include "foundation/TextUtilities.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

bool isDelimiter(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

bool isValidGb18030(const QByteArray &bytes)
{
    const auto *d = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const uchar b = d[i];
        if (b < 0x80) {
            ++i;
        } else if (b == 0x80) {
            ++i;   // the euro sign of code page 936
        } else if (b == 0xFF) {
            return false;
        } else if (i + 1 < n && ((d[i + 1] >= 0x40 && d[i + 1] <= 0x7E) || (d[i + 1] >= 0x80 && d[i + 1] <= 0xFE))) {
            i += 2;
        } else if (i + 3 < n && d[i + 1] >= 0x30 && d[i + 1] <= 0x39 && d[i + 2] >= 0x81 && d[i + 2] <= 0xFE
                   && d[i + 3] >= 0x30 && d[i + 3] <= 0x39) {
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

namespace {

bool decodeStrictly(QStringConverter::Encoding encoding, const QByteArray &bytes, QString *text)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    *text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool hasNonAscii(const QByteArray &bytes)
{
    for (char c : bytes)
        if (uchar(c) >= 0x80)
            return true;
    return false;
}

} // namespace

namespace {

Failure noCodec()
{
    return Failure{FailureKind::Other, QStringLiteral("系统缺少 GB18030 文字编码支持")};
}

constexpr QChar kEuro(0x20AC);

// GB18030 with code page 936's single byte 0x80 read as the euro sign: the
// codec alone would not take it. Bytes already checked by isValidGb18030.
bool decodeGb18030(const QByteArray &bytes, QString *text)
{
    QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return false;
    text->clear();
    const auto *d = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n;) {
        const uchar b = d[i];
        if (b == 0x80) {
            *text += decoder.decode(QByteArrayView(d + start, i - start));
            *text += kEuro;
            start = ++i;
        } else {
            i += b < 0x80 ? 1 : (d[i + 1] >= 0x30 && d[i + 1] <= 0x39 ? 4 : 2);
        }
    }
    *text += decoder.decode(QByteArrayView(d + start, n - start));
    return true;
}

// The share of the non-ASCII characters that are everyday Chinese: the
// first level of GB 2312 (3755 common hanzi) and its punctuation and
// full-width rows. Mojibake from the wrong encoding lands elsewhere.
double commonChineseShare(const QString &text)
{
    QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
    int nonAscii = 0, common = 0;
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            continue;
        ++nonAscii;
        const QByteArray b = encoder.encode(QStringView(&c, 1));
        if (b.size() != 2)
            continue;
        const uchar lead = uchar(b[0]), trail = uchar(b[1]);
        if (trail >= 0xA1 && trail <= 0xFE && ((lead >= 0xA1 && lead <= 0xA3) || (lead >= 0xB0 && lead <= 0xD7)))
            ++common;
        if (nonAscii >= 4096)   // enough to tell
            break;
    }
    return nonAscii == 0 ? 0 : double(common) / nonAscii;
}

} // namespace

Result<DocumentText> decodeDocumentText(const QByteArray &bytes)
{
    const Failure damaged{FailureKind::DamagedInput, QStringLiteral("文字编码已损坏（既不是 GB18030，也不是 UTF-8 或 UTF-16），无法读出文字")};
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        if (!decodeStrictly(QStringConverter::Utf8, bytes.mid(3), &text))
            return damaged;
        return DocumentText{text, DocumentEncoding::Utf8};
    }
    const bool littleEndian = bytes.startsWith("\xFF\xFE"), bigEndian = bytes.startsWith("\xFE\xFF");
    if (littleEndian || bigEndian) {
        if (bytes.size() % 2 != 0
            || !decodeStrictly(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE, bytes.mid(2),
                               &text))
            return damaged;
        return DocumentText{text, DocumentEncoding::Utf16};
    }
    const bool utf8 = hasNonAscii(bytes) && decodeStrictly(QStringConverter::Utf8, bytes, &text);
    if (isValidGb18030(bytes)) {
        QString gb;
        if (!decodeGb18030(bytes, &gb))
            return noCodec();
        // Short Chinese texts are often valid in both: the reading that
        // gives everyday Chinese is the one meant; a tie stays GB18030.
        if (utf8 && commonChineseShare(text) > commonChineseShare(gb))
            return DocumentText{text, DocumentEncoding::Utf8};
        return DocumentText{gb, DocumentEncoding::Gb18030};
    }
    if (utf8)
        return DocumentText{text, DocumentEncoding::Utf8};
    return damaged;
}

Result<QByteArray> encodeDocumentText(const QString &text)
{
    QStringEncoder encoder("GB18030");
    if (!encoder.isValid())
        return noCodec();
    // The euro sign is the single byte 0x80 in code page 936, which the
    // programs that read these documents know; the codec would write A2 E3.
    QByteArray out;
    const QList<QStringView> parts = QStringView(text).split(kEuro);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += char(0x80);
        out += QByteArray(encoder.encode(parts.at(i)));
    }
    return out;
}

Result<QByteArray> encodeDocumentItems(const QStringList &items)
{
    QString text;
    for (int i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += QLatin1Char('"') + curlQuotes(items.at(i)) + QLatin1Char('"');
    }
    text += QStringLiteral("\r\n");
    return encodeDocumentText(text);
}

Result<QStringList> readDocumentItems(QIODevice &device, int count, int minimum)
{
    if (!device.isReadable())
        return Failure{FailureKind::FileSystem, QStringLiteral("读取失败（文件不能读）")};
    const Failure tooLarge{FailureKind::DamagedInput, QStringLiteral("文件超过 %1 MB，不是任免审批表或简要情况表文件")
                               .arg(kMaxDocumentBytes / (1024 * 1024))};
    if (!device.isSequential() && device.size() - device.pos() > kMaxDocumentBytes)
        return tooLarge;
    QByteArray data;
    for (;;) {
        const qint64 room = kMaxDocumentBytes + 1 - data.size();
        const QByteArray chunk = device.read(qMin<qint64>(room, 1 << 16));
        if (chunk.isEmpty())
            break;
        data += chunk;
        if (data.size() > kMaxDocumentBytes)
            return tooLarge;
    }
    const Result<DocumentText> decoded = decodeDocumentText(data);
    if (!decoded)
        return decoded.failure();
    return parseDocumentItems(decoded.value().text, count, minimum);
}

Result<QStringList> parseDocumentItems(const QString &text, int count, int minimum)
{
    QStringList items;
    const int n = text.size();
    int pos = 0;
    while (items.size() < count) {
        while (pos < n && isBlank(text.at(pos)))
            ++pos;
        if (pos >= n)
            break;
        QString item;
        if (text.at(pos) == QLatin1Char('"')) {
            const int close = text.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0) {
                return Failure{FailureKind::DamagedInput,
                    QStringLiteral("第 %1 项缺少结尾的双引号，文件已损坏").arg(items.size() + 1)};
            }
            item = text.mid(pos + 1, close - pos - 1);
            pos = close + 1;
            // Anything between the closing quote and the delimiter is noise.
            while (pos < n && !isDelimiter(text.at(pos)))
                ++pos;
        } else {
            // A bare item, such as the whole number of a brief document.
            const int start = pos;
            while (pos < n && !isDelimiter(text.at(pos)))
                ++pos;
            int end = pos;
            while (end > start && isBlank(text.at(end - 1)))
                --end;
            item = text.mid(start, end - start);
        }
        if (pos < n) {
            if (text.at(pos) == QLatin1Char(',')) {
                ++pos;
            } else {
                if (text.at(pos) == QLatin1Char('\r'))
                    ++pos;
                if (pos < n && text.at(pos) == QLatin1Char('\n'))
                    ++pos;
            }
        }
        items << item;
    }
    if (items.size() < minimum) {
        return Failure{FailureKind::DamagedInput,
            QStringLiteral("内容不完整，应至少有 %1 项，只找到 %2 项").arg(minimum).arg(items.size())};
    }
    while (items.size() < count)
        items << QString();
    return items;
}
