#include "pdfopenproblem.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

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
    case NotRegularFile:
        return tr("it is not a regular file (a pipe or a device)");
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
    case UnsupportedEncryption:
        return tr("it is encrypted in a way this program cannot open (not with a password)");
    }
    return {};
}

QString PdfOpenProblem::describe(const QString &path) const
{
    return QFileInfo(path).fileName() + QStringLiteral(": ") + reason();
}

PdfOpenProblem fileProblem(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return {PdfOpenProblem::Folder, {}};
    if (!info.exists())
        return {PdfOpenProblem::NotFound, {}};
    if (!info.isFile())
        return {PdfOpenProblem::NotRegularFile, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {PdfOpenProblem::Unreadable, file.errorString()};
    if (file.size() == 0)
        return {PdfOpenProblem::Empty, {}};
    return {};
}

PdfOpenProblem explainFailedLoad(const QString &path, const QString &password, PdfRefusal refusal)
{
    const PdfOpenProblem problem = fileProblem(path);
    if (problem.failed())
        return problem;
    if (refusal == PdfRefusal::Password)
        return {password.isEmpty() ? PdfOpenProblem::NeedsPassword : PdfOpenProblem::WrongPassword, {}};
    if (refusal == PdfRefusal::SecurityScheme)
        return {PdfOpenProblem::UnsupportedEncryption, {}};
    QFile file(path);
    const bool pdf = file.open(QIODevice::ReadOnly) && hasPdfHeader(file);
    return {pdf ? PdfOpenProblem::Damaged : PdfOpenProblem::NotPdf, {}};
}
