#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class PdfListAddFileThread;
class QStandardItemModel;

// The files listed by the merge or password tool: the path list and the model
// the list view shows, row r standing for path r. Paths are listed at once;
// their rows follow, in the same order, as the add-file thread reads them, so
// the rows are always the first paths. A second intake while the thread runs
// waits for it.
class PdfFileList : public QObject
{
    Q_OBJECT
public:
    using ThreadFactory = std::function<PdfListAddFileThread *(const QStringList &paths, int generation)>;

    PdfFileList(ThreadFactory makeThread, QObject *parent = nullptr);
    ~PdfFileList() override;

    QStandardItemModel *model() const { return items; }
    const QStringList &paths() const { return filePaths; }
    int rowCount() const;

    // Whether path is listed (in paths), compared as the file system compares names.
    bool contains(const QString &path) const { return containsPath(filePaths, path); }
    static bool containsPath(const QStringList &paths, const QString &path);
    void add(const QStringList &paths);
    void removeRow(int row);
    // Keeps the paths in step with a row the view has moved.
    void movePath(int source, int target);
    void clear();

signals:
    // An add-file thread has finished its files.
    void filesAdded();

private:
    void startNext();
    void appendRow(int generation, int pageCount, const QImage &firstPage);

    ThreadFactory makeThread;
    QStandardItemModel *items;
    QStringList filePaths;
    QStringList waiting; // added while a thread runs
    QPointer<PdfListAddFileThread> running;
    int generation = 0;
};
