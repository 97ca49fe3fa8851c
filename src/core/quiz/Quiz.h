#pragma once

#include "words/WordDef.h"

#include <QDateTime>
#include <QStringList>
#include <optional>

// Composing a question, judging it, and the series of questions.
namespace Quiz {

// The series of questions under way, kept by the main window from one
// question to the next.
struct Series {
    // Right answers confirmed so far in the current series.
    qint16 SoruSayac = 0;
    // The user asked for a question: one may open although scheduled
    // questions are switched off or held.
    bool ElleSor = false;
};

struct Question {
    int VokaboInd = 0;   // the asked word's position in the active list, from 0
    QString text;        // the question, whichever side of the word it shows
    QString OrnekCumle;  // the asked word's example sentence
    QStringList answers; // the right answer first, then the wrong ones
    // Each answer's word, by its position in the active list, in the same order.
    QList<int> answerWords;
    bool showsMeaning = false;
};

inline constexpr int MaxQuestionLength = 50;
inline constexpr int MaxTriesPerSlot = 100;

// Draws the asked word, the direction and the wrong answers from the random
// source, in that order. Nullopt when there are fewer words than choices, or
// when a slot found no unused word within its tries.
std::optional<Question> composeQuestion(const ModVokabo::WordList& words, int SecenekSay,
                                        int sor_tur);

// The question on the word at position `asked`, its direction and wrong
// answers drawn as composeQuestion draws them, except that in half the
// questions (a draw of its own, after the direction) the first wrong answer is
// the first of `confusions` (positions of words whose answers the learner
// chose for this one before) that is another word of the list.
std::optional<Question> composeQuestionOn(const ModVokabo::WordList& words, int asked,
                                          const QList<int>& confusions, int SecenekSay,
                                          int sor_tur);

// Cuts a question text longer than 50 characters to 47 plus "...".
QString shortenQuestion(const QString& text);

// Characters as the user sees them: one outside the Basic Multilingual Plane
// (an emoji, say) is two UTF-16 units but one character, never cut in two.
qsizetype characterCount(QStringView text);

// The 1-based slot of the right answer, drawn when the window loads.
int drawRightSlot(int SecenekSay);
// The character picture, drawn after the slot.
int drawCharacter(int pictureCount);

// The question window's title for the asked word's count.
QString questionTitle(qint16 Dogru);

// The count after one more right answer; it stops at the 16-bit limit.
qint16 nextCount(qint16 Dogru);

// Where the asked word stands in the active list now: at its old position if
// it is still there, else the first word with the same texts; nullopt when it
// is gone.
std::optional<int> findAskedWord(const ModVokabo::WordList& active, int VokaboInd,
                                 const ModVokabo::WordDef& asked);

// The state a question leaves behind when its window closes. A zero SonSoru
// (invalid date) means the next question is due at once.
struct SeriesOutcome {
    QDateTime SonSoru;
};
SeriesOutcome endQuestion(Series& series, bool Bildi, qint16 sorusay, const QDateTime& now);

// The window's width from its content, in twips (before the frame).
struct WindowFit {
    int W = 0;           // the question area's width, limit and margin applied
    bool widen = false;  // wider than designed
    int extraHeight = 0; // added for choices beyond four
};
WindowFit fitWindow(const QList<int>& answerRights, double questionTextWidth, int lblSoruLeft,
                    int balloonRightWidth, int SecenekSay);

inline constexpr int DesignedQuestionAreaWidth = 4215;
inline constexpr int MaxContentWidth = 7000;
// Room right of the content, and how far apart the answers stand (twips).
inline constexpr int ContentMargin = 200;
inline constexpr int AnswerStep = 240;

} // namespace Quiz
