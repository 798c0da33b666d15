#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjGen.hh>

#include <set>
#include <vector>

class PdfDestinations;

// Builds the outline (bookmarks) of a new document from the outlines of its
// sources, keeping the entries that lead to copied pages and the entries
// that hold such entries. Loops in a source's outline are cut and very deep
// nesting is dropped, so a hostile file cannot hang or crash the copy.
class PdfOutlineBuilder
{
public:
    explicit PdfOutlineBuilder(QPDF &output);

    // Appends the source's entries, in order, after those added before.
    void add(PdfDestinations &destinations);
    // Makes the entries the output's outline; does nothing when none was kept.
    void install();

private:
    struct Entry {
        QPDFObjectHandle item;
        int visible; // the entry itself plus its open descendants
    };

    std::vector<Entry> build(QPDFObjectHandle first, int depth, PdfDestinations &destinations,
                             std::set<QPDFObjGen> &visited);
    QPDFObjectHandle copyItem(QPDFObjectHandle source, QPDFObjectHandle destination);
    static int link(QPDFObjectHandle parent, const std::vector<Entry> &children);

    QPDF &m_output;
    std::vector<Entry> m_topLevel;
};
