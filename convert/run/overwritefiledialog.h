#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
class QTreeWidget;

// Lists the targets a conversion found existing and asks which to replace.
class OverwriteFileDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OverwriteFileDialog(QWidget *parent);

    // Targets and their sources, same order.
    void fill(const QList<QString> &targetFiles, const QList<QString> &sourceFiles);
    // Every way the dialog ends (its buttons, Esc, the close box) ends the
    // question: overwriteFiles() for the ticked sources, else convertFinish().
    void done(int result) override;

signals:
    void overwriteFiles(QStringList urls);
    void convertFinish();

private slots:
    void on_overwriteButton_clicked();
    void on_cancelButton_clicked();

private:
    void setupUi();

    QStringList ticked;
    bool answered = false;

    QLabel *descLabel = nullptr;
    QTreeWidget *treeWidget = nullptr;
    QPushButton *overwriteButton = nullptr;
    QPushButton *cancelButton = nullptr;
};
