#include "words/WordExport.h"

#include <QSaveFile>

namespace WordExport {

namespace {

const char16_t* const ColumnNames[] = {u"Vokabo", u"Karşılığı", u"Örnek Cümle", u"Doğru", u"Liste"};

// Quotes a field by RFC 4180 where it would otherwise be read differently:
// it holds the separator, a quote or a line break, or it begins with "#",
// which flashcard programs take for a comment.
void appendField(QString& out, const QString& field, QChar separator) {
    const bool quote = field.contains(separator) || field.contains(u'"') || field.contains(u'\r') ||
                       field.contains(u'\n') || field.startsWith(u'#');
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

} // namespace

QByteArray toBytes(Format format, const QList<Section>& sections) {
    const QChar separator = format == Format::Csv ? u';' : u'\t';
    QString text;
    if (format == Format::Tab)
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
            appendField(text, word.English, separator);
            text += separator;
            appendField(text, word.Turkish, separator);
            text += separator;
            appendField(text, word.Ornek, separator);
            text += separator;
            text += QString::number(word.Dogru);
            text += separator;
            text += section.status;
            text += u"\r\n";
        }
    }
    QByteArray bytes = text.toUtf8();
    if (format == Format::Csv)
        bytes.prepend("\xEF\xBB\xBF");
    return bytes;
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
