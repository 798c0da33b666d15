#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFNameTreeObjectHelper.hh>
#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <map>
#include <memory>
#include <vector>

// Where destinations of one source document point to in the output: the
// first copy of their page, or nowhere when the page was not copied.
class PdfDestinations
{
public:
    // copiedPages: source page object -> its first copy in the output.
    PdfDestinations(QPDF &source, const std::map<QPDFObjGen, QPDFObjectHandle> &copiedPages);
    ~PdfDestinations();

    // An explicit destination in the output for a source destination (explicit
    // or named), or a null object when its page is not in the output.
    QPDFObjectHandle map(QPDFObjectHandle sourceDestination);
    // The destination of an outline item or link annotation (its /Dest or GoTo
    // action); null for those that go elsewhere (web addresses, other files).
    static QPDFObjectHandle target(QPDFObjectHandle item);

    QPDF &source() { return m_source; }

private:
    QPDFObjectHandle named(QPDFObjectHandle name);

    QPDF &m_source;
    const std::map<QPDFObjGen, QPDFObjectHandle> &m_copiedPages;
    std::unique_ptr<QPDFNameTreeObjectHelper> m_namedTree;
};

// Points the links of the copied pages at the copies of their targets and
// drops links whose target page was not copied. pages: (source page, its copy).
void retargetLinks(PdfDestinations &destinations,
                   const std::vector<std::pair<QPDFObjectHandle, QPDFObjectHandle>> &pages);
