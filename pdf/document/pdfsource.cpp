#include "pdfsource.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <qpdf/ClosedFileInputSource.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFSystemError.hh>

#include <cerrno>

namespace {

// qpdf takes UTF-8 file names on Windows and the bytes of the name elsewhere.
QByteArray qpdfFileName(const QString &path)
{
#ifdef Q_OS_WIN
    return path.toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

} // namespace

PdfSource::PdfSource(const QString &path)
    : m_path(path)
{
    m_qpdf.setSuppressWarnings(true);
}

std::shared_ptr<PdfSource> PdfSource::open(const PdfInput &input, bool keepFileOpen)
{
    // A folder opens like an empty file on some systems; say what it is.
    if (QFileInfo(input.path).isDir())
        throw QPDFSystemError(input.path.toStdString(), EISDIR);
    std::shared_ptr<PdfSource> source(new PdfSource(input.path));
    const QByteArray password = input.password.toUtf8();
    if (keepFileOpen) {
        source->m_qpdf.processFile(qpdfFileName(input.path).constData(), password.constData());
    } else {
        auto file = std::make_shared<ClosedFileInputSource>(qpdfFileName(input.path).constData());
        file->stayOpen(true);
        source->m_qpdf.processInputSource(file, password.constData());
        source->pages();
        file->stayOpen(false);
    }
    // Repairing a badly damaged file can succeed and still find no page.
    if (source->pageCount() == 0)
        throw QPDFExc(qpdf_e_pages, input.path.toStdString(), "", 0, "no pages could be read from this file");
    return source;
}

QPDFAcroFormDocumentHelper &PdfSource::forms()
{
    if (!m_forms)
        m_forms = std::make_unique<QPDFAcroFormDocumentHelper>(m_qpdf);
    return *m_forms;
}

QStringList PdfSource::takeWarnings()
{
    QStringList warnings;
    for (const QPDFExc &warning : m_qpdf.getWarnings())
        warnings.append(QString::fromStdString(warning.what()));
    return warnings;
}
