#pragma once

#include "pdfinput.h"
#include "pdflistformui.h"
#include "pdflisttoolthread.h"

#include <QItemSelection>
#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

class PdfFileList;
class PdfListAddFileThread;
class QAbstractButton;

// A button's icons in light and dark mode, and when disabled (empty: drawn by the style).
struct PdfListToolIcon {
    const char *light = nullptr;
    const char *dark = nullptr;
    const char *disabled = nullptr;
};

// What one list tool does differently from the other; everything else about
// listing files and running over them is PdfListToolForm's.
struct PdfListToolSetup {
    const char *formName = nullptr;
    QSize formSize;
    int filesToRun = 1; // listed files the tool's button needs
    // The object name of the tool's own button; a click calls the form's
    // slot named after it, on_<actionName>_clicked().
    const char *actionName = nullptr;
    QString actionText;
    QString title;    // of the tool's questions and messages
    QString doneText; // the message of a run that ended well
    bool progressAboveDropArea = false;
    bool listsFileOnce = false;           // a file already listed is not added again
    bool pathsWithForwardSlashes = false; // otherwise native separators
    bool remembersOutputFolder = false;   // writes "outputPath" back to the store
    std::function<PdfListAddFileThread *(const QList<PdfInput> &inputs, int generation)> makeAddFileThread;
    PdfListToolIcon addIcon;
    PdfListToolIcon actionIcon;
};

// The add-file thread factory of a tool whose thread is Thread.
template<typename Thread> PdfListAddFileThread *makePdfListAddFileThread(const QList<PdfInput> &inputs, int generation)
{
    return new Thread(inputs, generation);
}

// The base of the merge and password tabs: a button row over a reorderable
// list of PDFs, a drop area while nothing is listed, and a progress panel
// while the tool runs over the list. It owns the intake (drops and the open
// dialog), Add/Remove/Clear and the button states, the remembered folders
// (both tools share the "MergePDF" store), and the run's progress and closing
// message. A subclass asks what it needs, builds its thread and starts it with
// startRun().
class PdfListToolForm : public QWidget
{
    Q_OBJECT
public:
    ~PdfListToolForm() override;

    void refreshTheme();

public slots:
    void on_AddURLs(QList<QUrl> urls);
    void on_fileAddButton_clicked();
    void on_removeButton_clicked();
    void on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &deselected);
    void on_filesAdded();
    void on_clearButton_clicked();
    void on_MoveItem(int source, int target);
    void on_progressCancelButton_clicked();

protected:
    PdfListToolForm(const PdfListToolSetup &setup, QWidget *parent);

    // The tool's own button; a run starts only while it is enabled.
    QAbstractButton *actionButton() const;
    QList<PdfInput> listedFiles() const;
    void writeSettings() const;

    // Shows the progress panel and starts the thread, which the form then
    // owns, with its three signals: the count of steps, each step's index
    // and text, and the output (a file or a folder) with the error text.
    template<typename Thread>
    void startRun(Thread *thread, void (Thread::*prepared)(int), void (Thread::*progressed)(int, QString),
                  void (Thread::*finished)(QString, QString))
    {
        connect(thread, prepared, this, &PdfListToolForm::showRunStarted);
        connect(thread, progressed, this, &PdfListToolForm::showRunProgress);
        connect(thread, finished, this, &PdfListToolForm::showRunFinished);
        startRunThread(thread);
    }

    void changeEvent(QEvent *event) override;

    QString loadPath;
    QString outputPath;

private:
    void readSettings();
    QString listedPath(const QString &path) const;
    // beforeRow: the listed row the new files go before; -1 for the end.
    void addPaths(const QStringList &paths, int beforeRow = -1);
    void updateButtons();
    void setButtonRowVisible(bool visible);
    void startRunThread(PdfListToolThread *thread);
    void showRunStarted(int count);
    void showRunProgress(int index, const QString &text);
    // errMsg, when not empty, is shown as it is; otherwise, unless the run
    // was cancelled, the done text with an "Open Folder" button.
    void showRunFinished(const QString &output, const QString &errMsg);

    const PdfListToolSetup setup;
    PdfListFormUi ui;
    PdfFileList *fileList = nullptr;
    QPointer<PdfListToolThread> runThread;
    QStringList runWarnings;
    bool cancelled = false;
    bool ready = false; // cleared while a row is being removed
};
