#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

// Shown instead of the split tool's widgets while a split runs.
class SplitPDFProgressForm : public QWidget
{
    Q_OBJECT
public:
    explicit SplitPDFProgressForm(QWidget *parent = nullptr);

    void setMaximum(int count);
    void setProgress(int value);

    QLabel *label = nullptr;
    QLabel *label_2 = nullptr;
    QProgressBar *progressBar = nullptr;
    QPushButton *cancelButton = nullptr;
};
