#pragma once

#include "pdfinput.h"

#include <QString>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>

#include <memory>
#include <vector>

// One opened PDF file. Pages copied out of it read their data from the file
// lazily, so it has to stay alive until the copy has been written.
class PdfSource
{
public:
    // Throws QPDFExc or QPDFSystemError when the file cannot be read, is not a
    // regular file or has no pages; warnings about repaired damage are collected, never printed.
    // Without keepFileOpen the file is opened again for each later read, so
    // that a merge of many files does not run out of file handles.
    static std::shared_ptr<PdfSource> open(const PdfInput &input, bool keepFileOpen = true);

    PdfSource(const PdfSource &) = delete;
    PdfSource &operator=(const PdfSource &) = delete;

    const QString &path() const { return m_path; }
    QPDF &qpdf() { return m_qpdf; }
    const std::vector<QPDFObjectHandle> &pages() { return m_qpdf.getAllPages(); }
    int pageCount() { return int(pages().size()); }
    QPDFAcroFormDocumentHelper &forms();
    // Warnings issued since the last call.
    QStringList takeWarnings();

private:
    explicit PdfSource(const QString &path);
    static std::shared_ptr<PdfSource> open(const QString &path, const QByteArray &password, bool keepFileOpen);

    QString m_path;
    QPDF m_qpdf;
    std::unique_ptr<QPDFAcroFormDocumentHelper> m_forms;
};
