#pragma once

#include "pdfsource.h"

#include <QString>
#include <QStringList>

#include <qpdf/PDFVersion.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>

#include <functional>
#include <map>
#include <memory>
#include <vector>

// A new PDF made of pages of other PDFs. Copied pages keep their form
// fields (clashing names are renamed), their links to other copied pages
// and the outline entries that lead to them; images and fonts shared by
// several pages of one source are written once.
class PdfAssembly
{
public:
    PdfAssembly();
    ~PdfAssembly();
    PdfAssembly(const PdfAssembly &) = delete;
    PdfAssembly &operator=(const PdfAssembly &) = delete;

    // Appends pages first to last (0-based, inclusive; first <= last, both
    // pages of source). A page may be appended more than once. Throws qpdf's
    // exceptions.
    void appendPages(const std::shared_ptr<PdfSource> &source, int first, int last);
    int pageCount() const;

    // Writes the document atomically to path (which may be one of the
    // sources) and releases the sources; the assembly is spent afterwards.
    // Throws qpdf's exceptions, or PdfWriteAbandoned when abandoned() says so
    // before the file is in place (see writePdfAtomically).
    void save(const QString &path, const std::function<bool()> &abandoned = {});
    // The sources' warnings about damage they were read despite.
    QStringList warnings() const { return m_warnings; }

private:
    struct SourcePages {
        std::shared_ptr<PdfSource> source;
        bool pruneResources = false;
        std::map<QPDFObjGen, QPDFObjectHandle> firstCopies;
        std::vector<std::pair<QPDFObjectHandle, QPDFObjectHandle>> copies; // (source page, its copy)
    };

    SourcePages &pagesOf(const std::shared_ptr<PdfSource> &source);
    void appendPage(SourcePages &from, QPDFObjectHandle page);
    void addNavigation();

    std::unique_ptr<QPDF> m_output;
    std::unique_ptr<QPDFAcroFormDocumentHelper> m_forms;
    std::vector<SourcePages> m_sources;
    PDFVersion m_version;
    QStringList m_warnings;
};
