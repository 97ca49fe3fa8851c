#include "words/WordFilter.h"

namespace WordFilter {

namespace {
template <char16_t CapitalI> QString foldWith(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            *o++ = u >= u'A' && u <= u'Z' ? (u == u'I' ? CapitalI : char16_t(u + 32)) : u;
        else if (u == u'\u0130') // İ
            *o++ = u'i';
        else
            *o++ = c.toLower().unicode();
    }
    return out;
}
} // namespace

QString turkishFold(QStringView text) {
    return foldWith<u'\u0131'>(text);
}

QString plainFold(QStringView text) {
    return foldWith<u'i'>(text);
}

FoldedLine fold(QStringView word, QStringView meaning) {
    return {turkishFold(word), plainFold(word), turkishFold(meaning)};
}

Matcher::Matcher(const QString& text)
    : turkish_(turkishFold(text), Qt::CaseSensitive), plain_(plainFold(text), Qt::CaseSensitive) {}

bool Matcher::matches(const FoldedLine& line) const {
    return turkish_.indexIn(line.meaning) >= 0 || turkish_.indexIn(line.word) >= 0 ||
           plain_.indexIn(line.wordPlain) >= 0;
}

} // namespace WordFilter
