#include "model/DocumentItems.h"
#include "layout/TextRules.h"

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
        } else if (b == 0x80 || b == 0xFF) {
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

QString decodeDocumentText(const QByteArray &bytes, bool *ok, bool *encodingDamaged, DocumentEncoding *encoding)
{
    auto result = [&](bool good, bool damaged, DocumentEncoding used, const QString &text) {
        if (ok)
            *ok = good;
        if (encodingDamaged)
            *encodingDamaged = damaged;
        if (encoding)
            *encoding = used;
        return good ? text : QString();
    };
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        const bool good = decodeStrictly(QStringConverter::Utf8, bytes.mid(3), &text);
        return result(good, !good, DocumentEncoding::Utf8, text);
    }
    const bool littleEndian = bytes.startsWith("\xFF\xFE"), bigEndian = bytes.startsWith("\xFE\xFF");
    if (littleEndian || bigEndian) {
        const bool good = bytes.size() % 2 == 0
                          && decodeStrictly(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                                            bytes.mid(2), &text);
        return result(good, !good, DocumentEncoding::Utf16, text);
    }
    if (isValidGb18030(bytes)) {
        QStringDecoder decoder("GB18030");
        if (!decoder.isValid())
            return result(false, false, DocumentEncoding::Gb18030, QString());
        return result(true, false, DocumentEncoding::Gb18030, decoder.decode(bytes));
    }
    if (hasNonAscii(bytes) && decodeStrictly(QStringConverter::Utf8, bytes, &text))
        return result(true, false, DocumentEncoding::Utf8, text);
    return result(false, true, DocumentEncoding::Gb18030, QString());
}

QByteArray encodeDocumentText(const QString &text, bool *ok)
{
    QStringEncoder encoder("GB18030");
    if (ok)
        *ok = encoder.isValid();
    if (!encoder.isValid())
        return QByteArray();
    return encoder.encode(text);
}

QByteArray encodeDocumentItems(const QStringList &items)
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

bool DocumentItemReader::read(QIODevice &device, int count, int minimum)
{
    m_items.clear();
    m_error = NoError;
    m_wanted = minimum;
    m_found = 0;
    m_deviceError.clear();
    if (!device.isReadable()) {
        m_error = ReadError;
        m_deviceError = device.errorString();
        return false;
    }
    if (!device.isSequential() && device.size() - device.pos() > kMaxDocumentBytes) {
        m_error = TooLarge;
        return false;
    }
    QByteArray data;
    for (;;) {
        const qint64 room = kMaxDocumentBytes + 1 - data.size();
        const QByteArray chunk = device.read(qMin<qint64>(room, 1 << 16));
        if (chunk.isEmpty())
            break;
        data += chunk;
        if (data.size() > kMaxDocumentBytes) {
            m_error = TooLarge;
            return false;
        }
    }
    bool ok = false, damaged = false;
    const QString text = decodeDocumentText(data, &ok, &damaged);
    if (!ok) {
        m_error = damaged ? BadEncoding : NoCodec;
        return false;
    }
    return parse(text, count, minimum);
}

bool DocumentItemReader::parse(const QString &text, int count, int minimum)
{
    m_items.clear();
    m_error = NoError;
    m_wanted = minimum;
    const int n = text.size();
    int pos = 0;
    while (m_items.size() < count) {
        while (pos < n && isBlank(text.at(pos)))
            ++pos;
        if (pos >= n)
            break;
        QString item;
        if (text.at(pos) == QLatin1Char('"')) {
            const int close = text.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0) {
                m_found = m_items.size() + 1;   // number of the broken item
                m_error = Unterminated;
                m_items.clear();
                return false;
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
        m_items << item;
    }
    m_found = m_items.size();
    if (m_items.size() < minimum) {
        m_error = TooShort;
        m_items.clear();
        return false;
    }
    while (m_items.size() < count)
        m_items << QString();
    return true;
}

QString DocumentItemReader::errorString() const
{
    switch (m_error) {
    case NoError:
        return QString();
    case ReadError:
        return QStringLiteral("读取失败（%1）").arg(m_deviceError);
    case TooLarge:
        return QStringLiteral("文件超过 %1 MB，不是任免审批表或简要情况表文件")
            .arg(kMaxDocumentBytes / (1024 * 1024));
    case Unterminated:
        return QStringLiteral("第 %1 项缺少结尾的双引号，文件已损坏").arg(m_found);
    case TooShort:
        return QStringLiteral("内容不完整，应至少有 %1 项，只找到 %2 项").arg(m_wanted).arg(m_found);
    case NoCodec:
        return QStringLiteral("系统缺少 GB18030 文字编码支持");
    case BadEncoding:
        return QStringLiteral("文字编码已损坏（既不是 GB18030，也不是 UTF-8 或 UTF-16），无法读出文字");
    }
    return QString();
}
