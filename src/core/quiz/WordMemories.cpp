#include "quiz/WordMemories.h"

#include "quiz/SmartChoice.h"

#include <QThread>

namespace Quiz {

struct WordMemories::Loaded {
    QHash<qint64, WordMemory> memories;
    Pace pace;
    qint64 lastMoment = 0;
};

WordMemories::WordMemories(History::AnswerHistory& history, const ModVokabo::WordStore& words,
                           QObject* parent)
    : QObject(parent), history_(history), words_(words) {
    connect(&history_, &History::AnswerHistory::answered, this, &WordMemories::answered);
    connect(&words_, &ModVokabo::WordStore::wordEdited, this,
            [this](ModVokabo::WordListKind, const ModVokabo::WordDef& before,
                   const ModVokabo::WordDef& after) { edited(before, after); });
    using ModVokabo::WordListKind;
    using ModVokabo::WordStore;
    connect(&words_, &WordStore::rowsAppended, this, [this](WordListKind list, int first, int n) {
        if (list == WordListKind::Active)
            appended(first, n);
    });
    connect(&words_, &WordStore::rowsRemoved, this, [this](WordListKind list, int first, int n) {
        if (list == WordListKind::Active)
            removed(first, n);
    });
    connect(&words_, &WordStore::rowEdited, this, [this](WordListKind list, int index) {
        if (list == WordListKind::Active)
            rowEdited(index);
    });
    connect(&words_, &WordStore::listReplaced, this, [this](WordListKind list) {
        if (list == WordListKind::Active)
            keysValid_ = false;
    });
}

WordMemories::~WordMemories() {
    if (reader_) {
        stop_ = true;
        reader_->wait();
    }
}

void WordMemories::load() {
    if (state_ != State::Idle)
        return;
    state_ = State::Loading;
    auto loaded = std::make_shared<Loaded>();
    loaded_ = loaded;
    const QString path = history_.path();
    reader_ = QThread::create([loaded, path, this] {
        // A file that cannot be read (none yet, or damaged) leaves every word
        // unanswered: the answers from now on count.
        History::readAnswers(path, [&](const History::StoredAnswer& stored) {
            WordMemory& memory = loaded->memories[stored.word];
            const Review review{stored.moment, stored.day, stored.right, stored.choices,
                                stored.chosen};
            loaded->pace.observe(memory, review);
            Quiz::review(memory, review);
            loaded->lastMoment = std::max(loaded->lastMoment, stored.moment);
            return !stop_.load();
        });
    });
    reader_->setParent(this);
    connect(reader_, &QThread::finished, this, &WordMemories::adopt);
    reader_->start(QThread::LowPriority);
}

void WordMemories::adopt() {
    reader_->wait();
    reader_->deleteLater();
    reader_ = nullptr;
    for (auto it = loaded_->memories.cbegin(); it != loaded_->memories.cend(); ++it)
        memories_.insert(it.key(), &kept_.emplace_back(it.value()));
    keysValid_ = false;
    pace_ = loaded_->pace;
    const qint64 read = loaded_->lastMoment;
    loaded_.reset();
    state_ = State::Ready;
    for (const Event& event : std::as_const(waiting_)) {
        if (!event.review)
            rename(event.word, event.renamedTo);
        else if (event.review->moment > read)
            apply(event.word, *event.review);
    }
    waiting_.clear();
    emit ready();
}

void WordMemories::answered(const History::Answer& answer) {
    const qint64 word = History::wordKey(answer.English, answer.Turkish);
    const qint64 chosen = answer.chosenEnglish.isEmpty() && answer.chosenTurkish.isEmpty()
                              ? 0
                              : History::wordKey(answer.chosenEnglish, answer.chosenTurkish);
    const Review review{answer.moment.toMSecsSinceEpoch(), History::dayOf(answer.moment),
                        answer.right, answer.choices, chosen};
    previous_ = word;
    if (state_ == State::Loading)
        waiting_.append({word, 0, review});
    else if (state_ == State::Ready)
        apply(word, review);
}

void WordMemories::edited(const ModVokabo::WordDef& before, const ModVokabo::WordDef& after) {
    const qint64 from = History::wordKey(before.English, before.Turkish);
    const qint64 to = History::wordKey(after.English, after.Turkish);
    if (from == to)
        return;
    if (previous_ == from)
        previous_ = to;
    if (state_ == State::Loading)
        waiting_.append({from, to, std::nullopt});
    else if (state_ == State::Ready)
        rename(from, to);
}

void WordMemories::apply(qint64 word, const Review& review) {
    WordMemory*& memory = memories_[word];
    if (!memory) {
        memory = &kept_.emplace_back();
        if (keysValid_)
            for (int i = 0; i < keys_.size(); ++i)
                if (keys_[i] == word)
                    byPosition_[i] = memory;
    }
    pace_.observe(*memory, review);
    Quiz::review(*memory, review);
}

void WordMemories::rename(qint64 from, qint64 to) {
    WordMemory* memory = memories_.take(from);
    if (memory) {
        memories_.insert(to, memory);
        for (int i = 0; i < keys_.size(); ++i)
            if (keys_[i] == to)
                byPosition_[i] = memory;
    }
    for (WordMemory& kept : kept_)
        std::replace(kept.confusions.begin(), kept.confusions.end(), from, to);
}

const WordMemory* WordMemories::memoryOfKey(qint64 key) const {
    return memories_.value(key, nullptr);
}

void WordMemories::appended(int first, int count) {
    if (!keysValid_ || first != keys_.size())
        keysValid_ = false;
    if (!keysValid_)
        return;
    const ModVokabo::WordList& active = words_.words(ModVokabo::WordListKind::Active);
    for (int i = first; i < first + count && i < active.size(); ++i) {
        keys_.append(History::wordKey(active[i].English, active[i].Turkish));
        byPosition_.append(memoryOfKey(keys_.last()));
    }
}

void WordMemories::removed(int first, int count) {
    if (keysValid_ && first >= 0 && count >= 0 && first + count <= keys_.size()) {
        keys_.remove(first, count);
        byPosition_.remove(first, count);
    } else {
        keysValid_ = false;
    }
}

void WordMemories::rowEdited(int index) {
    const ModVokabo::WordList& active = words_.words(ModVokabo::WordListKind::Active);
    if (!keysValid_ || index < 0 || index >= keys_.size() || index >= active.size()) {
        keysValid_ = false;
        return;
    }
    keys_[index] = History::wordKey(active[index].English, active[index].Turkish);
    byPosition_[index] = memoryOfKey(keys_[index]);
}

void WordMemories::refreshKeys() {
    const ModVokabo::WordList& active = words_.words(ModVokabo::WordListKind::Active);
    // Whatever was missed (a change made before this object followed the
    // store), the sizes tell.
    if (keysValid_ && keys_.size() == active.size())
        return;
    keys_.clear();
    keys_.reserve(active.size());
    byPosition_.clear();
    byPosition_.reserve(active.size());
    for (const ModVokabo::WordDef& word : active) {
        keys_.append(History::wordKey(word.English, word.Turkish));
        byPosition_.append(memoryOfKey(keys_.last()));
    }
    keysValid_ = true;
}

std::optional<Question> WordMemories::composeQuestion(qint64 now, int SecenekSay, int sor_tur) {
    refreshKeys();
    const int asked = chooseWord(byPosition_, now, pace_.factor(), keys_.indexOf(previous_));
    if (asked < 0)
        return std::nullopt;
    QList<int> confusions;
    if (const WordMemory* memory = byPosition_[asked])
        for (qint64 key : memory->confusions)
            confusions.append(static_cast<int>(keys_.indexOf(key)));
    auto question = composeQuestionOn(words_.words(ModVokabo::WordListKind::Active), asked,
                                      confusions, SecenekSay, sor_tur);
    if (question)
        previous_ = keys_[asked];
    return question;
}

const WordMemory* WordMemories::memoryOf(const ModVokabo::WordDef& word) const {
    return memoryOfKey(History::wordKey(word.English, word.Turkish));
}

} // namespace Quiz
