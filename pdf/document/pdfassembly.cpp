#include "pdfassembly.h"
#include "pdfdestinations.h"
#include "pdfoutlinebuilder.h"
#include "pdfwrite.h"

#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <set>

namespace {

// Whether pages of the source share resource dictionaries (some writers give
// every page all fonts and images of the document). Copying such pages as
// they are would copy everything for every range, so their unused resources
// are dropped first.
bool sharesResources(PdfSource &source)
{
    std::set<QPDFObjGen> seen;
    const auto firstSeen = [&](QPDFObjectHandle object) {
        return !object.isIndirect() || seen.insert(object.getObjGen()).second;
    };
    for (QPDFObjectHandle page : source.pages()) {
        QPDFObjectHandle resources = QPDFPageObjectHelper(page).getAttribute("/Resources", false);
        if (!resources.isDictionary())
            continue;
        if (!firstSeen(resources))
            return true;
        for (const char *kind : {"/Font", "/XObject"}) {
            QPDFObjectHandle dictionary = resources.getKey(kind);
            if (dictionary.isDictionary() && !firstSeen(dictionary))
                return true;
        }
    }
    return false;
}

} // namespace

PdfAssembly::PdfAssembly()
    : m_output(std::make_unique<QPDF>())
{
    m_output->setSuppressWarnings(true);
    m_output->emptyPDF();
    m_forms = std::make_unique<QPDFAcroFormDocumentHelper>(*m_output);
}

// The output goes first: its copied objects still point into the sources.
PdfAssembly::~PdfAssembly()
{
    m_forms.reset();
    m_output.reset();
}

int PdfAssembly::pageCount() const
{
    return m_output ? int(m_output->getAllPages().size()) : 0;
}

PdfAssembly::SourcePages &PdfAssembly::pagesOf(const std::shared_ptr<PdfSource> &source)
{
    for (SourcePages &pages : m_sources) {
        if (pages.source == source)
            return pages;
    }
    m_version.updateIfGreater(source->qpdf().getVersionAsPDFVersion());
    return m_sources.emplace_back(SourcePages{source, sharesResources(*source), {}, {}});
}

void PdfAssembly::appendPages(const std::shared_ptr<PdfSource> &source, int first, int last)
{
    SourcePages &from = pagesOf(source);
    const std::vector<QPDFObjectHandle> &pages = source->pages();
    for (int index = first; index <= last; ++index)
        appendPage(from, pages.at(size_t(index)));
}

void PdfAssembly::appendPage(SourcePages &from, QPDFObjectHandle page)
{
    const QPDFObjGen id = page.getObjGen();
    const bool firstCopy = from.firstCopies.find(id) == from.firstCopies.end();
    if (firstCopy && from.pruneResources)
        QPDFPageObjectHelper(page).removeUnreferencedResources();
    // A page added again becomes a shallow copy, so the added page is read back.
    m_output->addPage(page, false);
    QPDFObjectHandle copy = m_output->getAllPages().back();
    if (firstCopy)
        from.firstCopies.emplace(id, copy);
    from.copies.emplace_back(page, copy);
    if (from.source->forms().hasAcroForm())
        m_forms->fixCopiedAnnotations(copy, page, from.source->forms());
}

void PdfAssembly::addNavigation()
{
    PdfOutlineBuilder outline(*m_output);
    for (SourcePages &from : m_sources) {
        PdfDestinations destinations(from.source->qpdf(), from.firstCopies);
        retargetLinks(destinations, from.copies);
        outline.add(destinations);
    }
    outline.install();
}

void PdfAssembly::save(const QString &path, const std::function<bool()> &abandoned)
{
    addNavigation();
    const auto configure = [this](QPDFWriter &writer) { writer.setMinimumPDFVersion(m_version); };
    const auto release = [this] {
        for (SourcePages &from : m_sources)
            m_warnings += from.source->takeWarnings();
        for (const QPDFExc &warning : m_output->getWarnings())
            m_warnings.append(QString::fromStdString(warning.what()));
        m_forms.reset();
        m_output.reset();
        m_sources.clear();
    };
    writePdfAtomically(*m_output, path, configure, release, abandoned);
}
