#pragma once

#include <QTableView>

// The strip of checked pages. It only mirrors the page list, so it ignores the
// keyboard: keys would otherwise move its current cell out of step with the
// page list's selection.
class PdfManagerTableView : public QTableView
{
    Q_OBJECT
public:
    using QTableView::QTableView;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool filterInstalled = false;
};
