#pragma once

#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <QByteArray>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <deque>
#include <functional>

class PdfListAddFileThread;
class PdfPictureRedraw;
class QStandardItem;
class QStandardItemModel;
class QTimer;
class QWidget;
class ThumbnailStore;

// The files listed by the merge or password tool: the model the list view
// shows, row r standing for listed file r. Added files wait apart from the
// listed ones until the add-file thread has read them; each then gets its row
// in the order of the intake. A file that needs a password gets its row at
// once, holding its place while the intake goes on; at the end of the intake
// the user is asked for each password (a file whose password is not given
// goes again) and then told, in one message, which files were left out and
// why. A second intake while the thread runs waits for it. Rows arrive in
// batches and keep their first pages compressed in a ThumbnailStore, decoded
// only while a view paints them.
class PdfFileList : public QObject
{
    Q_OBJECT
public:
    using ThreadFactory = std::function<PdfListAddFileThread *(const QList<PdfInput> &inputs, int generation)>;
    // The box first pages fit in, in device-independent pixels.
    static constexpr QSize pictureBox{200, 200};

    // The form is the parent of the questions and messages; title is theirs.
    // The pictures live in `pictures` when given, else in a store of the list's own.
    PdfFileList(ThreadFactory makeThread, const QString &title, QWidget *form, ThumbnailStore *pictures = nullptr);
    ~PdfFileList() override;

    QStandardItemModel *model() const { return items; }
    const ThumbnailStore &thumbnails() const { return *pictures; }
    // Pictures are drawn for this ratio from the next intake into an empty
    // list on (the form's until set).
    void setDevicePixelRatio(qreal ratio) { fixedRatio = ratio; }
    // The listed files, in row order, with the passwords that open them;
    // never a file still being read or asked about.
    QList<PdfInput> inputs() const;
    int rowCount() const;
    // Files are still being read or asked about.
    bool isBusy() const { return running || asking || !waiting.empty(); }

    // Whether path is listed or waiting, compared as the file system compares names.
    bool contains(const QString &path) const;
    static bool containsPath(const QStringList &paths, const QString &path);
    // The files' rows go before the row listed at beforeRow when they arrive
    // (where it is then; at the end if it is gone), or at the end for -1.
    void add(const QStringList &paths, int beforeRow = -1);
    void removeRow(int row);
    // Keeps the files in step with a row the view has moved.
    void movePath(int source, int target);
    void clear();

signals:
    // An intake has ended: its files are listed or left out.
    void filesAdded();
    // isBusy() has changed.
    void busyChanged(bool busy);

private:
    struct Entry {
        quint64 id = 0;
        PdfInput input;
        bool locked = false; // listed while its password is not yet known
        bool asked = false;
        quint64 before = 0; // the entry its row goes before; 0 for the end
    };

    void enqueue(const Entry &entry);
    void startNext();
    void onThreadFinished();
    void askForPasswords();
    void onFileListed(int generation, int pageCount, const QByteArray &firstPage, const PdfOpenProblem &problem);
    qsizetype rowOf(quint64 id) const;
    QStandardItem *makeRow(const Entry &entry, int pageCount, const QByteArray &firstPage);
    void listArrived();
    void dropArrived();
    void redrawWanted();
    void onPictureRedrawn(quint64 id, const QByteArray &picture);
    void setBusy();

    ThreadFactory makeThread;
    const QString title;
    QWidget *form;
    QStandardItemModel *items;
    ThumbnailStore *pictures;
    PdfPictureRedraw *redraw;
    const QIcon pdfIcon;
    QList<Entry> listed;       // one per row
    // Read but not yet rows: they join the model together.
    QList<Entry> arrived;
    QList<QStandardItem *> arrivedRows;
    QTimer *arrivalTimer;
    QList<Entry> waiting;      // added, not yet handed to a thread
    std::deque<Entry> reading; // handed to the running thread, in its order
    QStringList leftOut;       // "name: reason" of the current intake
    QPointer<PdfListAddFileThread> running;
    quint64 nextId = 1;
    int generation = 0;
    qreal fixedRatio = 0;
    bool asking = false;
    bool wasBusy = false;
};
