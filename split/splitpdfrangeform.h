#pragma once

#include <QWidget>

class QLabel;
class QSpinBox;
class QToolButton;

// One page-range row of the split side panel: "From page: [n] to: [m]" with
// an add button (first row) or a remove button (every other row).
class SplitPDFRangeForm : public QWidget
{
    Q_OBJECT
public:
    explicit SplitPDFRangeForm(int rangeId, QWidget *parent = nullptr);

    int id() const { return rangeId; }
    void refreshTheme();

    QLabel *fromLabel = nullptr;
    QSpinBox *fromSpinBox = nullptr;
    QLabel *toLabel = nullptr;
    QSpinBox *toSpinBox = nullptr;
    QToolButton *removeButton = nullptr;
    QToolButton *addButton = nullptr;

signals:
    void removeRangeForm(int index);
    void addRangeForm();

private slots:
    void on_removeButton_clicked();
    void on_addButton_clicked();

private:
    const int rangeId;
};
