#pragma once

#include <QTableView>

// The strip of checked pages. It only mirrors the page list, so it ignores the
// keyboard: keys would otherwise move its current cell out of step with the
// page list's selection. Tab is not one of its keys: it leaves the strip.
class PdfManagerTableView : public QTableView
{
    Q_OBJECT
public:
    explicit PdfManagerTableView(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool filterInstalled = false;
};
