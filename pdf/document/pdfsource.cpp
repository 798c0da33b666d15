#include "pdfsource.h"

#include "pdfopenproblem.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <qpdf/ClosedFileInputSource.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFSystemError.hh>
#include <qpdf/QUtil.hh>

#include <algorithm>
#include <cerrno>
#include <optional>

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

namespace {

// Revisions 2 to 4 of the standard security handler take the password in
// PDFDocEncoding, revision 6 in UTF-8; the file says which only once it is
// read, so a non-ASCII password that fails as UTF-8 is tried once more.
std::optional<QByteArray> pdfDocEncoded(const QString &password)
{
    const bool ascii = std::all_of(password.cbegin(), password.cend(), [](QChar c) { return c.unicode() < 0x80; });
    std::string pdfDoc;
    if (ascii || !QUtil::utf8_to_pdf_doc(password.toStdString(), pdfDoc))
        return std::nullopt;
    return QByteArray::fromStdString(pdfDoc);
}

} // namespace

std::shared_ptr<PdfSource> PdfSource::open(const PdfInput &input, bool keepFileOpen)
{
    // Opening a pipe or a device would block until something writes to it.
    const PdfOpenProblem problem = fileProblem(input.path);
    if (problem.kind == PdfOpenProblem::Folder)
        throw QPDFSystemError(input.path.toStdString(), EISDIR);
    if (problem.kind == PdfOpenProblem::NotRegularFile)
        throw QPDFExc(qpdf_e_system, input.path.toStdString(), "", 0, problem.reason().toStdString());
    try {
        return open(input.path, input.password.toUtf8(), keepFileOpen);
    } catch (const QPDFExc &e) {
        const std::optional<QByteArray> pdfDoc = pdfDocEncoded(input.password);
        if (e.getErrorCode() != qpdf_e_password || !pdfDoc)
            throw;
        return open(input.path, *pdfDoc, keepFileOpen);
    }
}

std::shared_ptr<PdfSource> PdfSource::open(const QString &path, const QByteArray &password, bool keepFileOpen)
{
    std::shared_ptr<PdfSource> source(new PdfSource(path));
    if (keepFileOpen) {
        source->m_qpdf.processFile(qpdfFileName(path).constData(), password.constData());
    } else {
        auto file = std::make_shared<ClosedFileInputSource>(qpdfFileName(path).constData());
        file->stayOpen(true);
        source->m_qpdf.processInputSource(file, password.constData());
        source->pages();
        file->stayOpen(false);
    }
    // Repairing a badly damaged file can succeed and still find no page.
    if (source->pageCount() == 0)
        throw QPDFExc(qpdf_e_pages, path.toStdString(), "", 0, "no pages could be read from this file");
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
