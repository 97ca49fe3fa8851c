// libFuzzer target for the word-file reader and its round trip: for any bytes
// the reader agrees with a plain model of the format (the file cut into
// lines, each decoded in its own encoding, then cut as text), and the records it reads survive a
// save. Read as UTF-16 text, the bytes encode to bytes that the reading rules decode to that text.
#include "words/WordFile.h"

#include <QList>
#include <QRegularExpression>
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

Read readWithReader(const QByteArray& bytes) {
    WordFile::Reader reader(bytes);
    Read read;
    for (QByteArrayView line; reader.nextLine(line); ++read.lines)
        if (std::optional<ParsedLine> parsed = reader.parse(line))
            read.records.append(std::move(*parsed));
    return read;
}

QString decodeAs(QByteArrayView bytes, Encoding encoding) {
    if (encoding == Encoding::Windows1254)
        return QStringDecoder("windows-1254")(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    return utf8(bytes);
}

// The file's lines, each decoded in its own encoding: in a file marked UTF-8
// a line that is not valid UTF-8 is Windows-1254, in a Windows-1254 file a
// line that is valid UTF-8 with a byte above ASCII is UTF-8.
QStringList decodeLines(const QByteArray& bytes) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const Encoding encoding = WordFile::guessEncoding(bytes);
    const QByteArrayView text = QByteArrayView(bytes).sliced(encoding == Encoding::Utf8Bom ? 3 : 0);
    // CR and LF are single bytes in both encodings: the lines are cut first.
    QStringList lines = QString::fromLatin1(text).split(lineBreak);
    if (lines.last().isEmpty()) // a final line break starts no line
        lines.removeLast();
    for (QString& line : lines) {
        const QByteArray raw = line.toLatin1();
        const bool high = std::any_of(raw.begin(), raw.end(), [](char c) { return c < 0; });
        Encoding own = encoding;
        if (encoding == Encoding::Utf8Bom && !raw.isValidUtf8())
            own = Encoding::Windows1254;
        else if (encoding == Encoding::Windows1254 && high && raw.isValidUtf8())
            own = Encoding::Utf8;
        line = decodeAs(raw, own);
    }
    return lines;
}

Read readWithModel(const QByteArray& bytes) {
    static const QRegularExpression count(QStringLiteral("^[ \t\v\f]*([+-]?[0-9]+)[ \t\v\f]*$"));
    const QStringList lines = decodeLines(bytes);
    Read read{lines.size(), {}};
    for (const QString& line : lines) {
        bool ok = false;
        const int dogru = count.match(line.section(u'|', 3, 3)).captured(1).toInt(&ok);
        if (line.count(u'|') < 3 || !ok || dogru < -32768 || dogru > 32767)
            continue;
        const QString status = line.section(u'|', 4);
        read.records.append({{line.section(u'|', 0, 0), line.section(u'|', 1, 1),
                              line.section(u'|', 2, 2), static_cast<qint16>(dogru)},
                             status.isEmpty() || status == u"A"});
    }
    return read;
}

void readerAgreesWithModelAndSurvivesASave(const QByteArray& bytes) {
    const Read read = readWithReader(bytes);
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
    Encoding encoding = WordFile::guessEncoding(bytes);
    const QByteArray saved = WordFile::encode(text, encoding);
    check(saved.isEmpty() == text.isEmpty(), "an empty list is not an empty file");
    const Read back = readWithReader(saved);
    check(back.records == kept && back.lines == kept.size(), "a save reads back as other records");
}

void encodedTextReadsBack(const uint8_t* data, size_t size) {
    if (size < 1)
        return;
    QString text(static_cast<qsizetype>((size - 1) / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(static_cast<char16_t>(data[1 + 2 * i] | data[2 + 2 * i] << 8));
    // No encoding holds half a surrogate pair; the program never reads one.
    text = QString::fromUtf8(text.toUtf8());
    Encoding encoding = static_cast<Encoding>(data[0] % 3);
    const QByteArray bytes = WordFile::encode(text, encoding);
    check(bytes.isEmpty() == text.isEmpty(), "no text gives bytes");
    // Plain ASCII reads the same in every encoding.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0; });
    check(WordFile::guessEncoding(bytes) == encoding || ascii,
          "the bytes are read in another encoding than the one reported");
    const QString lineBreaks =
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    check(decodeLines(bytes).join(u'\n') == lineBreaks.chopped(lineBreaks.endsWith(u'\n')),
          "the bytes read back as other text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    readerAgreesWithModelAndSurvivesASave(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    encodedTextReadsBack(data, size);
    return 0;
}
