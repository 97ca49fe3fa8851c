#pragma once

#include "words/ListOrder.h"
#include "words/ModVokabo.h"
#include "words/WordFilter.h"

#include <QAbstractListModel>
#include <vector>

// The lines of the main word list: the words of one list of the word store,
// a line each, in the list's order. It follows the store's changes row by
// row, so a view keeps its selection and its place through them. A filter
// shows only the lines whose word or meaning holds a text; rows then count
// the lines shown.
class WordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        // A line's record: its word's position in the list.
        RecordRole = Qt::UserRole,
        WordRole,
        MeaningRole,
    };

    explicit WordListModel(const ModVokabo::WordStore& store, QObject* parent = nullptr);

    // Shows that list, afresh; the filter stays.
    void setList(ModVokabo::WordListKind list);
    ModVokabo::WordListKind list() const { return list_; }
    // An empty text shows every line. Lines that stay shown keep their
    // selection.
    void setFilter(const QString& text);
    const QString& filter() const { return filter_; }
    // Every line, shown or not.
    int totalCount() const { return static_cast<int>(records_.size()); }
    // The row that shows the record, or -1.
    int rowOfRecord(int record) const;
    int recordAt(int row) const { return rows()[static_cast<size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    struct Record {
        QString word;
        QString meaning;
        QCollatorSortKey key;
    };
    Record recordOf(int position) const;
    // Whether the word at position a comes before the one at b in the list.
    bool before(int a, int b) const;
    bool filtering() const { return !filter_.isEmpty(); }
    // The positions of the words shown, row by row.
    const std::vector<int>& rows() const { return filtering() ? shown_ : order_; }
    bool shows(int position) const;
    void applyFilter();

    void appended(ModVokabo::WordListKind list, int first, int count);
    void removed(ModVokabo::WordListKind list, int first, int count);
    void edited(ModVokabo::WordListKind list, int position);
    // Takes the words out of every table, and moves those after them up.
    void takeOut(int first, int count);
    // Runs change, which may reorder, add and take out lines, as one new
    // layout: each line that stays keeps its selection. change is told the
    // records of the lines the views hold on to (the current one, the
    // selected ones) and moves them along (-1: gone).
    template <typename Change> void relayout(Change change);

    const ModVokabo::WordStore& store_;
    const ListOrder collation_;
    ModVokabo::WordListKind list_ = ModVokabo::WordListKind::Active;
    // By position in the list.
    std::vector<Record> records_;
    // Positions, in the list's order.
    std::vector<int> order_;
    // While filtering: the positions that match, in the list's order.
    std::vector<int> shown_;
    QString filter_;
    // The first records folded for matching, as they are now; grown when
    // the filter needs it.
    WordFilter::Index folded_;
};
