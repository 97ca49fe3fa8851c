#include "app/WordListModel.h"

void WordListModel::setLines(QList<ModVokabo::ListLine> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

int WordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant WordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= lines_.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return lines_[index.row()].text;
    case RecordRole:
        return lines_[index.row()].index;
    default:
        return {};
    }
}
