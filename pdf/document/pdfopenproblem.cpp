#include "pdfopenproblem.h"

#include "pdfsource.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFSystemError.hh>

#include <cstring>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PdfOpenProblem", text);
}

// Readers accept a header anywhere in the first kilobyte (mail headers, junk
// from a download); without one the file was never a PDF.
bool hasPdfHeader(QFile &file)
{
    return file.seek(0) && file.read(1024).contains("%PDF-");
}

} // namespace

QString PdfOpenProblem::reason() const
{
    switch (kind) {
    case None:
        return {};
    case NotFound:
        return tr("the file does not exist");
    case Folder:
        return tr("it is a folder, not a PDF file");
    case Empty:
        return tr("the file is empty (0 bytes)");
    case Unreadable:
        return tr("the file cannot be read (%1)").arg(detail);
    case NotPdf:
        return tr("it is not a PDF file");
    case Damaged:
        return tr("the file is damaged and cannot be repaired");
    case NeedsPassword:
        return tr("it needs a password to open");
    case WrongPassword:
        return tr("the password is incorrect");
    }
    return {};
}

QString PdfOpenProblem::describe(const QString &path) const
{
    return QFileInfo(path).fileName() + QStringLiteral(": ") + reason();
}

PdfOpenProblem diagnosePdfOpen(const QString &path, const QString &password)
{
    const QFileInfo info(path);
    if (info.isDir())
        return {PdfOpenProblem::Folder, {}};
    if (!info.exists())
        return {PdfOpenProblem::NotFound, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {PdfOpenProblem::Unreadable, file.errorString()};
    if (file.size() == 0)
        return {PdfOpenProblem::Empty, {}};
    try {
        PdfSource::open({path, password});
    } catch (const QPDFExc &e) {
        if (e.getErrorCode() == qpdf_e_password)
            return {password.isEmpty() ? PdfOpenProblem::NeedsPassword : PdfOpenProblem::WrongPassword, {}};
        return {hasPdfHeader(file) ? PdfOpenProblem::Damaged : PdfOpenProblem::NotPdf, {}};
    } catch (const QPDFSystemError &e) {
        return {PdfOpenProblem::Unreadable, QString::fromLocal8Bit(std::strerror(e.getErrno()))};
    } catch (...) {
        return {hasPdfHeader(file) ? PdfOpenProblem::Damaged : PdfOpenProblem::NotPdf, {}};
    }
    return {};
}

PdfOpenProblem explainFailedLoad(const QString &path, const QString &password, bool passwordRejected)
{
    if (passwordRejected)
        return {password.isEmpty() ? PdfOpenProblem::NeedsPassword : PdfOpenProblem::WrongPassword, {}};
    const PdfOpenProblem problem = diagnosePdfOpen(path, password);
    return problem.failed() ? problem : PdfOpenProblem{PdfOpenProblem::Damaged, {}};
}
