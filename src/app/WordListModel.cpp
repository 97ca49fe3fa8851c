#include "app/WordListModel.h"

namespace {
// A line is the word, this, then the meaning; a word never holds a "|".
const QLatin1StringView Separator(" || ");
} // namespace

void WordListModel::setLines(QList<ModVokabo::ListLine> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    folded_.clear();
    applyFilter();
    endResetModel();
}

void WordListModel::setFilter(const QString& text) {
    if (text == filter_)
        return;
    beginResetModel();
    filter_ = text;
    applyFilter();
    endResetModel();
}

void WordListModel::applyFilter() {
    shown_.clear();
    if (!filtering())
        return;
    if (folded_.isEmpty() && !lines_.isEmpty()) {
        qsizetype characters = 0;
        for (const ModVokabo::ListLine& line : lines_)
            characters += line.text.size();
        folded_.reserve(lines_.size(), characters);
        for (const ModVokabo::ListLine& line : lines_) {
            const QStringView text(line.text);
            const qsizetype cut = text.indexOf(Separator);
            if (cut < 0)
                folded_.add(text, {});
            else
                folded_.add(text.first(cut), text.sliced(cut + Separator.size()));
        }
    }
    shown_ = folded_.find(filter_);
}

int WordListModel::rowOfRecord(int record) const {
    for (int row = 0; row < rowCount(); ++row)
        if (recordAt(row) == record)
            return row;
    return -1;
}

int WordListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return filtering() ? static_cast<int>(shown_.size()) : static_cast<int>(lines_.size());
}

QVariant WordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return line(index.row()).text;
    case RecordRole:
        return line(index.row()).index;
    default:
        return {};
    }
}
