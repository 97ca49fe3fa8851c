#include "words/WordImport.h"

#include "words/WordFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <algorithm>

namespace WordImport {

namespace {

const QByteArrayView Utf8Bom("\xEF\xBB\xBF");
// How many records go by between two reports of progress.
constexpr qint64 ProgressEvery = 4096;
// How much of a file is looked at to tell text from anything else.
constexpr qsizetype SampleBytes = 64 * 1024;
// How many records the guesses of header, separator and columns look at.
constexpr int SampleRecords = 100;

// Gathers what one file gives.
class Collector {
public:
    Collector(Result& result, const Progress& progress) : result_(result), progress_(progress) {}

    void problem(qint64 line, const QString& reason) {
        ++result_.problemCount;
        if (result_.problems.size() < MaxProblemsKept)
            result_.problems.append({line, reason});
    }

    // The three texts of a word exactly as they came; false when the line
    // was not taken (told as a problem, or empty and passed over in silence).
    bool add(qint64 line, const QString& English, const QString& Turkish, const QString& Ornek,
             qint16 Dogru = 0, bool passive = false) {
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

// Letters and names compared as a reader would: case aside, and the dotted
// and dotless i alike.
QString folded(QStringView text) {
    QString out = text.trimmed().toString();
    for (QChar& c : out)
        if (c == u'İ' || c == u'ı' || c == u'I')
            c = u'i';
    return out.toLower();
}

// --- Telling what the bytes are ---

// Calls line(view, number) for each line, without its line break: CR LF, a
// lone CR and a lone LF end a line; a final line break starts no new one.
template <typename Text, typename Each> void forEachLine(Text text, Each&& line) {
    qsizetype pos = 0;
    qint64 number = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        line(text.sliced(pos, end - pos), ++number);
        pos = end;
        if (pos < size && text[pos++] == u'\r' && pos < size && text[pos] == u'\n')
            ++pos;
    }
}

// Binary data holds NUL bytes in most of its "lines"; text has none, or a
// stray one that makes only its own line unreadable.
bool looksBinary(QByteArrayView bytes) {
    qint64 lines = 0;
    qint64 withNul = 0;
    forEachLine(bytes.first(std::min(bytes.size(), SampleBytes)), [&](QByteArrayView line, qint64) {
        if (line.isEmpty())
            return;
        ++lines;
        if (line.contains('\0'))
            ++withNul;
    });
    return withNul > 0 && withNul * 3 >= lines;
}

bool hasHighByte(QByteArrayView line) {
    return std::any_of(line.begin(), line.end(), [](char c) { return (c & 0x80) != 0; });
}

const QString NulReason =
    QStringLiteral("Satırda NUL (0) karakteri var; bu bir metin satırı değil.");

// The text of the file, one line of the file a line, joined by LF. A line
// that cannot be read (a NUL, or not UTF-8 when UTF-8 is read) is told with
// its number and left empty, so that every other line keeps its number.
QString decodeText(const QByteArray& bytes, Encoding chosen, Result& result, Collector& collect) {
    QString text;
    text.reserve(bytes.size());
    const auto keep = [&](QStringView line, qint64 number) {
        if (line.contains(QChar(0)))
            collect.problem(number, NulReason);
        else
            text += line;
        text += u'\n';
    };
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        result.encodingName = QStringLiteral("UTF-16");
        result.encodingFixed = true;
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE,
                               QStringConverter::Flag::ConvertInitialBom);
        const QString whole = decoder(QByteArrayView(bytes).sliced(2));
        forEachLine(QStringView(whole), keep);
        return text;
    }
    const bool bom = bytes.startsWith(Utf8Bom);
    const QByteArrayView body = QByteArrayView(bytes).sliced(bom ? Utf8Bom.size() : 0);
    Encoding encoding = chosen;
    if (encoding == Encoding::Guess) {
        // UTF-8 unless more of the lines with other letters than ASCII fail
        // to read as UTF-8 than read: one stray byte spoils one line only.
        qint64 valid = 0;
        qint64 invalid = 0;
        forEachLine(body, [&](QByteArrayView line, qint64) {
            if (hasHighByte(line))
                ++(line.isValidUtf8() ? valid : invalid);
        });
        encoding = bom || invalid == 0 || valid > invalid ? Encoding::Utf8 : Encoding::Windows1254;
    }
    result.encoding = encoding;
    if (encoding == Encoding::Utf8) {
        result.encodingName = bom ? QStringLiteral("UTF-8, BOM ile") : QStringLiteral("UTF-8");
        // A U+FEFF that begins a line is a character of its word: only the
        // file's first bytes can be a byte-order mark.
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                        QStringConverter::Flag::ConvertInitialBom);
        forEachLine(body, [&](QByteArrayView line, qint64 number) {
            if (line.contains('\0')) {
                collect.problem(number, NulReason);
            } else if (!line.isValidUtf8()) {
                collect.problem(number, QStringLiteral("Satır UTF-8 olarak okunamadı; dosya "
                                                       "Windows-1254 ise kodlamayı değiştirin."));
            } else {
                text += utf8(line);
            }
            text += u'\n';
        });
        return text;
    }
    result.encodingName = QStringLiteral("Windows-1254");
    QStringDecoder decoder("windows-1254");
    // Without the code page the bytes read as Latin-1: no line is lost. One
    // byte is one character either way, so lines stay where they were.
    const QString whole = decoder.isValid() ? QString(decoder(body)) : QString::fromLatin1(body);
    forEachLine(QStringView(whole), keep);
    return text;
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

// --- The program's own word file ---

struct WordFileRecord {
    ModVokabo::WordDef word;
    bool passive = false;
};

// A line cut as the word file's reader cuts it, from the left.
std::optional<WordFileRecord> parseWordFileLine(QStringView line) {
    qsizetype bars[4];
    qsizetype from = 0;
    int found = 0;
    for (; found < 4; ++found) {
        bars[found] = line.indexOf(u'|', from);
        if (bars[found] < 0)
            break;
        from = bars[found] + 1;
    }
    if (found < 3)
        return std::nullopt;
    const qsizetype numberEnd = found == 4 ? bars[3] : line.size();
    const std::optional<qint16> Dogru =
        WordFile::parseDogru(line.sliced(bars[2] + 1, numberEnd - bars[2] - 1).toUtf8());
    if (!Dogru)
        return std::nullopt;
    const QStringView status = numberEnd < line.size() ? line.sliced(numberEnd + 1) : QStringView();
    return WordFileRecord{{line.first(bars[0]).toString(),
                           line.sliced(bars[0] + 1, bars[1] - bars[0] - 1).toString(),
                           line.sliced(bars[1] + 1, bars[2] - bars[1] - 1).toString(), *Dogru},
                          !status.isEmpty() && status != u"A"};
}

// Most of the first lines are records of the program's own word file.
bool looksLikeWordFile(QStringView text) {
    int lines = 0;
    int records = 0;
    qsizetype pos = 0;
    while (lines < 50 && pos < text.size()) {
        qsizetype end = text.indexOf(u'\n', pos);
        if (end < 0)
            end = text.size();
        const QStringView line = text.sliced(pos, end - pos);
        pos = end + 1;
        if (line.trimmed().isEmpty())
            continue;
        ++lines;
        if (parseWordFileLine(line))
            ++records;
    }
    return records > 0 && records * 10 >= lines * 6;
}

void readWordFile(QStringView text, Result& result, Collector& collect) {
    result.format = Format::WordFile;
    result.formatName = QStringLiteral("Vokabo dosyası");
    result.hasCounts = true;
    qint64 number = 0;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = text.indexOf(u'\n', pos);
        if (end < 0)
            end = text.size();
        const QStringView line = text.sliced(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!collect.tick(pos, text.size()))
            return;
        if (line.trimmed().isEmpty())
            continue;
        if (std::optional<WordFileRecord> parsed = parseWordFileLine(line)) {
            collect.add(number, parsed->word.English, parsed->word.Turkish, parsed->word.Ornek,
                        parsed->word.Dogru, parsed->passive);
        } else if (line.count(u'|') < 3) {
            collect.problem(number, QStringLiteral("Alan eksik: vokabo, karşılığı, örnek cümle ve "
                                                   "doğru sayısı “|” ile ayrılmalı."));
        } else {
            collect.problem(number, QStringLiteral("Doğru sayısı -32768 ile 32767 arasında bir "
                                                   "tam sayı değil."));
        }
    }
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

// What a column's name says it holds.
enum class Role { None, Word, Meaning, Example, Own };

// Column names as spreadsheets and teachers write them, folded: the word
// (or a foreign language), the meaning (or Turkish), the example.
Role roleNamed(QStringView name) {
    static const struct {
        const char16_t* word;
        Role role;
    } names[] = {
        {u"vokabo", Role::Word},         {u"kelime", Role::Word},
        {u"sözcük", Role::Word},         {u"sözcüğ", Role::Word},
        {u"sozcuk", Role::Word},         {u"word", Role::Word},
        {u"term", Role::Word},           {u"yabanci", Role::Word},
        {u"foreign", Role::Word},        {u"ingilizce", Role::Word},
        {u"english", Role::Word},        {u"englisch", Role::Word},
        {u"almanca", Role::Word},        {u"german", Role::Word},
        {u"deutsch", Role::Word},        {u"fransizca", Role::Word},
        {u"french", Role::Word},         {u"français", Role::Word},
        {u"französisch", Role::Word},    {u"ispanyolca", Role::Word},
        {u"spanish", Role::Word},        {u"español", Role::Word},
        {u"italyanca", Role::Word},      {u"italian", Role::Word},
        {u"rusça", Role::Word},          {u"russian", Role::Word},
        {u"arapça", Role::Word},         {u"arabic", Role::Word},
        {u"anlam", Role::Meaning},       {u"karşilik", Role::Meaning},
        {u"karşiliğ", Role::Meaning},    {u"karsilik", Role::Meaning},
        {u"meaning", Role::Meaning},     {u"bedeutung", Role::Meaning},
        {u"translation", Role::Meaning}, {u"übersetzung", Role::Meaning},
        {u"çeviri", Role::Meaning},      {u"ceviri", Role::Meaning},
        {u"definition", Role::Meaning},  {u"türkçe", Role::Meaning},
        {u"turkce", Role::Meaning},      {u"turkish", Role::Meaning},
        {u"türkisch", Role::Meaning},    {u"turkisch", Role::Meaning},
        {u"örnek", Role::Example},       {u"ornek", Role::Example},
        {u"example", Role::Example},     {u"beispiel", Role::Example},
        {u"cümle", Role::Example},       {u"cumle", Role::Example},
        {u"sentence", Role::Example},    {u"satz", Role::Example},
        {u"doğru", Role::Own},           {u"liste", Role::Own},
    };
    // Endings a name may carry: "Anlamı", "Kelimesi", "Words".
    static const char16_t* const endings[] = {u"i",   u"u",   u"ü",    u"si",   u"su", u"sü",
                                              u"ler", u"lar", u"leri", u"lari", u"s"};
    const QString text = folded(name);
    qsizetype end = 0;
    while (end < text.size() && text[end].isLetterOrNumber())
        ++end;
    // The first word only: "Örnek cümle", "İngilizce kelime".
    const QStringView first = QStringView(text).first(end);
    for (const auto& n : names) {
        const QStringView known(n.word);
        if (!first.startsWith(known))
            continue;
        const QStringView ending = first.sliced(known.size());
        if (ending.isEmpty() ||
            std::any_of(std::begin(endings), std::end(endings),
                        [&](const char16_t* e) { return ending == QStringView(e); }))
            return n.role;
    }
    return Role::None;
}

// A first row most of whose texts, two at least, name columns.
bool namesColumns(const QStringList& row) {
    qsizetype named = 0;
    qsizetype texts = 0;
    for (const QString& field : row) {
        if (field.trimmed().isEmpty())
            continue;
        ++texts;
        if (roleNamed(field) != Role::None)
            ++named;
    }
    return named >= 2 && named * 2 >= texts;
}

// This program's own column names, as its export writes them.
const QStringList OwnColumns{QStringLiteral("Vokabo"), QStringLiteral("Karşılığı"),
                             QStringLiteral("Örnek Cümle"), QStringLiteral("Doğru"),
                             QStringLiteral("Liste")};
constexpr int OwnCountColumn = 3;
constexpr int OwnListColumn = 4;

bool namesOwnColumns(const QStringList& names) {
    return names.size() >= 2 &&
           names[0].trimmed().compare(OwnColumns[0], Qt::CaseInsensitive) == 0 &&
           names[1].trimmed().compare(OwnColumns[1], Qt::CaseInsensitive) == 0;
}

// Letters only Turkish writes among the languages learnt here.
bool hasTurkishLetter(QStringView text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == u'ğ' || c == u'Ğ' || c == u'ı' || c == u'İ' || c == u'ş' || c == u'Ş';
    });
}

// The word, meaning and example columns: as the names say, else in this
// order; unnamed, a column that often has letters only Turkish writes is
// the meaning whatever its place.
Columns guessColumns(const QStringList& names, const QList<QStringList>& records, int count) {
    int found[3] = {-1, -1, -1};
    for (int i = 0; i < names.size(); ++i) {
        const Role role = roleNamed(names[i]);
        const int slot = role == Role::Word      ? 0
                         : role == Role::Meaning ? 1
                         : role == Role::Example ? 2
                                                 : -1;
        if (slot >= 0 && found[slot] < 0)
            found[slot] = i;
    }
    const bool named = found[0] >= 0 || found[1] >= 0;
    // The rest take the first columns left, in order.
    for (int slot = 0; slot < 3; ++slot)
        for (int i = 0; found[slot] < 0 && i < count; ++i)
            if (std::find(std::begin(found), std::end(found), i) == std::end(found))
                found[slot] = i;
    Columns columns{found[0], found[1], found[2]};
    if (!named) {
        qsizetype inWord = 0;
        qsizetype inMeaning = 0;
        for (const QStringList& record : records) {
            inWord += hasTurkishLetter(record.value(columns.word));
            inMeaning += hasTurkishLetter(record.value(columns.meaning));
        }
        if (inWord > 2 * inMeaning && inWord * 4 >= records.size())
            std::swap(columns.word, columns.meaning);
    }
    return columns;
}

// The separator that cuts the first records into the same number of
// columns, two or more, most often; tab before semicolon before comma.
QChar detectSeparator(QStringView text, const QString& fileName);

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

// A text the export begins with an apostrophe, so that a spreadsheet shows
// it as text and never as a formula: one or more apostrophes, then one of
// the characters a spreadsheet acts on.
bool guardedByApostrophe(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'\'')
        ++i;
    return i > 0 && i < text.size() && QStringView(u"=+-@\t\r").contains(text[i]);
}

// The records of a CSV or tab-separated text, each a list of field texts,
// after the flashcard lines at its top and without their comment lines and
// meta columns.
class DelimitedRecords {
public:
    DelimitedRecords(QStringView text, const QString& fileName)
        : scanner_(text), size_(text.size()) {
        while (!scanner_.atEnd() && readDirective(scanner_.peekLine(), directives_))
            scanner_.skipLine();
        separator_ = directives_.separator
                         ? *directives_.separator
                         : detectSeparator(text.sliced(scanner_.position()), fileName);
    }

    QChar separator() const { return separator_; }
    const Directives& directives() const { return directives_; }
    qsizetype position() const { return scanner_.position(); }
    qsizetype size() const { return size_; }

    // False at the end. unclosed: a quote ran to the end of the text.
    bool next(QStringList& fields, qint64& line, bool& unclosed) {
        // After directives, a line that begins with "#" is a comment there.
        while (directives_.any && !scanner_.atEnd() && scanner_.peekLine().startsWith(u'#'))
            scanner_.skipLine();
        line = scanner_.lineNumber();
        if (!scanner_.next(separator_, fields, unclosed))
            return false;
        for (qsizetype i = fields.size() - 1; i >= 0; --i)
            if (directives_.metaColumns.contains(i))
                fields.removeAt(i);
        for (QString& field : fields)
            field = directives_.html ? htmlToPlainText(field) : lineBreaksToBlanks(field);
        return true;
    }

private:
    RecordScanner scanner_;
    qsizetype size_;
    Directives directives_;
    QChar separator_;
};

bool isBlankRecord(const QStringList& fields) {
    return fields.size() == 1 && fields[0].trimmed().isEmpty();
}

QChar detectSeparator(QStringView text, const QString& fileName) {
    const QChar candidates[] = {u'\t', u';', u',', u'|'};
    QChar best = fileName.endsWith(u".csv", Qt::CaseInsensitive) ? u',' : u'\t';
    int bestScore = 0;
    for (QChar separator : candidates) {
        RecordScanner scanner(text);
        QStringList fields;
        bool unclosed = false;
        QHash<qsizetype, int> counts;
        for (int records = 0;
             records < SampleRecords && scanner.next(separator, fields, unclosed);) {
            if (isBlankRecord(fields))
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

void readDelimited(QStringView text, const QString& fileName, const Options& options,
                   Result& result, Collector& collect) {
    // The first records tell whether a header names the columns, and which
    // column holds what.
    QList<QStringList> sample;
    QStringList fields;
    qint64 line = 0;
    bool unclosed = false;
    {
        DelimitedRecords records(text, fileName);
        while (sample.size() < SampleRecords && records.next(fields, line, unclosed) && !unclosed)
            if (!isBlankRecord(fields))
                sample.append(fields);
    }
    DelimitedRecords records(text, fileName);
    const QChar separator = records.separator();
    const Directives& directives = records.directives();
    result.format = Format::Delimited;
    result.formatName = separatorName(separator);
    if (directives.html)
        result.formatName += QStringLiteral(", HTML alanlarla");

    const bool named = !directives.columns.isEmpty();
    result.header =
        !sample.isEmpty() && options.header.value_or(!named && namesColumns(sample.constFirst()));
    const QStringList names = named           ? directives.columns.split(separator)
                              : result.header ? sample.constFirst()
                                              : QStringList();
    const QList<QStringList> data = result.header ? sample.mid(1) : sample;
    int count = static_cast<int>(names.size());
    for (const QStringList& record : sample)
        count = std::max(count, static_cast<int>(record.size()));
    for (int i = 0; i < count; ++i) {
        QString name = names.value(i).trimmed();
        if (name.isEmpty() && !data.isEmpty())
            name = data.constFirst().value(i).trimmed();
        result.columnNames.append(name);
    }
    result.hasCounts = namesOwnColumns(names);
    result.columns = options.columns.value_or(guessColumns(names, data, count));
    const Columns columns = result.columns;
    // The export's guard against formulas, taken off again.
    const bool unguard = result.hasCounts && separator != u'\t';

    bool first = true;
    while (records.next(fields, line, unclosed)) {
        if (!collect.tick(records.position(), records.size()))
            return;
        if (unclosed) {
            collect.problem(line, QStringLiteral("Tırnak işareti kapanmamış; satır dosyanın "
                                                 "sonuna kadar sürüyor."));
            break;
        }
        if (isBlankRecord(fields))
            continue;
        if (std::exchange(first, false) && result.header)
            continue;
        if (fields.size() < 2) {
            collect.problem(line, QStringLiteral("Karşılığı yok: satırda tek sütun var."));
            continue;
        }
        if (unguard)
            for (QString& field : fields)
                if (guardedByApostrophe(field))
                    field.remove(0, 1);
        qint16 Dogru = 0;
        bool passive = false;
        if (result.hasCounts && fields.size() > OwnCountColumn) {
            Dogru = WordFile::parseDogru(fields[OwnCountColumn].toUtf8()).value_or(0);
            passive = fields.value(OwnListColumn).trimmed() == u"P";
        }
        collect.add(line, fields.value(columns.word), fields.value(columns.meaning),
                    columns.example >= 0 ? fields.value(columns.example) : QString(), Dogru,
                    passive);
    }
}

// --- KVTML 2 ---

struct Translation {
    QString text;
    QString example;
    QString comment;
};

void readTranslation(QXmlStreamReader& xml, Translation& translation) {
    while (xml.readNextStartElement()) {
        if (xml.name() == u"text")
            translation.text = lineBreaksToBlanks(xml.readElementText());
        else if (xml.name() == u"example")
            translation.example = lineBreaksToBlanks(xml.readElementText());
        else if (xml.name() == u"comment")
            translation.comment = lineBreaksToBlanks(xml.readElementText());
        else
            xml.skipCurrentElement();
    }
}

struct Language {
    QString id;
    QString name;
    QString locale;
};

// Turkish by its locale code, or by its name in Turkish, English or German.
bool isTurkish(const Language& language) {
    const QString locale = language.locale.trimmed().toLower();
    if (locale == u"tr" || locale.startsWith(u"tr_") || locale.startsWith(u"tr-"))
        return true;
    const QString name = folded(language.name);
    for (const char16_t* turkish : {u"türkçe", u"turkce", u"turkish", u"türkisch", u"turkisch"})
        if (name == QStringView(turkish))
            return true;
    return false;
}

// The foreign language as the word, Turkish as the meaning; without
// Turkish the first two; with one language, its hints as the meanings.
Languages guessLanguages(const QList<Language>& languages) {
    if (languages.size() < 2)
        return {0, HintLanguage};
    const auto turkish = std::find_if(languages.cbegin(), languages.cend(), isTurkish);
    if (turkish == languages.cend())
        return {0, 1};
    const int meaning = static_cast<int>(turkish - languages.cbegin());
    return {meaning == 0 ? 1 : 0, meaning};
}

QList<Language> readIdentifiers(QXmlStreamReader& xml) {
    QList<Language> languages;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"identifier") {
            xml.skipCurrentElement();
            continue;
        }
        Language language{xml.attributes().value(QStringLiteral("id")).toString(), {}, {}};
        while (xml.readNextStartElement()) {
            if (xml.name() == u"locale")
                language.locale = xml.readElementText();
            else if (xml.name() == u"name")
                language.name = xml.readElementText().simplified();
            else
                xml.skipCurrentElement();
        }
        languages.append(language);
    }
    return languages;
}

void readKvtml(const QByteArray& bytes, const Options& options, Result& result,
               Collector& collect) {
    result.format = Format::Kvtml;
    result.formatName = QStringLiteral("KVTML 2");
    result.encodingName = QStringLiteral("XML");
    result.encodingFixed = true;
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
    QList<Language> languages;
    bool hints = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"identifiers") {
            languages = readIdentifiers(xml);
            for (int i = 0; i < languages.size(); ++i) {
                const Language& language = languages[i];
                result.languageNames.append(!language.name.isEmpty() ? language.name
                                            : !language.locale.isEmpty()
                                                ? language.locale
                                                : QStringLiteral("%1. dil").arg(i + 1));
            }
        } else if (xml.name() == u"entries") {
            result.languages = options.languages.value_or(guessLanguages(languages));
            const auto idOf = [&](int index) {
                return index >= 0 && index < languages.size() ? languages[index].id
                                                              : QString::number(index);
            };
            const QString wordId = idOf(result.languages.word);
            const bool hint = result.languages.meaning == HintLanguage;
            const QString meaningId = hint ? QString() : idOf(result.languages.meaning);
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
                hints = hints || !word.comment.isEmpty();
                collect.add(line, word.text, hint ? word.comment : meaning.text,
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
    // A list of words in one language (a word game's, say) has nothing to
    // learn them by, unless its hints are taken.
    if (languages.size() == 1 && result.languages.meaning == HintLanguage && !hints) {
        result.entries.clear();
        result.problems.clear();
        result.problemCount = 0;
        result.refusal = QStringLiteral("Bu dosyada tek dil var (%1): vokabolerin karşılıkları "
                                        "yok. Hiçbir vokabo eklenmedi.")
                             .arg(result.languageNames.constFirst());
    } else if (languages.size() == 1 && result.languages.meaning == HintLanguage) {
        result.note = QStringLiteral("Bu dosyada tek dil var (%1); vokabolerin ipuçları "
                                     "karşılık olarak alındı.")
                          .arg(result.languageNames.constFirst());
    }
}

QString tooLarge(qint64 size) {
    const QLocale turkish(QLocale::Turkish);
    const auto megabytes = [&](qint64 bytes) {
        return turkish.toString(double(bytes) / (1024 * 1024), 'f', 1);
    };
    // Just over the limit shows as the limit in megabytes: then in bytes.
    const QString shown = megabytes(size) != megabytes(MaxFileBytes)
                              ? QStringLiteral("%1 MB").arg(megabytes(size))
                              : QStringLiteral("%1 bayt").arg(turkish.toString(size));
    return QStringLiteral("Dosya çok büyük (%1). Vokabo eklemek için en çok %2 MB'lık (%3 bayt) "
                          "dosyalar okunur; hiçbir vokabo eklenmedi.")
        .arg(shown)
        .arg(MaxFileBytes / (1024 * 1024))
        .arg(turkish.toString(MaxFileBytes));
}

QString keyOf(const ModVokabo::WordDef& word) {
    return word.English.trimmed() + u'\x1f' + word.Turkish.trimmed();
}

} // namespace

Result read(const QByteArray& bytes, const QString& fileName, const Options& options,
            const Progress& progress) {
    Result result;
    Collector collect(result, progress);
    if (bytes.size() > MaxFileBytes) {
        result.refusal = tooLarge(bytes.size());
        return result;
    }
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!utf16 && looksBinary(bytes)) {
        result.refusal = QStringLiteral("Bu dosya bir metin dosyası değil; içinden vokabo "
                                        "okunamaz. Hiçbir vokabo eklenmedi.");
        return result;
    }
    if (!utf16 && (startsWithXml(bytes) || fileName.endsWith(u".kvtml", Qt::CaseInsensitive))) {
        readKvtml(bytes, options, result, collect);
    } else {
        const QString text = decodeText(bytes, options.encoding, result, collect);
        Directives directives;
        const bool directivesFirst = readDirective(RecordScanner(text).peekLine(), directives);
        if (!directivesFirst && !utf16 && looksLikeWordFile(text))
            readWordFile(text, result, collect);
        else
            readDelimited(text, fileName, options, result, collect);
    }
    // Lines that could not be decoded were told first: all by line now.
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    if (result.refusal.isEmpty() && !result.cancelled && result.entries.isEmpty())
        result.refusal = QStringLiteral("Dosyada okunabilen vokabo bulunamadı.");
    return result;
}

QString load(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (QFileInfo(path).isDir())
        return QStringLiteral("Bu ad bir klasöre ait.");
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Dosya açılamadı: %1").arg(file.errorString());
    // Refused unread, so that a huge file costs no memory.
    if (file.size() > MaxFileBytes)
        return tooLarge(file.size());
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Dosya okunamadı: %1").arg(file.errorString());
    return {};
}

Result readFile(const QString& path, const Options& options, const Progress& progress) {
    QByteArray bytes;
    if (QString refusal = load(path, bytes); !refusal.isEmpty()) {
        Result result;
        result.refusal = std::move(refusal);
        return result;
    }
    return read(bytes, path, options, progress);
}

Plan plan(const QList<Entry>& entries, const ModVokabo::WordList& active,
          const ModVokabo::WordList& passive, bool keepCounts) {
    Plan plan;
    QSet<QString> inLists;
    inLists.reserve(active.size() + passive.size());
    for (const ModVokabo::WordDef& word : active)
        inLists.insert(keyOf(word));
    for (const ModVokabo::WordDef& word : passive)
        inLists.insert(keyOf(word));
    QSet<QString> fromFile;
    const auto roomIn = [](const ModVokabo::WordList& list) {
        return std::max<qsizetype>(0, MaxListSize - list.size());
    };
    const qsizetype activeRoom = roomIn(active);
    const qsizetype passiveRoom = roomIn(passive);
    for (const Entry& entry : entries) {
        const QString key = keyOf(entry.word);
        if (inLists.contains(key)) {
            ++plan.alreadyInLists;
            continue;
        }
        if (fromFile.contains(key)) {
            ++plan.repeatedInFile;
            continue;
        }
        fromFile.insert(key);
        const bool toPassive = keepCounts && entry.passive;
        ModVokabo::WordList& list = toPassive ? plan.passive : plan.active;
        if (list.size() >= (toPassive ? passiveRoom : activeRoom))
            ++plan.noRoom;
        else if (keepCounts)
            list.append(entry.word);
        else
            list.append({entry.word.English, entry.word.Turkish, entry.word.Ornek, 0});
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
