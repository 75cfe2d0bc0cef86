#pragma once

#include <QStyledItemDelegate>

// Draws the grid lines of a report-style list and keeps its rows as low as
// their 16-pixel pictures. A delegate rather than a style sheet: style sheets
// put the whole window on the slow style path at start-up.
class TGridLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
