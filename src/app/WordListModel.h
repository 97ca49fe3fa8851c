#pragma once

#include "words/ModVokabo.h"

#include <QAbstractListModel>

// The lines of the main word list, in the order they are shown, each with the
// position of its record in the shown list.
class WordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // The role that holds a line's record position.
    static constexpr int RecordRole = Qt::UserRole;

    void setLines(QList<ModVokabo::ListLine> lines);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    QString textAt(int row) const { return lines_.at(row).text; }
    int recordAt(int row) const { return lines_.at(row).index; }

private:
    QList<ModVokabo::ListLine> lines_;
};
