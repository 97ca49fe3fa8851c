#include "words/WordImport.h"

#include "words/WordFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <optional>

namespace WordImport {

namespace {

const QByteArrayView Utf8Bom("\xEF\xBB\xBF");
// How many records go by between two reports of progress.
constexpr qint64 ProgressEvery = 4096;
// How much of a file is looked at to tell text from anything else.
constexpr qsizetype SampleBytes = 64 * 1024;

// Gathers what one file gives.
class Collector {
public:
    Collector(Result& result, const Progress& progress) : result_(result), progress_(progress) {}

    void problem(qint64 line, const QString& reason) {
        ++result_.problemCount;
        if (result_.problems.size() < MaxProblemsKept)
            result_.problems.append({line, reason});
    }

    // The three texts of a word as they came; false when the line was not
    // taken (told as a problem, or blank and passed over in silence).
    bool add(qint64 line, QString English, QString Turkish, QString Ornek, qint16 Dogru = 0,
             bool passive = false) {
        English = English.trimmed();
        Turkish = Turkish.trimmed();
        Ornek = Ornek.trimmed();
        if (English.isEmpty() && Turkish.isEmpty() && Ornek.isEmpty())
            return false;
        const char16_t* reason = nullptr;
        if (English.isEmpty())
            reason = u"Vokabo boş.";
        else if (Turkish.isEmpty())
            reason = u"Karşılığı boş.";
        else if (English.contains(u'|') || Turkish.contains(u'|') || Ornek.contains(u'|'))
            reason = u"Vokabolarda | (pipe) karakteri kullanılamaz.";
        if (reason) {
            problem(line, QString::fromUtf16(reason));
            return false;
        }
        result_.entries.append({{English, Turkish, Ornek, Dogru}, passive, line});
        return true;
    }

    // Reports now and then; false once the reading should stop.
    bool tick(qint64 done, qint64 total) {
        if (++ticks_ % ProgressEvery != 0 || !progress_)
            return true;
        if (progress_(done, total))
            return true;
        result_.cancelled = true;
        return false;
    }

private:
    Result& result_;
    const Progress& progress_;
    qint64 ticks_ = 0;
};

QString lineBreaksToBlanks(QString text) {
    for (QChar& c : text)
        if (c == u'\r' || c == u'\n')
            c = u' ';
    return text;
}

// --- Telling what the bytes are ---

bool looksBinary(QByteArrayView bytes) {
    const QByteArrayView sample = bytes.first(std::min(bytes.size(), SampleBytes));
    qsizetype controls = 0;
    for (char c : sample) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0)
            return true;
        if (b < 0x20 && b != '\t' && b != '\r' && b != '\n' && b != '\f')
            ++controls;
    }
    return controls * 100 > sample.size();
}

bool hasUtf16Bom(QByteArrayView bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

// The text and the name of its encoding: a byte-order mark, or valid
// UTF-8, is Unicode; anything else Windows-1254.
QString decodeText(const QByteArray& bytes, QString& encodingName) {
    if (hasUtf16Bom(bytes)) {
        encodingName = QStringLiteral("UTF-16");
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE);
        return decoder(QByteArrayView(bytes).sliced(2));
    }
    switch (WordFile::guessEncoding(bytes)) {
    case WordFile::Encoding::Utf8Bom:
        encodingName = QStringLiteral("UTF-8, BOM ile");
        return QString::fromUtf8(QByteArrayView(bytes).sliced(Utf8Bom.size()));
    case WordFile::Encoding::Utf8:
        encodingName = QStringLiteral("UTF-8");
        return QString::fromUtf8(bytes);
    case WordFile::Encoding::Windows1254:
        break;
    }
    // Plain ASCII reads the same either way.
    encodingName = bytes.isValidUtf8() ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1254");
    QStringDecoder decoder("windows-1254");
    // Without the code page the bytes read as Latin-1: no line is lost.
    return decoder.isValid() ? QString(decoder(bytes)) : QString::fromLatin1(bytes);
}

bool startsWithXml(QByteArrayView bytes) {
    if (bytes.startsWith(Utf8Bom))
        bytes = bytes.sliced(Utf8Bom.size());
    for (char c : bytes.first(std::min<qsizetype>(bytes.size(), 1024))) {
        if (c == '<')
            return true;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return false;
}

// Most of the first lines are records of the program's own word file.
bool looksLikeWordFile(const QByteArray& bytes) {
    WordFile::Reader reader(bytes);
    QByteArrayView line;
    int lines = 0;
    int records = 0;
    while (lines < 50 && reader.nextLine(line)) {
        if (line.trimmed().isEmpty())
            continue;
        ++lines;
        if (reader.parse(line))
            ++records;
    }
    return records > 0 && records * 10 >= lines * 6;
}

// --- Tab-separated and CSV text ---

// Cuts text into records by RFC 4180: a field in double quotes may hold the
// separator, a line break and a doubled quote; CR LF, a lone CR and a lone
// LF end a record. A line break inside a field becomes a blank, since a word
// is one line of the word file.
class RecordScanner {
public:
    explicit RecordScanner(QStringView text) : text_(text) {}

    qsizetype position() const { return pos_; }
    qint64 lineNumber() const { return line_; }
    bool atEnd() const { return pos_ >= text_.size(); }

    // The physical line that starts here, without its line break.
    QStringView peekLine() const {
        qsizetype end = pos_;
        while (end < text_.size() && text_[end] != u'\r' && text_[end] != u'\n')
            ++end;
        return text_.sliced(pos_, end - pos_);
    }

    void skipLine() {
        pos_ += peekLine().size();
        skipLineBreak();
    }

    // False at the end of the text. unclosed: a quote ran to the end.
    bool next(QChar separator, QStringList& fields, bool& unclosed) {
        fields.clear();
        unclosed = false;
        if (atEnd())
            return false;
        const qsizetype size = text_.size();
        for (;;) {
            QString field;
            if (pos_ < size && text_[pos_] == u'"') {
                ++pos_;
                for (;;) {
                    if (pos_ >= size) {
                        unclosed = true;
                        break;
                    }
                    const QChar c = text_[pos_];
                    if (c == u'"') {
                        if (pos_ + 1 < size && text_[pos_ + 1] == u'"') {
                            field += u'"';
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    if (c == u'\r' || c == u'\n') {
                        skipLineBreak();
                        field += u' ';
                        continue;
                    }
                    qsizetype end = pos_ + 1;
                    while (end < size && text_[end] != u'"' && text_[end] != u'\r' &&
                           text_[end] != u'\n')
                        ++end;
                    field += text_.sliced(pos_, end - pos_);
                    pos_ = end;
                }
            }
            // Unquoted text, or what stands after a closing quote, as it is.
            const qsizetype start = pos_;
            while (pos_ < size && text_[pos_] != separator && text_[pos_] != u'\r' &&
                   text_[pos_] != u'\n')
                ++pos_;
            field += text_.sliced(start, pos_ - start);
            fields.append(std::move(field));
            if (pos_ < size && text_[pos_] == separator) {
                ++pos_;
                continue;
            }
            skipLineBreak();
            return true;
        }
    }

private:
    void skipLineBreak() {
        if (pos_ >= text_.size())
            return;
        if (text_[pos_] == u'\r') {
            ++pos_;
            if (pos_ < text_.size() && text_[pos_] == u'\n')
                ++pos_;
        } else if (text_[pos_] == u'\n') {
            ++pos_;
        } else {
            return;
        }
        ++line_;
    }

    QStringView text_;
    qsizetype pos_ = 0;
    qint64 line_ = 1;
};

// Lines such as "#separator:tab" or "#html:true" at the top of a file, as
// flashcard programs write them.
struct Directives {
    std::optional<QChar> separator;
    bool html = false;
    QString columns;
    QList<int> metaColumns; // from 0: tags, deck, note type, id
    bool any = false;
};

std::optional<QChar> separatorNamed(const QString& value) {
    static const struct {
        const char* name;
        char16_t separator;
    } named[] = {{"tab", u'\t'},  {"comma", u','}, {"semicolon", u';'},
                 {"space", u' '}, {"pipe", u'|'},  {"colon", u':'}};
    const QString name = value.trimmed().toLower();
    for (const auto& n : named)
        if (name == QLatin1StringView(n.name))
            return QChar(n.separator);
    if (value.size() == 1)
        return value[0];
    return std::nullopt;
}

bool readDirective(QStringView line, Directives& directives) {
    if (!line.startsWith(u'#'))
        return false;
    const qsizetype colon = line.indexOf(u':');
    if (colon < 2)
        return false;
    const QString key = line.sliced(1, colon - 1).toString().toLower();
    for (QChar c : key)
        if (!c.isLetter() && c != u' ')
            return false;
    const QString value = line.sliced(colon + 1).toString();
    if (key == u"separator") {
        directives.separator = separatorNamed(value);
    } else if (key == u"html") {
        directives.html = value.trimmed().toLower() == u"true";
    } else if (key == u"columns") {
        directives.columns = value;
    } else if (key.endsWith(u" column")) {
        bool ok = false;
        const int column = value.trimmed().toInt(&ok);
        if (ok && column > 0)
            directives.metaColumns.append(column - 1);
    }
    directives.any = true;
    return true;
}

// This program's own column names, as its export writes them.
const QStringList OwnColumns{QStringLiteral("Vokabo"), QStringLiteral("Karşılığı"),
                             QStringLiteral("Örnek Cümle"), QStringLiteral("Doğru"),
                             QStringLiteral("Liste")};

bool namesOwnColumns(const QStringList& names) {
    return names.size() >= 2 &&
           names[0].trimmed().compare(OwnColumns[0], Qt::CaseInsensitive) == 0 &&
           names[1].trimmed().compare(OwnColumns[1], Qt::CaseInsensitive) == 0;
}

// The separator that cuts the first records into the same number of
// columns, two or more, most often; tab before semicolon before comma.
QChar detectSeparator(QStringView text, qsizetype from, const QString& fileName) {
    const QChar candidates[] = {u'\t', u';', u',', u'|'};
    QChar best = fileName.endsWith(u".csv", Qt::CaseInsensitive) ? u',' : u'\t';
    int bestScore = 0;
    for (QChar separator : candidates) {
        RecordScanner scanner(text.sliced(from));
        QStringList fields;
        bool unclosed = false;
        QHash<qsizetype, int> counts;
        for (int records = 0; records < 100 && scanner.next(separator, fields, unclosed);) {
            if (fields.size() == 1 && fields[0].trimmed().isEmpty())
                continue;
            ++records;
            ++counts[fields.size()];
        }
        int score = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (it.key() >= 2)
                score = std::max(score, it.value());
        if (score > bestScore) {
            bestScore = score;
            best = separator;
        }
    }
    return best;
}

QString separatorName(QChar separator) {
    switch (separator.unicode()) {
    case u'\t':
        return QStringLiteral("sekmeyle ayrılmış metin");
    case u';':
        return QStringLiteral("CSV, noktalı virgülle ayrılmış");
    case u',':
        return QStringLiteral("CSV, virgülle ayrılmış");
    default:
        return QStringLiteral("“%1” ile ayrılmış metin").arg(separator);
    }
}

void readDelimited(const QString& text, const QString& fileName, Result& result,
                   Collector& collect) {
    RecordScanner scanner(text);
    Directives directives;
    while (!scanner.atEnd() && readDirective(scanner.peekLine(), directives))
        scanner.skipLine();
    const QChar separator =
        directives.separator.value_or(detectSeparator(text, scanner.position(), fileName));
    result.format = Format::Delimited;
    result.formatName = separatorName(separator);
    if (directives.html)
        result.formatName += QStringLiteral(", HTML alanlarla");
    bool ownColumns = namesOwnColumns(directives.columns.split(separator));

    QStringList fields;
    bool unclosed = false;
    bool first = true;
    for (;;) {
        // After directives, a line that begins with "#" is a comment there.
        while (directives.any && !scanner.atEnd() && scanner.peekLine().startsWith(u'#'))
            scanner.skipLine();
        const qint64 line = scanner.lineNumber();
        if (!scanner.next(separator, fields, unclosed))
            break;
        if (!collect.tick(scanner.position(), text.size()))
            return;
        if (unclosed) {
            collect.problem(line, QStringLiteral("Tırnak işareti kapanmamış; satır dosyanın "
                                                 "sonuna kadar sürüyor."));
            break;
        }
        // A header row, where no "#columns" line named the columns.
        if (first && directives.columns.isEmpty()) {
            first = false;
            // The header row of this program's own export.
            if (namesOwnColumns(fields)) {
                ownColumns = true;
                continue;
            }
        }
        for (qsizetype i = fields.size() - 1; i >= 0; --i)
            if (directives.metaColumns.contains(i))
                fields.removeAt(i);
        for (QString& field : fields)
            field = directives.html ? htmlToPlainText(field) : lineBreaksToBlanks(field);
        if (fields.size() < 2) {
            if (!fields.value(0).trimmed().isEmpty())
                collect.problem(line, QStringLiteral("Karşılığı yok: satırda tek sütun var."));
            continue;
        }
        qint16 Dogru = 0;
        bool passive = false;
        if (ownColumns && fields.size() > 3) {
            Dogru = WordFile::parseDogru(fields[3].toUtf8()).value_or(0);
            passive = fields.value(4).trimmed() == u"P";
        }
        collect.add(line, fields[0], fields[1], fields.value(2), Dogru, passive);
    }
}

// --- The program's own word file ---

void readWordFile(const QByteArray& bytes, Result& result, Collector& collect) {
    WordFile::Reader reader(bytes);
    result.format = Format::WordFile;
    result.formatName = QStringLiteral("Vokabo dosyası");
    switch (reader.encoding()) {
    case WordFile::Encoding::Utf8Bom:
        result.encodingName = QStringLiteral("UTF-8, BOM ile");
        break;
    case WordFile::Encoding::Utf8:
        result.encodingName = QStringLiteral("UTF-8");
        break;
    case WordFile::Encoding::Windows1254:
        result.encodingName =
            bytes.isValidUtf8() ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1254");
        break;
    }
    QByteArrayView line;
    qint64 number = 0;
    while (reader.nextLine(line)) {
        ++number;
        if (!collect.tick(line.data() - bytes.data(), bytes.size()))
            return;
        if (line.trimmed().isEmpty())
            continue;
        if (std::optional<WordFile::ParsedLine> parsed = reader.parse(line)) {
            collect.add(number, parsed->word.English, parsed->word.Turkish, parsed->word.Ornek,
                        parsed->word.Dogru, !parsed->active);
        } else if (line.count('|') < 3) {
            collect.problem(number, QStringLiteral("Alan eksik: vokabo, karşılığı, örnek cümle ve "
                                                   "doğru sayısı “|” ile ayrılmalı."));
        } else {
            collect.problem(number, QStringLiteral("Doğru sayısı -32768 ile 32767 arasında bir "
                                                   "tam sayı değil."));
        }
    }
}

// --- KVTML 2 ---

struct Translation {
    QString text;
    QString example;
};

void readTranslation(QXmlStreamReader& xml, Translation& translation) {
    while (xml.readNextStartElement()) {
        if (xml.name() == u"text")
            translation.text = lineBreaksToBlanks(xml.readElementText());
        else if (xml.name() == u"example")
            translation.example = lineBreaksToBlanks(xml.readElementText());
        else
            xml.skipCurrentElement();
    }
}

void readKvtml(const QByteArray& bytes, Result& result, Collector& collect) {
    result.format = Format::Kvtml;
    result.formatName = QStringLiteral("KVTML 2");
    result.encodingName = QStringLiteral("XML");
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != u"kvtml") {
        result.refusal = QStringLiteral("Bu XML dosyası bir KVTML vokabo dosyası değil.");
        return;
    }
    if (xml.attributes().value(QStringLiteral("version")).startsWith(u'1')) {
        result.refusal = QStringLiteral("Bu KVTML dosyası eski sürümde (KVTML 1); yalnızca "
                                        "KVTML 2 dosyaları okunur.");
        return;
    }
    // The first two languages, the foreign one as the word.
    QStringList ids;
    QStringList locales;
    bool identified = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"identifiers") {
            while (xml.readNextStartElement()) {
                if (xml.name() != u"identifier") {
                    xml.skipCurrentElement();
                    continue;
                }
                ids.append(xml.attributes().value(QStringLiteral("id")).toString());
                QString locale;
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"locale")
                        locale = xml.readElementText();
                    else
                        xml.skipCurrentElement();
                }
                locales.append(locale);
            }
            if (ids.size() >= 2 && locales[0].startsWith(u"tr", Qt::CaseInsensitive) &&
                !locales[1].startsWith(u"tr", Qt::CaseInsensitive)) {
                ids.swapItemsAt(0, 1);
            }
            identified = true;
        } else if (xml.name() == u"entries") {
            const QString wordId = identified && !ids.isEmpty() ? ids[0] : QStringLiteral("0");
            const QString meaningId = identified && ids.size() > 1 ? ids[1] : QStringLiteral("1");
            while (xml.readNextStartElement()) {
                if (xml.name() != u"entry") {
                    xml.skipCurrentElement();
                    continue;
                }
                const qint64 line = xml.lineNumber();
                Translation word;
                Translation meaning;
                while (xml.readNextStartElement()) {
                    const QStringView id = xml.attributes().value(QStringLiteral("id"));
                    if (xml.name() == u"translation" && id == wordId)
                        readTranslation(xml, word);
                    else if (xml.name() == u"translation" && id == meaningId)
                        readTranslation(xml, meaning);
                    else
                        xml.skipCurrentElement();
                }
                if (!collect.tick(xml.characterOffset(), bytes.size()))
                    return;
                collect.add(line, word.text, meaning.text,
                            word.example.isEmpty() ? meaning.example : word.example);
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        collect.problem(
            xml.lineNumber(),
            QStringLiteral("XML hatası, dosyanın kalanı okunamadı: %1").arg(xml.errorString()));
}

QString tooLarge(qint64 size) {
    return QStringLiteral("Dosya çok büyük (%1 MB). Vokabo eklemek için en çok %2 MB'lık "
                          "dosyalar okunur; hiçbir vokabo eklenmedi.")
        .arg(QLocale(QLocale::Turkish).toString(double(size) / (1024 * 1024), 'f', 1))
        .arg(MaxFileBytes / (1024 * 1024));
}

QString keyOf(const ModVokabo::WordDef& word) {
    return word.English.trimmed() + u'\x1f' + word.Turkish.trimmed();
}

} // namespace

Result read(const QByteArray& bytes, const QString& fileName, const Progress& progress) {
    Result result;
    Collector collect(result, progress);
    if (bytes.size() > MaxFileBytes) {
        result.refusal = tooLarge(bytes.size());
        return result;
    }
    if (!hasUtf16Bom(bytes) && looksBinary(bytes)) {
        result.refusal = QStringLiteral("Bu dosya bir metin dosyası değil; içinden vokabo "
                                        "okunamaz. Hiçbir vokabo eklenmedi.");
        return result;
    }
    if (!hasUtf16Bom(bytes) &&
        (startsWithXml(bytes) || fileName.endsWith(u".kvtml", Qt::CaseInsensitive))) {
        readKvtml(bytes, result, collect);
    } else {
        QString encodingName;
        const QString text = decodeText(bytes, encodingName);
        Directives directives;
        const bool directivesFirst = readDirective(RecordScanner(text).peekLine(), directives);
        if (!directivesFirst && !hasUtf16Bom(bytes) && looksLikeWordFile(bytes)) {
            readWordFile(bytes, result, collect);
        } else {
            readDelimited(text, fileName, result, collect);
            result.encodingName = encodingName;
        }
    }
    if (result.refusal.isEmpty() && !result.cancelled && result.entries.isEmpty())
        result.refusal = QStringLiteral("Dosyada okunabilen vokabo bulunamadı.");
    return result;
}

Result readFile(const QString& path, const Progress& progress) {
    Result result;
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        result.refusal = QStringLiteral("Bu ad bir klasöre ait.");
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.refusal = QStringLiteral("Dosya açılamadı: %1").arg(file.errorString());
        return result;
    }
    // Refused unread, so that a huge file costs no memory.
    if (file.size() > MaxFileBytes) {
        result.refusal = tooLarge(file.size());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.refusal = QStringLiteral("Dosya okunamadı: %1").arg(file.errorString());
        return result;
    }
    return read(bytes, path, progress);
}

Plan plan(const QList<Entry>& entries, const ModVokabo::WordList& active,
          const ModVokabo::WordList& passive) {
    Plan plan;
    QSet<QString> inLists;
    inLists.reserve(active.size() + passive.size());
    for (const ModVokabo::WordDef& word : active)
        inLists.insert(keyOf(word));
    for (const ModVokabo::WordDef& word : passive)
        inLists.insert(keyOf(word));
    QSet<QString> fromFile;
    const qsizetype room = std::max<qsizetype>(0, MaxListSize - active.size());
    for (const Entry& entry : entries) {
        const QString key = keyOf(entry.word);
        if (inLists.contains(key)) {
            ++plan.alreadyInLists;
        } else if (fromFile.contains(key)) {
            ++plan.repeatedInFile;
        } else {
            fromFile.insert(key);
            if (plan.toAdd.size() < room)
                plan.toAdd.append({entry.word.English, entry.word.Turkish, entry.word.Ornek, 0});
            else
                ++plan.noRoom;
        }
    }
    return plan;
}

QString htmlToPlainText(QStringView html) {
    QString text;
    text.reserve(html.size());
    const qsizetype n = html.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = html[i];
        if (c == u'<') {
            const qsizetype close = html.indexOf(u'>', i + 1);
            if (close < 0) {
                text += html.sliced(i);
                break;
            }
            QStringView tag = html.sliced(i + 1, close - i - 1).trimmed();
            const bool closing = tag.startsWith(u'/');
            if (closing)
                tag = tag.sliced(1);
            qsizetype nameEnd = 0;
            while (nameEnd < tag.size() && tag[nameEnd].isLetterOrNumber())
                ++nameEnd;
            const QString name = tag.first(nameEnd).toString().toLower();
            i = close + 1;
            if (!closing && (name == u"style" || name == u"script")) {
                const qsizetype end =
                    html.indexOf(QStringLiteral("</") + name, i, Qt::CaseInsensitive);
                const qsizetype after = end < 0 ? -1 : html.indexOf(u'>', end);
                i = after < 0 ? n : after + 1;
                continue;
            }
            static const char16_t* const blocks[] = {u"br", u"div", u"p",  u"li", u"tr", u"td",
                                                     u"hr", u"h1",  u"h2", u"h3", u"ul", u"ol"};
            for (const char16_t* block : blocks)
                if (name == QStringView(block))
                    text += u' ';
        } else if (c == u'&') {
            const qsizetype semi = html.indexOf(u';', i + 1);
            std::optional<char32_t> decoded;
            if (semi > i + 1 && semi - i <= 10) {
                const QStringView entity = html.sliced(i + 1, semi - i - 1);
                static const struct {
                    const char16_t* name;
                    char32_t c;
                } named[] = {{u"amp", U'&'},  {u"lt", U'<'},    {u"gt", U'>'},
                             {u"quot", U'"'}, {u"apos", U'\''}, {u"nbsp", U' '}};
                for (const auto& e : named)
                    if (entity == QStringView(e.name))
                        decoded = e.c;
                if (entity.startsWith(u'#')) {
                    bool ok = false;
                    const uint code = entity.startsWith(u"#x", Qt::CaseInsensitive)
                                          ? entity.sliced(2).toUInt(&ok, 16)
                                          : entity.sliced(1).toUInt(&ok, 10);
                    if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF))
                        decoded = code;
                }
            }
            if (decoded) {
                const char32_t code = *decoded;
                text += QString::fromUcs4(&code, 1);
                i = semi + 1;
            } else {
                text += c;
                ++i;
            }
        } else if (c == u'[' && html.sliced(i).startsWith(u"[sound:")) {
            // A flashcard's sound is a file beside the cards, not a word.
            const qsizetype close = html.indexOf(u']', i);
            i = close < 0 ? n : close + 1;
        } else {
            text += c;
            ++i;
        }
    }
    return text.simplified();
}

} // namespace WordImport
