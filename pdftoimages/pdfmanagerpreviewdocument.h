#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>

class QPdfDocument;
class QTimer;

// The document the page preview draws from. It stays open while the user
// browses, so redraws need no reload, but is let go after a few idle seconds:
// on Windows an open file cannot be renamed or deleted. It is opened again
// when needed, and also when the file on disk has changed since.
class PdfManagerPreviewDocument : public QObject
{
    Q_OBJECT
public:
    static constexpr int releaseDelayMs = 3000;

    explicit PdfManagerPreviewDocument(QObject *parent);
    ~PdfManagerPreviewDocument() override;

    // The document at `path`, (re)loaded if needed; restarts the idle count.
    QPdfDocument &document(const QString &path);
    void release();

private:
    bool isLoaded(const QString &path) const;

    // Deleted to let go of the file: a closed QPdfDocument keeps it open.
    std::unique_ptr<QPdfDocument> pdf;
    QTimer *releaseTimer = nullptr;
    QString loadedPath;
    qint64 loadedSize = -1;
    QDateTime loadedModified;
};
