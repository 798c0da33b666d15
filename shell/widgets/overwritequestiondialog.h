#pragma once

#include <QDialog>
#include <QSize>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
class QTreeWidget;

// Lists the target files a run found existing, each with a tick box, and asks
// which to replace. Each tool names the dialog in its own words (Texts, given
// in its translation context) and turns the answer into its own signals.
class OverwriteQuestionDialog : public QDialog
{
    Q_OBJECT
public:
    struct Texts {
        QString objectName;
        QString title;
        QSize size;
        QString targetHeader;
        QString keyHeader; // the second column: what a ticked row reports
        bool keyShown = true;
        QString oneFile;
        QString severalFiles;
        QString overwrite;
        QString cancel;
    };

    // Every way the dialog ends (its buttons, Esc, the close box) answers once,
    // after the dialog has left the screen, and deletes it later.
    void done(int result) override;

protected:
    enum class Ending { Overwrite, Cancel, Dismissed };

    OverwriteQuestionDialog(const Texts &texts, QWidget *parent);

    // targets and keys: same length, same order.
    void fillRows(const QStringList &targets, const QStringList &keys);
    // The keys of the ticked rows (in row order) when Overwrite was pressed.
    virtual void answer(Ending ending, const QStringList &tickedKeys) = 0;

private slots:
    void on_overwriteButton_clicked();
    void on_cancelButton_clicked();

private:
    void setupUi(const Texts &texts);

    const QString oneFile;
    const QString severalFiles;
    Ending ending = Ending::Dismissed;
    bool answered = false;

    QLabel *descLabel = nullptr;
    QTreeWidget *treeWidget = nullptr;
    QPushButton *overwriteButton = nullptr;
    QPushButton *cancelButton = nullptr;
};
