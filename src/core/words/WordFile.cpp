#include "words/WordFile.h"

#include <array>
#include <cstring>

namespace WordFile {

namespace {
const QByteArrayView Utf8Bom("\xEF\xBB\xBF");

// Windows-1254 both ways: every byte stands for one character.
struct CodePage {
    std::array<char16_t, 256> toUnicode{};
    // 0 where the code page has no byte for the character (and for U+0000,
    // which is byte 0).
    std::array<unsigned char, 0x10000> fromUnicode{};

    CodePage() {
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<char>(b);
        QStringDecoder decoder("windows-1254");
        const QString decoded = decoder(all);
        for (int b = 0; b < 256; ++b) {
            // Without the code page the bytes read as Latin-1, so no word is lost.
            toUnicode[b] = decoded.size() == 256 ? decoded[b].unicode() : char16_t(b);
            if (toUnicode[b] != QChar::ReplacementCharacter)
                fromUnicode[toUnicode[b]] = static_cast<unsigned char>(b);
        }
    }

    bool holds(char16_t c) const { return c == 0 || fromUnicode[c] != 0; }
};

const CodePage& windows1254() {
    static const CodePage table;
    return table;
}

// Where the first byte above ASCII is, eight bytes at a time: plain ASCII
// goes by fast, other letters stop it early. The size when there is none.
qsizetype firstHighByte(QByteArrayView bytes) {
    const char* p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    for (; i < n; ++i)
        if (p[i] & 0x80)
            return i;
    return n;
}

bool hasHighByte(QByteArrayView bytes) {
    return firstHighByte(bytes) < bytes.size();
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Where c is in text[from, to), or to.
qsizetype indexOf(QByteArrayView text, qsizetype from, qsizetype to, char c) {
    const void* found = std::memchr(text.data() + from, c, static_cast<size_t>(to - from));
    return found ? static_cast<const char*>(found) - text.data() : to;
}

// A line of other letters than ASCII that is valid UTF-8: in a Windows-1254
// file it is read as UTF-8.
bool readsAsUtf8(QByteArrayView line) {
    const qsizetype high = firstHighByte(line);
    return high < line.size() && line.sliced(high).isValidUtf8();
}

// Whether some line of code-page bytes would be read as UTF-8.
bool someLineReadsAsUtf8(QByteArrayView bytes) {
    const qsizetype size = bytes.size();
    for (qsizetype from = 0; from < size;) {
        // CR and LF are the same in both encodings: either ends a line.
        const qsizetype lf = indexOf(bytes, from, size, '\n');
        for (qsizetype cr; from <= lf; from = cr + 1) {
            cr = indexOf(bytes, from, lf, '\r');
            if (readsAsUtf8(bytes.sliced(from, cr - from)))
                return true;
        }
    }
    return false;
}
} // namespace

Encoding guessEncoding(QByteArrayView bytes) {
    if (bytes.startsWith(Utf8Bom))
        return Encoding::Utf8Bom;
    // Text in the code page is seldom valid UTF-8 for long: test that first.
    if (bytes.isValidUtf8() && hasHighByte(bytes))
        return Encoding::Utf8;
    return Encoding::Windows1254;
}

Reader::Reader(const QByteArray& bytes)
    : bytes_(bytes), text_(bytes_), encoding_(guessEncoding(bytes_)), lineEncoding_(encoding_),
      utf8_(QStringConverter::Utf8,
            QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom) {
    if (encoding_ == Encoding::Utf8Bom)
        pos_ = Utf8Bom.size();
}

bool Reader::nextLine(QByteArrayView& line) {
    const qsizetype size = text_.size();
    if (pos_ >= size)
        return false;
    // A file of lone CRs holds no LF: each is looked for once, not per line.
    if (nextLf_ < pos_)
        nextLf_ = indexOf(text_, pos_, size, '\n');
    if (nextCr_ < pos_)
        nextCr_ = indexOf(text_, pos_, nextLf_, '\r');
    const qsizetype lineEnd = std::min(nextCr_, nextLf_);
    line = text_.sliced(pos_, lineEnd - pos_);
    pos_ = lineEnd;
    // A file that is valid UTF-8 throughout needs no look at its lines.
    if (encoding_ == Encoding::Utf8Bom)
        lineEncoding_ =
            !hasHighByte(line) || line.isValidUtf8() ? Encoding::Utf8Bom : Encoding::Windows1254;
    else if (encoding_ == Encoding::Windows1254)
        lineEncoding_ = readsAsUtf8(line) ? Encoding::Utf8 : Encoding::Windows1254;
    if (lineEncoding_ != encoding_)
        ++otherLines_;
    if (pos_ < size && text_[pos_++] == '\r' && pos_ < size && text_[pos_] == '\n')
        ++pos_;
    return true;
}

QString Reader::decode(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return {};
    // Most fields of most files are plain ASCII, the same in every encoding.
    if (!hasHighByte(bytes))
        return QString::fromLatin1(bytes);
    if (lineEncoding_ != Encoding::Windows1254)
        return utf8_(bytes);
    const CodePage& table = windows1254();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (char c : bytes)
        *out++ = table.toUnicode[static_cast<unsigned char>(c)];
    return text;
}

std::optional<qint16> parseDogru(QByteArrayView text) {
    qsizetype i = 0;
    qsizetype end = text.size();
    while (i < end && isBlank(text[i]))
        ++i;
    while (end > i && isBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == end)
        return std::nullopt;
    int value = 0;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 32768)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 32767)
        return std::nullopt;
    return static_cast<qint16>(value);
}

std::optional<ParsedLine> Reader::parse(QByteArrayView line) {
    const qsizetype n = line.size();
    qsizetype bars[4];
    qsizetype from = 0;
    for (int i = 0; i < 4; ++i) {
        bars[i] = indexOf(line, from, n, '|');
        if (bars[i] == n) {
            if (i < 3)
                return std::nullopt;
            break;
        }
        from = bars[i] + 1;
    }
    const qsizetype numberEnd = bars[3];
    const std::optional<qint16> dogru =
        parseDogru(line.sliced(bars[2] + 1, numberEnd - bars[2] - 1));
    if (!dogru)
        return std::nullopt;
    const QByteArrayView status = numberEnd < n ? line.sliced(numberEnd + 1) : QByteArrayView();
    return ParsedLine{{decode(line.first(bars[0])),
                       decode(line.sliced(bars[0] + 1, bars[1] - bars[0] - 1)),
                       decode(line.sliced(bars[1] + 1, bars[2] - bars[1] - 1)), *dogru},
                      status.isEmpty() || status == "A"};
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

QByteArray encode(const QString& text, Encoding& encoding) {
    // An empty list is an empty file, never a lone byte-order mark.
    if (text.isEmpty())
        return {};
    if (encoding == Encoding::Windows1254) {
        const CodePage& table = windows1254();
        QByteArray bytes(text.size(), Qt::Uninitialized);
        char* out = bytes.data();
        bool fits = true;
        for (QChar c : text) {
            if (!table.holds(c.unicode())) {
                fits = false;
                break;
            }
            *out++ = static_cast<char>(table.fromUnicode[c.unicode()]);
        }
        // "ï»¿" at the start, or a line of letters whose bytes happen to be
        // valid UTF-8, would come back as other words.
        if (fits && !bytes.startsWith(Utf8Bom) && !someLineReadsAsUtf8(bytes))
            return bytes;
        encoding = Encoding::Utf8Bom;
    }
    QByteArray bytes = text.toUtf8();
    if (encoding == Encoding::Utf8) {
        // A leading U+FEFF would pass for a byte-order mark and vanish.
        if (!bytes.startsWith(Utf8Bom))
            return bytes;
        encoding = Encoding::Utf8Bom;
    }
    bytes.prepend(Utf8Bom);
    return bytes;
}

} // namespace WordFile
