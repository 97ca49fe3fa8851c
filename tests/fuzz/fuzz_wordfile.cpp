// libFuzzer target for the word-file reader and its round trip. For any
// bytes:
// - the reader gives the same lines and records as decoding the whole file by
//   the reading rules and cutting the text (a plain model of the format);
// - saving those records and reading the bytes back gives the same records
//   (those with an empty English excepted, which a save drops);
// and, read as UTF-16 text, the bytes encode, in any starting encoding, to
// bytes that the reading rules decode to the same text.
#include "words/WordFile.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using WordFile::Encoding;
using WordFile::ParsedLine;

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_wordfile: %s\n", what);
        std::abort();
    }
}

struct Read {
    qsizetype lines = 0;
    QList<ParsedLine> records;
};

Read readWithReader(const QByteArray& bytes, Encoding* encoding = nullptr) {
    WordFile::Reader reader(bytes);
    if (encoding)
        *encoding = reader.encoding();
    Read read;
    for (QByteArrayView line; reader.nextLine(line);) {
        ++read.lines;
        if (std::optional<ParsedLine> parsed = reader.parse(line))
            read.records.append(std::move(*parsed));
    }
    return read;
}

// --- The model: the whole file decoded first, then cut as text. ---

QString decodeWhole(const QByteArray& bytes, Encoding encoding) {
    if (encoding == Encoding::Windows1254)
        return QStringDecoder("windows-1254")(bytes);
    const QByteArrayView rest =
        encoding == Encoding::Utf8Bom ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    return utf8(rest);
}

std::optional<qint16> modelDogru(QStringView text) {
    auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min(value * 10 + (c.unicode() - u'0'), 100000);
    }
    value = negative ? -value : value;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<qint16>(value);
}

std::optional<ParsedLine> modelParse(QStringView line) {
    QStringView fields[3];
    for (QStringView& field : fields) {
        const qsizetype bar = line.indexOf(u'|');
        if (bar < 0)
            return std::nullopt;
        field = line.first(bar);
        line = line.sliced(bar + 1);
    }
    QStringView status;
    if (const qsizetype bar = line.indexOf(u'|'); bar >= 0) {
        status = line.sliced(bar + 1);
        line = line.first(bar);
    }
    const std::optional<qint16> dogru = modelDogru(line);
    if (!dogru)
        return std::nullopt;
    return ParsedLine{{fields[0].toString(), fields[1].toString(), fields[2].toString(), *dogru},
                      status.isEmpty() || status == u"A"};
}

Read readWithModel(const QByteArray& bytes) {
    const QString text = decodeWhole(bytes, WordFile::guessEncoding(bytes));
    Read read;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        ++read.lines;
        if (std::optional<ParsedLine> parsed =
                modelParse(QStringView(text).sliced(start, end - start)))
            read.records.append(std::move(*parsed));
        if (end + 1 < n && text[end] == u'\r' && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return read;
}

// --- The properties ---

void readerAgreesWithModelAndSurvivesASave(const QByteArray& bytes) {
    Encoding encoding;
    const Read read = readWithReader(bytes, &encoding);
    const Read model = readWithModel(bytes);
    check(read.lines == model.lines, "the reader and the model count different lines");
    check(read.records == model.records, "the reader and the model read different records");

    QString text;
    QList<ParsedLine> kept;
    for (const ParsedLine& record : read.records) {
        if (record.word.English.isEmpty())
            continue;
        WordFile::appendLine(text, record.word, record.active ? u'A' : u'P');
        kept.append(record);
    }
    const QByteArray saved = WordFile::encode(text, encoding);
    check(saved.isEmpty() == text.isEmpty(), "an empty list is not an empty file");
    const Read back = readWithReader(saved);
    check(back.records == kept, "a save read back gives other records");
    check(back.lines == kept.size(), "a save read back gives other lines");
}

void encodedTextReadsBack(const uint8_t* data, size_t size) {
    if (size < 1)
        return;
    QString text(static_cast<qsizetype>((size - 1) / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(static_cast<char16_t>(data[1 + 2 * i] | data[2 + 2 * i] << 8));
    // No encoding holds half a surrogate pair; the program never reads one.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    Encoding encoding = static_cast<Encoding>(data[0] % 3);
    const QByteArray bytes = WordFile::encode(text, encoding);
    check(bytes.isEmpty() == text.isEmpty(), "no text gives bytes");
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0; });
    // Plain ASCII reads the same in every encoding.
    check(WordFile::guessEncoding(bytes) == encoding || ascii,
          "the bytes are read in another encoding than the one reported");
    check(decodeWhole(bytes, WordFile::guessEncoding(bytes)) == text,
          "the bytes read back as other text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    readerAgreesWithModelAndSurvivesASave(bytes);
    encodedTextReadsBack(data, size);
    return 0;
}
