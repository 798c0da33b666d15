#pragma once

#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>

#include <map>

// Where destinations of one source document point to in the output: the
// first copy of their page, or nowhere when the page was not copied.
class PdfDestinations
{
public:
    // copiedPages: source page object -> its first copy in the output.
    PdfDestinations(QPDF &source, const std::map<QPDFObjGen, QPDFObjectHandle> &copiedPages);

    // An explicit destination in the output for a source destination (explicit
    // or named), or a null object when its page is not in the output.
    QPDFObjectHandle map(QPDFObjectHandle sourceDestination);
    // The destination a link annotation jumps to (its /Dest or GoTo action),
    // null for links that go elsewhere (web addresses, other files).
    static QPDFObjectHandle linkTarget(QPDFObjectHandle annotation);

    QPDFOutlineDocumentHelper &outlines() { return m_outlines; }

private:
    QPDFOutlineDocumentHelper m_outlines;
    const std::map<QPDFObjGen, QPDFObjectHandle> &m_copiedPages;
};

// Points the links of the copied pages at the copies of their targets and
// drops links whose target page was not copied. pages: (source page, its copy).
void retargetLinks(PdfDestinations &destinations,
                   const std::vector<std::pair<QPDFObjectHandle, QPDFObjectHandle>> &pages);
