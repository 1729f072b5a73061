#include "HitListModel.h"

void HitListModel::setHits(search::HitList hits) {
    beginResetModel();
    m_hits = std::move(hits);
    endResetModel();
}

int HitListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_hits.size());
}

QVariant HitListModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.parent().isValid() ||
        index.row() >= m_hits.size())
        return {};
    return m_hits.line(index.row());
}
