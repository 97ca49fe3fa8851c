#include "quiz/Quiz.h"

#include "platform/Clock.h"

#include <algorithm>
#include <cmath>

namespace Quiz {

namespace {
// A uniform index in 1..n.
int drawIndex(int n) {
    return static_cast<int>(std::floor(Rnd() * n)) + 1;
}

// How often a word the learner once took for the asked one is among the
// answers, when there is one.
constexpr double ConfusionShare = 0.5;

// Nearest integer, a tie going to the even neighbour.
int nearestEven(double x) {
    return static_cast<int>(std::nearbyint(x));
}
} // namespace

namespace {
// UTF-16 units taken by the first n characters of text.
qsizetype unitsOf(QStringView text, qsizetype n) {
    qsizetype units = 0;
    for (; n > 0 && units < text.size(); --n)
        units += text[units].isHighSurrogate() && units + 1 < text.size() &&
                         text[units + 1].isLowSurrogate()
                     ? 2
                     : 1;
    return units;
}
} // namespace

qsizetype characterCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype units = 0; units < text.size(); units += unitsOf(text.sliced(units), 1))
        ++count;
    return count;
}

QString shortenQuestion(const QString& text) {
    if (characterCount(text) <= MaxQuestionLength)
        return text;
    return text.left(unitsOf(text, MaxQuestionLength - 3)) + QStringLiteral("...");
}

namespace {
// Draws the direction and the wrong answers for the word at idx (from 1);
// confusion: a word (from 1) that takes the first wrong answer's slot when a
// draw of its own says so, 0 for none.
std::optional<Question> composeAround(const ModVokabo::WordList& words, int idx, int confusion,
                                      int SecenekSay, int sor_tur) {
    const int n = static_cast<int>(words.size());
    Question q;
    const int d = nearestEven(Rnd() * (sor_tur - 1));
    q.showsMeaning = d != 0;
    const ModVokabo::WordDef& asked = words[idx - 1];
    auto answerOf = [&](const ModVokabo::WordDef& w) {
        return q.showsMeaning ? w.English : w.Turkish;
    };
    q.text = (q.showsMeaning ? asked.Turkish : asked.English) + QStringLiteral(" ?");
    q.VokaboInd = idx - 1;
    q.OrnekCumle = asked.Ornek;
    q.text = shortenQuestion(q.text);

    QList<int> used(SecenekSay, -1);
    q.answers.append(answerOf(asked));
    q.answerWords.append(idx - 1);
    used[0] = idx;
    int k = 1;
    if (confusion > 0 && SecenekSay > 1 && Rnd() < ConfusionShare) {
        used[k++] = confusion;
        q.answers.append(answerOf(words[confusion - 1]));
        q.answerWords.append(confusion - 1);
    }
    for (; k < SecenekSay; ++k) {
        int j = -1;
        for (int tries = 1;; ++tries) {
            if (tries >= MaxTriesPerSlot)
                return std::nullopt;
            j = drawIndex(n);
            if (!used.contains(j))
                break;
        }
        used[k] = j;
        q.answers.append(answerOf(words[j - 1]));
        q.answerWords.append(j - 1);
    }
    return q;
}
} // namespace

std::optional<Question> composeQuestion(const ModVokabo::WordList& words, int SecenekSay,
                                        int sor_tur) {
    const int n = static_cast<int>(words.size());
    if (n < SecenekSay || n == 0)
        return std::nullopt;
    return composeAround(words, drawIndex(n), 0, SecenekSay, sor_tur);
}

std::optional<Question> composeQuestionOn(const ModVokabo::WordList& words, int asked,
                                          const QList<int>& confusions, int SecenekSay,
                                          int sor_tur) {
    const int n = static_cast<int>(words.size());
    if (n < SecenekSay || asked < 0 || asked >= n)
        return std::nullopt;
    const auto other = std::find_if(confusions.begin(), confusions.end(),
                                    [&](int j) { return j >= 0 && j < n && j != asked; });
    return composeAround(words, asked + 1, other == confusions.end() ? 0 : *other + 1, SecenekSay,
                         sor_tur);
}

int drawRightSlot(int SecenekSay) {
    return drawIndex(SecenekSay);
}

int drawCharacter(int pictureCount) {
    return nearestEven(Rnd() * (pictureCount - 1));
}

QString questionTitle(qint16 Dogru) {
    if (Dogru <= 0)
        return QStringLiteral("Yeni ya da bilemediğiniz vokabo !");
    return QStringLiteral("Bu vokaboyi son %1 soruda bildiniz...").arg(Dogru);
}

qint16 nextCount(qint16 Dogru) {
    return Dogru < 32767 ? static_cast<qint16>(Dogru + 1) : Dogru;
}

std::optional<int> findAskedWord(const ModVokabo::WordList& active, int VokaboInd,
                                 const ModVokabo::WordDef& asked) {
    auto same = [&](const ModVokabo::WordDef& w) {
        return w.English == asked.English && w.Turkish == asked.Turkish && w.Ornek == asked.Ornek;
    };
    if (VokaboInd >= 0 && VokaboInd < active.size() && same(active[VokaboInd]))
        return VokaboInd;
    const auto it = std::find_if(active.begin(), active.end(), same);
    if (it == active.end())
        return std::nullopt;
    return static_cast<int>(it - active.begin());
}

SeriesOutcome endQuestion(Series& series, bool Bildi, qint16 sorusay, const QDateTime& now) {
    if (Bildi) {
        series.SoruSayac = nextCount(series.SoruSayac);
        if (sorusay <= 0 || series.SoruSayac != sorusay)
            return {QDateTime()};
        series.SoruSayac = 0;
        return {now};
    }
    series.SoruSayac = 0;
    series.ElleSor = false;
    return {now};
}

WindowFit fitWindow(const QList<int>& answerRights, double questionTextWidth, int lblSoruLeft,
                    int balloonRightWidth, int SecenekSay) {
    WindowFit fit;
    int W = 0;
    for (int right : answerRights)
        W = std::max(W, right);
    const int q = nearestEven(questionTextWidth + lblSoruLeft + balloonRightWidth);
    W = std::max(W, q);
    W = std::min(W, MaxContentWidth) + ContentMargin;
    fit.W = W;
    fit.widen = W >= DesignedQuestionAreaWidth;
    if (SecenekSay > 4)
        fit.extraHeight = (SecenekSay - 4) * AnswerStep;
    return fit;
}

} // namespace Quiz
