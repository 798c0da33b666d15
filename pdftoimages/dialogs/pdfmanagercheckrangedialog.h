#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

// Asks for a first and a last page number to check.
class PdfManagerCheckRangeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PdfManagerCheckRangeDialog(QWidget *parent);

    void setMaximum(int pageCount);

signals:
    void pageRangeChecked(int start, int end);

private slots:
    void on_cancelButton_clicked();
    void on_startSpinBox_valueChanged(int arg1);
    void on_endSpinBox_valueChanged(int arg1);
    void on_okButton_clicked();

private:
    void setupUi();

    QLabel *descLabel = nullptr;
    QLabel *startLabel = nullptr;
    QSpinBox *startSpinBox = nullptr;
    QLabel *endLabel = nullptr;
    QSpinBox *endSpinBox = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    int pageCount = 1;
};
