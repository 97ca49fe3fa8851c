#pragma once

#include "history/AnswerHistory.h"
#include "quiz/Quiz.h"
#include "quiz/WordMemory.h"
#include "words/ModVokabo.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <atomic>
#include <deque>
#include <memory>
#include <optional>

class QThread;

namespace Quiz {

// Each word's memory as the answer history shows it, for the smart choice
// of the asked word: read from the history file once, on a thread of its
// own, then kept up to date with every answer as it is judged. Words are
// known by their keys in the history, so an edit keeps a word's memory.
class WordMemories : public QObject {
    Q_OBJECT
public:
    WordMemories(History::AnswerHistory& history, const ModVokabo::WordStore& words,
                 QObject* parent = nullptr);
    ~WordMemories() override;

    // Starts reading the history file, the first time it is called; ready()
    // follows. Answers judged meanwhile are counted once it is read.
    void load();
    bool isReady() const { return state_ == State::Ready; }

    // The question on the active word that needs asking most at `now`
    // (chooseWord), with a word the learner once took for it among the
    // wrong answers (composeQuestionOn); nullopt as composeQuestion.
    std::optional<Question> composeQuestion(qint64 now, int SecenekSay, int sor_tur);

    // A word's memory; null for a word never answered.
    const WordMemory* memoryOf(const ModVokabo::WordDef& word) const;
    double pace() const { return pace_.factor(); }

signals:
    // The history file is read: the choice follows the learner's memory
    // from now on.
    void ready();

private:
    enum class State { Idle, Loading, Ready };
    struct Loaded;
    // An answer, or an edit of a word (review empty), while the file is read.
    struct Event {
        qint64 word = 0;
        qint64 renamedTo = 0;
        std::optional<Review> review;
    };

    void answered(const History::Answer& answer);
    void edited(const ModVokabo::WordDef& before, const ModVokabo::WordDef& after);
    void apply(qint64 word, const Review& review);
    void rename(qint64 from, qint64 to);
    void adopt();
    // The active words' keys and memories follow the list's changes.
    void appended(int first, int count);
    void removed(int first, int count);
    void rowEdited(int index);
    void refreshKeys();
    const WordMemory* memoryOfKey(qint64 key) const;

    History::AnswerHistory& history_;
    const ModVokabo::WordStore& words_;
    State state_ = State::Idle;
    // Every word answered, in the order first answered (a deque: a memory
    // stays where it is while others come), and by key.
    std::deque<WordMemory> kept_;
    QHash<qint64, WordMemory*> memories_;
    Pace pace_;
    QList<Event> waiting_;
    qint64 previous_ = 0; // the key of the word asked last
    // The active words' keys and memories (null: never answered), in the
    // list's order.
    QList<qint64> keys_;
    QList<const WordMemory*> byPosition_;
    bool keysValid_ = false;
    QThread* reader_ = nullptr;
    std::shared_ptr<Loaded> loaded_;
    std::atomic<bool> stop_{false};
};

} // namespace Quiz
