#pragma once

#include "words/ModVokabo.h"
#include "words/WordFilter.h"

#include <QAbstractListModel>
#include <vector>

// The lines of the main word list, in the order they are shown, each with the
// position of its record in the shown list. A filter shows only the lines
// whose word or meaning contains a text; rows then count the lines shown.
class WordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // The role that holds a line's record position.
    static constexpr int RecordRole = Qt::UserRole;

    // Keeps the filter.
    void setLines(QList<ModVokabo::ListLine> lines);
    // An empty text shows every line.
    void setFilter(const QString& text);
    const QString& filter() const { return filter_; }
    // Every line, shown or not.
    int totalCount() const { return static_cast<int>(lines_.size()); }
    // The row that shows the record, or -1.
    int rowOfRecord(int record) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    QString textAt(int row) const { return line(row).text; }
    int recordAt(int row) const { return line(row).index; }

private:
    const ModVokabo::ListLine& line(int row) const {
        return lines_.at(filtering() ? shown_[static_cast<size_t>(row)] : row);
    }
    bool filtering() const { return !filter_.isEmpty(); }
    void applyFilter();

    QList<ModVokabo::ListLine> lines_;
    QString filter_;
    // The lines folded for matching: made at the first filter after a fill.
    WordFilter::Index folded_;
    std::vector<int> shown_;
};
