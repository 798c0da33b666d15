#include "protectpdf.h"
#include "pdfwrite.h"

#include <QDir>
#include <QFileInfo>

#include <qpdf/QPDFWriter.hh>

QString protectedOutputPath(const QString &folder, const QString &sourcePath)
{
    const QFileInfo source(sourcePath);
    const QString base = source.baseName();
    const QString suffix = source.completeSuffix().isEmpty() ? QString() : QLatin1Char('.') + source.completeSuffix();
    const QDir target(folder);
    QString path = target.filePath(base + suffix);
    for (int number = 1; QFileInfo::exists(path); ++number)
        path = target.filePath(base + QStringLiteral("(%1)").arg(number) + suffix);
    return path;
}

PdfWorkResult protectPdf(const PdfInput &source, const QString &target, const QString &password)
{
    PdfWorkResult result;
    try {
        std::shared_ptr<PdfSource> input = PdfSource::open(source);
        const QByteArray utf8 = password.toUtf8();
        // qpdf always allows accessibility (bit 10) from revision 4 on.
        const auto encrypt = [&](QPDFWriter &writer) {
            writer.setR6EncryptionParameters(utf8.constData(), utf8.constData(), true, true, false, false, false, true,
                                             qpdf_r3p_low, true);
        };
        writePdfAtomically(input->qpdf(), target, encrypt, [&] {
            result.warnings = input->takeWarnings();
            input.reset();
        });
    } catch (...) {
        result.error = currentPdfError();
    }
    return result;
}
