#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
class QTreeWidget;

// Lists the target files that already exist and asks which to replace.
class PdfManagerOverwriteFileDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PdfManagerOverwriteFileDialog(QWidget *parent);

    // Both lists come from the first export pass: equal length, same order.
    void fill(const QStringList &fileExistsList, const QList<int> &pageExistsList);

signals:
    void overwriteFiles(QList<int> pageExistsList);
    void exporttFinish();

private slots:
    void on_cancelButton_clicked();
    void on_overwriteButton_clicked();

private:
    void setupUi();

    QLabel *descLabel = nullptr;
    QTreeWidget *treeWidget = nullptr;
    QPushButton *overwriteButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QList<int> chosenPages;
};
