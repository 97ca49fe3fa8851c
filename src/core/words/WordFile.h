#pragma once

#include "words/WordDef.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <optional>

// The word file's text format: one record a line, fields separated by '|',
// 8-bit Windows-1254 unless the text needs UTF-8.
namespace WordFile {

enum class Encoding { Windows1254, Utf8, Utf8Bom };

struct ParsedLine {
    ModVokabo::WordDef word;
    bool active = true;
    bool operator==(const ParsedLine&) const = default;
};

// How bytes are read: a byte-order mark, or valid UTF-8 with a multi-byte
// sequence, is UTF-8; anything else Windows-1254.
Encoding guessEncoding(QByteArrayView bytes);

// A file put together from two sources may hold lines of both encodings:
// each line is then read in its own. In a file marked UTF-8, a line that is
// not valid UTF-8 is Windows-1254; in a Windows-1254 file, a line that is
// valid UTF-8 with a multi-byte sequence is UTF-8.

// Cuts a word file into lines and records straight from its bytes: only the
// fields a record keeps are ever decoded.
class Reader {
public:
    explicit Reader(const QByteArray& bytes);
    Encoding encoding() const { return encoding_; }
    // How many of the lines so far were in the other encoding than the file's.
    qint64 otherEncodingLines() const { return otherLines_; }

    // The next line, without its line break; false at the end. CR LF, a lone
    // CR and a lone LF all end a line, and a final line break does not start
    // another line.
    bool nextLine(QByteArrayView& line);

    // Cuts the fields from the left; nullopt when the line is not a record.
    std::optional<ParsedLine> parse(QByteArrayView line);

    // Text of the line nextLine gave last, in that line's encoding.
    QString decode(QByteArrayView bytes);

private:
    QByteArray bytes_;
    QByteArrayView text_;
    qsizetype pos_ = 0;
    // Where the next CR and LF are, so that each is searched for only once.
    qsizetype nextCr_ = -1;
    qsizetype nextLf_ = -1;
    Encoding encoding_;
    // The encoding of the line nextLine gave last.
    Encoding lineEncoding_;
    qint64 otherLines_ = 0;
    // Keeps a U+FEFF that starts a field: only the file's first bytes can be
    // a byte-order mark.
    QStringDecoder utf8_;
};

// A whole number in the 16-bit range; blanks around it and a sign allowed.
std::optional<qint16> parseDogru(QByteArrayView text);

// Appends one record and its CR LF.
void appendLine(QString& out, const ModVokabo::WordDef& word, QChar status);

// Encodes in the given encoding. Where the bytes would be read back as other
// text (Windows-1254 cannot hold a character, or a line's bytes would pass
// for UTF-8 or the first ones for a byte-order mark), the encoding becomes
// UTF-8 with a byte-order mark. No text gives no bytes, whatever the encoding.
QByteArray encode(const QString& text, Encoding& encoding);

} // namespace WordFile
