#include "words/WordFile.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <vector>

namespace WordFile {

namespace {
const char* const CodePage = "windows-1254";
const QByteArray Utf8Bom("\xEF\xBB\xBF");

bool hasHighByte(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

// Every character Windows-1254 can hold, as a bitmap over the 16-bit range.
const std::vector<bool>& windows1254Chars() {
    static const std::vector<bool> chars = [] {
        std::vector<bool> bits(0x10000, false);
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<char>(b);
        QStringDecoder decoder(CodePage);
        const QString decoded = decoder(all);
        for (QChar c : decoded)
            if (c != QChar::ReplacementCharacter)
                bits[c.unicode()] = true;
        return bits;
    }();
    return chars;
}

bool fitsWindows1254(QStringView text) {
    const std::vector<bool>& chars = windows1254Chars();
    for (QChar c : text)
        if (c.unicode() >= 0x80 && !chars[c.unicode()])
            return false;
    return true;
}

// Valid UTF-8 that uses more than plain ASCII.
bool isUtf8Text(const QByteArray& bytes) {
    return hasHighByte(bytes) && QByteArrayView(bytes).isValidUtf8();
}
} // namespace

bool windows1254Available() {
    return QStringEncoder(CodePage).isValid() && QStringDecoder(CodePage).isValid();
}

std::optional<qint16> parseDogru(QStringView text) {
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 32768)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<qint16>(value);
}

std::optional<ParsedLine> parseLine(QStringView line) {
    QStringView fields[3];
    for (QStringView& field : fields) {
        const qsizetype bar = line.indexOf(u'|');
        if (bar < 0)
            return std::nullopt;
        field = line.first(bar);
        line = line.sliced(bar + 1);
    }
    QStringView number = line;
    QStringView status;
    if (const qsizetype bar = line.indexOf(u'|'); bar >= 0) {
        number = line.first(bar);
        status = line.sliced(bar + 1);
    }
    const std::optional<qint16> dogru = parseDogru(number);
    if (!dogru)
        return std::nullopt;
    ParsedLine parsed;
    parsed.word = {fields[0].toString(), fields[1].toString(), fields[2].toString(), *dogru};
    parsed.active = status.isEmpty() || status == u"A";
    return parsed;
}

void appendLine(QString& out, const ModVokabo::WordDef& word, QChar status) {
    out += word.English;
    out += u'|';
    out += word.Turkish;
    out += u'|';
    out += word.Ornek;
    out += u'|';
    out += QString::number(word.Dogru);
    out += u'|';
    out += status;
    out += u"\r\n";
}

QString decode(const QByteArray& bytes, Encoding& encoding) {
    if (bytes.startsWith(Utf8Bom)) {
        encoding = Encoding::Utf8Bom;
        return QString::fromUtf8(QByteArrayView(bytes).sliced(Utf8Bom.size()));
    }
    if (isUtf8Text(bytes)) {
        encoding = Encoding::Utf8;
        return QString::fromUtf8(bytes);
    }
    encoding = Encoding::Windows1254;
    QStringDecoder decoder(CodePage);
    return decoder(bytes);
}

QByteArray encode(const QString& text, Encoding& encoding) {
    if (encoding == Encoding::Windows1254) {
        // The encoder would quietly put substitutes for what it cannot hold.
        if (fitsWindows1254(text)) {
            QStringEncoder encoder(CodePage);
            QByteArray bytes = encoder(text);
            if (!encoder.hasError())
                return bytes;
        }
        encoding = Encoding::Utf8Bom;
    }
    QByteArray bytes = text.toUtf8();
    if (encoding == Encoding::Utf8Bom)
        bytes.prepend(Utf8Bom);
    return bytes;
}

} // namespace WordFile
