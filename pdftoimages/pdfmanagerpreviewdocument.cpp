#include "pdfmanagerpreviewdocument.h"

#include <QFileInfo>
#include <QPdfDocument>
#include <QTimer>

PdfManagerPreviewDocument::PdfManagerPreviewDocument(QObject *parent)
    : QObject(parent)
    , releaseTimer(new QTimer(this))
{
    releaseTimer->setObjectName(QStringLiteral("previewReleaseTimer"));
    releaseTimer->setSingleShot(true);
    releaseTimer->setInterval(releaseDelayMs);
    connect(releaseTimer, &QTimer::timeout, this, &PdfManagerPreviewDocument::release);
}

PdfManagerPreviewDocument::~PdfManagerPreviewDocument() = default;

QPdfDocument &PdfManagerPreviewDocument::document(const QString &path)
{
    if (!isLoaded(path)) {
        release();
        const QFileInfo file(path);
        loadedPath = path;
        loadedSize = file.size();
        loadedModified = file.lastModified();
        pdf = std::make_unique<QPdfDocument>();
        pdf->load(path);
    }
    releaseTimer->start();
    return *pdf;
}

void PdfManagerPreviewDocument::release()
{
    releaseTimer->stop();
    pdf.reset();
    loadedPath.clear();
}

// A file replaced or rewritten on disk shows in its size or modification time.
bool PdfManagerPreviewDocument::isLoaded(const QString &path) const
{
    if (!pdf || path != loadedPath)
        return false;
    const QFileInfo file(path);
    return file.size() == loadedSize && file.lastModified() == loadedModified;
}
