#include "app/WordListModel.h"

#include <algorithm>
#include <numeric>

using ModVokabo::WordListKind;

namespace {
// A line is the word, this, then the meaning.
const QLatin1StringView Separator(" || ");

// Where position goes among the other positions, which are in order: the
// first of them for which goesBefore is false.
template <typename GoesBefore>
int placeAmong(const std::vector<int>& positions, int position, GoesBefore goesBefore) {
    const auto own = std::find(positions.begin(), positions.end(), position);
    auto at = std::partition_point(positions.begin(), own, goesBefore);
    if (at == own && own != positions.end())
        return static_cast<int>(std::partition_point(own + 1, positions.end(), goesBefore) -
                                positions.begin() - 1);
    return static_cast<int>(at - positions.begin());
}

// Puts position at index, taking it from where it was.
void place(std::vector<int>& positions, int position, int index) {
    if (const auto own = std::find(positions.begin(), positions.end(), position);
        own != positions.end())
        positions.erase(own);
    positions.insert(positions.begin() + index, position);
}
} // namespace

WordListModel::WordListModel(const ModVokabo::WordStore& store, QObject* parent)
    : QAbstractListModel(parent), store_(store) {
    using Store = ModVokabo::WordStore;
    connect(&store_, &Store::rowsAppended, this, &WordListModel::appended);
    connect(&store_, &Store::rowsRemoved, this, &WordListModel::removed);
    connect(&store_, &Store::rowEdited, this, &WordListModel::edited);
    connect(&store_, &Store::listReplaced, this, [this](WordListKind list) {
        if (list == list_)
            setList(list);
    });
    setList(list_);
}

WordListModel::Record WordListModel::recordOf(int position) const {
    const ModVokabo::WordDef& word = store_.GetWord(list_, position);
    // Ordered by the line as it reads.
    return {word.English, word.Turkish, collation_.key(word.English + Separator + word.Turkish)};
}

bool WordListModel::before(int a, int b) const {
    const int order =
        records_[static_cast<size_t>(a)].key.compare(records_[static_cast<size_t>(b)].key);
    // Lines that read alike stay in the list's own order.
    return order < 0 || (order == 0 && a < b);
}

bool WordListModel::shows(int position) const {
    const Record& record = records_[static_cast<size_t>(position)];
    return !filtering() || WordFilter::matches(filter_, record.word, record.meaning);
}

template <typename Change> void WordListModel::relayout(Change change) {
    emit layoutAboutToBeChanged();
    const QModelIndexList was = persistentIndexList();
    std::vector<int> positions;
    positions.reserve(static_cast<size_t>(was.size()));
    for (const QModelIndex& index : was)
        positions.push_back(recordAt(index.row()));
    change(positions);
    // A screen reader may hold an index for every line: one pass, not one
    // search each.
    std::vector<int> rowOf(records_.size(), -1);
    for (size_t row = 0; row < rows().size(); ++row)
        rowOf[static_cast<size_t>(rows()[row])] = static_cast<int>(row);
    QModelIndexList now;
    now.reserve(was.size());
    for (int position : positions) {
        const int row = position < 0 ? -1 : rowOf[static_cast<size_t>(position)];
        now.append(row < 0 ? QModelIndex() : index(row));
    }
    changePersistentIndexList(was, now);
    emit layoutChanged();
}

void WordListModel::setList(WordListKind list) {
    beginResetModel();
    list_ = list;
    const int count = static_cast<int>(store_.words(list).size());
    records_.clear();
    records_.reserve(static_cast<size_t>(count));
    for (int position = 0; position < count; ++position)
        records_.push_back(recordOf(position));
    order_.resize(records_.size());
    std::iota(order_.begin(), order_.end(), 0);
    std::sort(order_.begin(), order_.end(), [this](int a, int b) { return before(a, b); });
    folded_.clear();
    applyFilter();
    endResetModel();
}

void WordListModel::setFilter(const QString& text) {
    if (text == filter_)
        return;
    relayout([&](std::vector<int>&) {
        filter_ = text;
        applyFilter();
    });
}

void WordListModel::applyFilter() {
    shown_.clear();
    if (!filtering())
        return;
    // Words appended since the last fold are folded now; the rest is kept.
    if (const qsizetype from = folded_.size(); from < totalCount()) {
        qsizetype characters = 0;
        for (auto i = static_cast<size_t>(from); i < records_.size(); ++i)
            characters += records_[i].word.size() + records_[i].meaning.size();
        folded_.reserve(totalCount() - from, characters);
        for (auto i = static_cast<size_t>(from); i < records_.size(); ++i)
            folded_.add(records_[i].word, records_[i].meaning);
    }
    std::vector<char> hit(records_.size(), 0);
    for (int position : folded_.find(filter_))
        hit[static_cast<size_t>(position)] = 1;
    for (int position : order_)
        if (hit[static_cast<size_t>(position)])
            shown_.push_back(position);
}

int WordListModel::rowOfRecord(int record) const {
    const std::vector<int>& shown = rows();
    const auto row = std::find(shown.begin(), shown.end(), record);
    return row == shown.end() ? -1 : static_cast<int>(row - shown.begin());
}

int WordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows().size());
}

QVariant WordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int position = recordAt(index.row());
    const Record& record = records_[static_cast<size_t>(position)];
    switch (role) {
    case Qt::DisplayRole:
        return record.word + Separator + record.meaning;
    case WordRole:
        return record.word;
    case MeaningRole:
        return record.meaning;
    case RecordRole:
        return position;
    default:
        return {};
    }
}

void WordListModel::appended(WordListKind list, int first, int count) {
    if (list != list_)
        return;
    const auto less = [this](int a, int b) { return before(a, b); };
    Q_ASSERT(first == totalCount());
    if (count == 1) {
        records_.push_back(recordOf(first));
        const auto at = std::upper_bound(order_.begin(), order_.end(), first, less);
        if (!shows(first)) {
            order_.insert(at, first);
            return;
        }
        const int row =
            filtering()
                ? static_cast<int>(std::upper_bound(shown_.begin(), shown_.end(), first, less) -
                                   shown_.begin())
                : static_cast<int>(at - order_.begin());
        beginInsertRows({}, row, row);
        order_.insert(at, first);
        if (filtering())
            shown_.insert(shown_.begin() + row, first);
        endInsertRows();
        return;
    }
    // Many words at once (an import): one new layout, not a signal per word.
    relayout([&](std::vector<int>&) {
        const auto old = static_cast<std::ptrdiff_t>(order_.size());
        for (int position = first; position < first + count; ++position) {
            records_.push_back(recordOf(position));
            order_.push_back(position);
        }
        std::sort(order_.begin() + old, order_.end(), less);
        std::inplace_merge(order_.begin(), order_.begin() + old, order_.end(), less);
        applyFilter();
    });
}

void WordListModel::removed(WordListKind list, int first, int count) {
    if (list != list_)
        return;
    if (count == 1) {
        // A view makes the line that followed current when it loses its own.
        const int row = rowOfRecord(first);
        if (row >= 0)
            beginRemoveRows({}, row, row);
        takeOut(first, 1);
        if (row >= 0)
            endRemoveRows();
        return;
    }
    relayout([&](std::vector<int>& selected) {
        takeOut(first, count);
        for (int& position : selected)
            if (position >= first)
                position = position < first + count ? -1 : position - count;
    });
}

void WordListModel::takeOut(int first, int count) {
    records_.erase(records_.begin() + first, records_.begin() + first + count);
    const auto moveUp = [first, count](std::vector<int>& positions) {
        std::erase_if(positions,
                      [&](int position) { return position >= first && position < first + count; });
        for (int& position : positions)
            if (position >= first + count)
                position -= count;
    };
    moveUp(order_);
    moveUp(shown_);
    folded_.clear();
}

void WordListModel::edited(WordListKind list, int position) {
    if (list != list_)
        return;
    // The views see the old line until they are told where it goes.
    Record fresh = recordOf(position);
    const auto goesBefore = [&](int other) {
        const int order = records_[static_cast<size_t>(other)].key.compare(fresh.key);
        return order < 0 || (order == 0 && other < position);
    };
    const int oldRow = rowOfRecord(position);
    const bool shown = !filtering() || WordFilter::matches(filter_, fresh.word, fresh.meaning);
    const int orderIndex = placeAmong(order_, position, goesBefore);
    const int newRow = !shown        ? -1
                       : filtering() ? placeAmong(shown_, position, goesBefore)
                                     : orderIndex;
    const bool moving = oldRow >= 0 && newRow >= 0 && oldRow != newRow;
    if (moving)
        beginMoveRows({}, oldRow, oldRow, {}, newRow > oldRow ? newRow + 1 : newRow);
    else if (oldRow >= 0 && newRow < 0)
        beginRemoveRows({}, oldRow, oldRow);
    else if (oldRow < 0 && newRow >= 0)
        beginInsertRows({}, newRow, newRow);

    records_[static_cast<size_t>(position)] = std::move(fresh);
    folded_.clear();
    place(order_, position, orderIndex);
    if (filtering()) {
        std::erase(shown_, position);
        if (shown)
            shown_.insert(shown_.begin() + newRow, position);
    }

    if (moving)
        endMoveRows();
    else if (oldRow >= 0 && newRow < 0)
        endRemoveRows();
    else if (oldRow < 0 && newRow >= 0)
        endInsertRows();
    if (newRow >= 0)
        emit dataChanged(index(newRow), index(newRow));
}
