#pragma once

#include <QObject>

class QTreeWidget;
class TBatchRows;
class TImageList;

// Keeps the file list showing the batch's rows: one item per row with its
// mark, the source, its facts and percentage, and its tool tip on every
// column. The rows change only through the model; the list follows.
class TFileListBinding : public QObject {
    Q_OBJECT
public:
    TFileListBinding(QTreeWidget* list, const TBatchRows* rows, const TImageList* images);

    // The list's columns.
    static constexpr int SourceColumn = 0;
    static constexpr int PercentColumn = 4;

private:
    void Insert(int index);
    void Show(int index);
    void ShowAll();

    QTreeWidget* m_list;
    const TBatchRows* m_rows;
    const TImageList* m_images;
};
