#include "words/WordFilter.h"

#include <QStringMatcher>
#include <algorithm>
#include <array>

namespace WordFilter {

namespace {
constexpr char16_t Separator = u'\x1f';

// Every character's lower case, İ as i; built once, then one look-up a
// character.
struct LowerCase {
    std::array<char16_t, 0x10000> of{};
    LowerCase() {
        for (char32_t u = 0; u < 0x10000; ++u)
            of[u] = QChar(char16_t(u)).toLower().unicode();
        of[0x130] = u'i';
    }
};

template <char16_t CapitalI> char16_t* fold(char16_t* o, QStringView text) {
    static const LowerCase lower;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        *o++ = u == u'I' ? CapitalI : lower.of[u];
    }
    return o;
}

// Room for n more characters after used: the text is written through a
// pointer, never resized a character at a time.
char16_t* roomFor(QString& text, qsizetype used, qsizetype n) {
    if (used + n > text.size())
        text.resize(std::max(used + n, text.size() * 2));
    return reinterpret_cast<char16_t*>(text.data()) + used;
}

// Marks the lines in which text occurs; starts: where each line begins.
void mark(QStringView text, QStringView folded, const std::vector<qsizetype>& starts,
          std::vector<char>& hit) {
    const QStringMatcher matcher(text.data(), text.size(), Qt::CaseSensitive);
    qsizetype from = 0;
    qsizetype found;
    while ((found = matcher.indexIn(folded, from)) >= 0) {
        const auto line =
            std::upper_bound(starts.begin(), starts.end(), found) - starts.begin() - 1;
        hit[static_cast<size_t>(line)] = 1;
        // The rest of this line can tell nothing more.
        const auto next = static_cast<size_t>(line) + 1;
        if (next >= starts.size())
            break;
        from = starts[next];
    }
}
} // namespace

QString turkishFold(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    fold<u'\u0131'>(reinterpret_cast<char16_t*>(out.data()), text);
    return out;
}

QString plainFold(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    fold<u'i'>(reinterpret_cast<char16_t*>(out.data()), text);
    return out;
}

bool matches(QStringView text, QStringView word, QStringView meaning) {
    Index line;
    line.add(word, meaning);
    return !line.find(text).empty();
}

void Index::reserve(qsizetype lines, qsizetype characters) {
    turkishStarts_.reserve(static_cast<size_t>(lines));
    plainStarts_.reserve(static_cast<size_t>(lines));
    roomFor(turkish_, turkishUsed_, characters + 2 * lines);
    roomFor(plain_, plainUsed_, characters + lines);
}

void Index::add(QStringView word, QStringView meaning) {
    turkishStarts_.push_back(turkishUsed_);
    char16_t* start = roomFor(turkish_, turkishUsed_, word.size() + meaning.size() + 2);
    char16_t* o = fold<u'\u0131'>(start, word);
    *o++ = Separator;
    o = fold<u'\u0131'>(o, meaning);
    *o++ = Separator;
    turkishUsed_ += o - start;

    plainStarts_.push_back(plainUsed_);
    start = roomFor(plain_, plainUsed_, word.size() + 1);
    o = fold<u'i'>(start, word);
    *o++ = Separator;
    plainUsed_ += o - start;
}

void Index::clear() {
    turkishUsed_ = 0;
    plainUsed_ = 0;
    turkishStarts_.clear();
    plainStarts_.clear();
}

std::vector<int> Index::find(QStringView text) const {
    // Control characters cannot be typed into a line; they would only
    // match the separators.
    QString query;
    for (QChar c : text)
        if (c.unicode() >= 0x20)
            query += c;
    std::vector<int> lines;
    if (query.isEmpty()) {
        lines.resize(static_cast<size_t>(size()));
        for (size_t i = 0; i < lines.size(); ++i)
            lines[i] = static_cast<int>(i);
        return lines;
    }
    std::vector<char> hit(static_cast<size_t>(size()), 0);
    mark(turkishFold(query), QStringView(turkish_).first(turkishUsed_), turkishStarts_, hit);
    mark(plainFold(query), QStringView(plain_).first(plainUsed_), plainStarts_, hit);
    for (size_t i = 0; i < hit.size(); ++i)
        if (hit[i])
            lines.push_back(static_cast<int>(i));
    return lines;
}

} // namespace WordFilter
