// The result list's model: the engine's sorted hits behind a list view with
// uniform item sizes, so a million lines show and scroll without a stall.
// QtCore only.
#pragma once

#include "Search.h"

#include <QAbstractListModel>

class HitListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit HitListModel(QObject *parent = nullptr) : QAbstractListModel(parent) {}

    // Replaces the lines shown (already in list order).
    void setHits(search::HitList hits);
    void clear() { setHits({}); }
    const search::HitList &hits() const { return m_hits; }

    int rowCount(const QModelIndex &parent = {}) const override;
    // DisplayRole: the line, decoded as it is shown.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

  private:
    search::HitList m_hits;
};
