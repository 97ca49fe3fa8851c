#pragma once

#include "words/WordDef.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

// The word file's text format: one record a line, fields separated by '|',
// 8-bit Windows-1254 unless the text needs UTF-8.
namespace WordFile {

enum class Encoding { Windows1254, Utf8, Utf8Bom };

struct ParsedLine {
    ModVokabo::WordDef word;
    bool active = true;
};

// Cuts the fields from the left; nullopt when the line is not a record.
std::optional<ParsedLine> parseLine(QStringView line);

// A whole number in the 16-bit range, blanks around it and a sign allowed.
std::optional<qint16> parseDogru(QStringView text);

// Appends one record and its CR LF.
void appendLine(QString& out, const ModVokabo::WordDef& word, QChar status);

// Calls f for every line; CR LF, a lone CR and a lone LF all end a line, and a
// final line break does not start another line.
template <typename F> qint64 forEachLine(QStringView text, F&& f) {
    qint64 count = 0;
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        f(text.sliced(start, end - start));
        ++count;
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return count;
}

// Decodes the file and tells its encoding: a byte-order mark or valid UTF-8
// with a multi-byte sequence is UTF-8, anything else Windows-1254.
QString decode(const QByteArray& bytes, Encoding& encoding);

// Encodes in the given encoding; when Windows-1254 cannot hold the text the
// encoding becomes UTF-8 with a byte-order mark.
QByteArray encode(const QString& text, Encoding& encoding);

bool windows1254Available();

} // namespace WordFile
