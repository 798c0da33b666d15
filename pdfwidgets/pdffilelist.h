#pragma once

#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class PdfListAddFileThread;
class QStandardItemModel;
class QWidget;

// The files listed by the merge or password tool: the path list and the model
// the list view shows, row r standing for path r. Paths are listed at once;
// their rows follow, in the same order, as the add-file thread reads them, so
// the rows are always the first paths. A second intake while the thread runs
// waits for it. A file that does not open is taken off the list again; at the
// end of an intake the user is asked for the passwords the files need (those
// given are listed at the end) and then told, in one message, which files
// were left out and why.
class PdfFileList : public QObject
{
    Q_OBJECT
public:
    using ThreadFactory = std::function<PdfListAddFileThread *(const QList<PdfInput> &inputs, int generation)>;

    // The form is the parent of the questions and messages; title is theirs.
    PdfFileList(ThreadFactory makeThread, const QString &title, QWidget *form);
    ~PdfFileList() override;

    QStandardItemModel *model() const { return items; }
    const QStringList &paths() const { return filePaths; }
    // The listed files with the passwords that open them.
    QList<PdfInput> inputs() const;
    int rowCount() const;
    // Files are still being read or asked about.
    bool isBusy() const { return running || asking; }

    // Whether path is listed (in paths), compared as the file system compares names.
    bool contains(const QString &path) const { return containsPath(filePaths, path); }
    static bool containsPath(const QStringList &paths, const QString &path);
    void add(const QStringList &paths);
    void removeRow(int row);
    // Keeps the paths in step with a row the view has moved.
    void movePath(int source, int target);
    void clear();

signals:
    // An intake has ended: its files are listed, asked about or left out.
    void filesAdded();

private:
    void enqueue(const QList<PdfInput> &inputs);
    void startNext();
    void onThreadFinished();
    void appendRow(int generation, int pageCount, const QImage &firstPage, const PdfOpenProblem &problem);

    ThreadFactory makeThread;
    const QString title;
    QWidget *form;
    QStandardItemModel *items;
    QStringList filePaths;
    QStringList passwords;   // one per path, empty where none is needed
    QList<PdfInput> waiting; // added while a thread runs
    QStringList passwordWanted;
    QStringList leftOut; // "name: reason" of the current intake
    QPointer<PdfListAddFileThread> running;
    int generation = 0;
    bool asking = false;
};
