#include "words/WordExport.h"

#include "platform/Clock.h"

#include <QLocale>
#include <QSaveFile>
#include <QXmlStreamWriter>

namespace WordExport {

namespace {

const char16_t* const ColumnNames[] = {u"Vokabo", u"Karşılığı", u"Örnek Cümle", u"Doğru", u"Liste"};

// A text beginning with one of these is a formula (or a cell's control) to
// a spreadsheet; so is one that begins with apostrophes and then one of
// them, since the apostrophe is what the import takes off again.
bool spreadsheetWouldAct(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'\'')
        ++i;
    return i < text.size() && QStringView(u"=+-@\t\r").contains(text[i]);
}

// Quotes a field by RFC 4180 where it would otherwise be read differently:
// it holds the separator, a tab (which a spreadsheet may be told to cut at
// too), a quote or a line break, or it begins with "#", which flashcard
// programs take for a comment.
void appendField(QString& out, QString field, QChar separator, bool guardFormulas) {
    if (guardFormulas && spreadsheetWouldAct(field))
        field.prepend(u'\'');
    const bool quote = field.contains(separator) || field.contains(u'\t') || field.contains(u'"') ||
                       field.contains(u'\r') || field.contains(u'\n') || field.startsWith(u'#');
    if (!quote) {
        out += field;
        return;
    }
    out += u'"';
    for (QChar c : field) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

QByteArray delimited(Format format, const QList<Section>& sections) {
    const bool csv = format == Format::Csv;
    const QChar separator = csv ? u';' : u'\t';
    QString text;
    if (!csv)
        text += QStringLiteral("#separator:tab\r\n#html:false\r\n#columns:");
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            text += separator;
        text += QString::fromUtf16(ColumnNames[i]);
    }
    text += u"\r\n";
    for (const Section& section : sections) {
        for (const ModVokabo::WordDef& word : *section.words) {
            // As in the word file, a word without its word is not written.
            if (word.English.isEmpty())
                continue;
            appendField(text, word.English, separator, csv);
            text += separator;
            appendField(text, word.Turkish, separator, csv);
            text += separator;
            appendField(text, word.Ornek, separator, csv);
            text += separator;
            text += QString::number(word.Dogru);
            text += separator;
            text += section.status;
            text += u"\r\n";
        }
    }
    QByteArray bytes = text.toUtf8();
    if (csv)
        bytes.prepend("\xEF\xBB\xBF");
    return bytes;
}

// XML 1.0 cannot hold most control characters, nor a lone surrogate: each
// becomes the replacement character.
QString xmlText(const QString& text) {
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out[i].unicode();
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < out.size() &&
                          QChar::isLowSurrogate(out[i + 1].unicode());
        if (pair) {
            ++i;
            continue;
        }
        if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || QChar::isSurrogate(c) ||
            c == 0xFFFE || c == 0xFFFF)
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}

QByteArray kvtml(const QList<Section>& sections, const QString& foreignLanguage) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" "
                                "\"http://edu.kde.org/kvtml/kvtml2.dtd\">"));
    xml.writeStartElement(QStringLiteral("kvtml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("information"));
    xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("Vokabo Retano"));
    xml.writeTextElement(QStringLiteral("title"), QStringLiteral("Vokaboler"));
    xml.writeTextElement(QStringLiteral("date"),
                         Now().date().toString(QStringLiteral("yyyy-MM-dd")));
    xml.writeEndElement();

    const QLocale::Language language = QLocale(foreignLanguage).language();
    const struct {
        QString name;
        QString locale;
    } languages[] = {
        {language == QLocale::C ? foreignLanguage : QLocale::languageToString(language),
         foreignLanguage},
        {QStringLiteral("Türkçe"), QStringLiteral("tr")}};
    xml.writeStartElement(QStringLiteral("identifiers"));
    for (int id = 0; id < 2; ++id) {
        xml.writeStartElement(QStringLiteral("identifier"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        xml.writeTextElement(QStringLiteral("name"), languages[id].name);
        xml.writeTextElement(QStringLiteral("locale"), languages[id].locale);
        xml.writeEndElement();
    }
    xml.writeEndElement();

    const auto translation = [&xml](int id, const QString& text, const QString& example) {
        xml.writeStartElement(QStringLiteral("translation"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        xml.writeTextElement(QStringLiteral("text"), xmlText(text));
        if (!example.isEmpty())
            xml.writeTextElement(QStringLiteral("example"), xmlText(example));
        xml.writeEndElement();
    };
    // Each list is a lesson of its own; vocabulary trainers show only the
    // entries that some lesson holds.
    QList<QList<int>> lessons;
    int next = 0;
    xml.writeStartElement(QStringLiteral("entries"));
    for (const Section& section : sections) {
        QList<int>& lesson = lessons.emplace_back();
        for (const ModVokabo::WordDef& word : *section.words) {
            if (word.English.isEmpty())
                continue;
            xml.writeStartElement(QStringLiteral("entry"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(next));
            translation(0, word.English, word.Ornek);
            translation(1, word.Turkish, {});
            xml.writeEndElement();
            lesson.append(next++);
        }
    }
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("lessons"));
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const bool active = sections[i].status == u'A';
        xml.writeStartElement(QStringLiteral("container"));
        xml.writeTextElement(QStringLiteral("name"), active ? QStringLiteral("Aktif Vokaboler")
                                                            : QStringLiteral("Pasif Vokaboler"));
        // Retired words are not practised.
        xml.writeTextElement(QStringLiteral("inpractice"),
                             active ? QStringLiteral("true") : QStringLiteral("false"));
        for (int entry : std::as_const(lessons[i])) {
            xml.writeEmptyElement(QStringLiteral("entry"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(entry));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

} // namespace

QByteArray toBytes(Format format, const QList<Section>& sections, const QString& foreignLanguage) {
    return format == Format::Kvtml ? kvtml(sections, foreignLanguage) : delimited(format, sections);
}

QString save(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Dosya yazılmak üzere açılamadı: %1").arg(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = QStringLiteral("Dosya yazılamadı: %1").arg(file.errorString());
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return QStringLiteral("Dosya diske yazılıp yerine konamadı: %1").arg(file.errorString());
    return {};
}

} // namespace WordExport
