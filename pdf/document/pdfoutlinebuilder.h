#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineObjectHelper.hh>

#include <vector>

class PdfDestinations;

// Builds the outline (bookmarks) of a new document from the outlines of its
// sources, keeping the entries that lead to copied pages and the entries
// that hold such entries.
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

    std::vector<Entry> build(std::vector<QPDFOutlineObjectHelper> items, PdfDestinations &destinations);
    static int link(QPDFObjectHandle parent, const std::vector<Entry> &children);

    QPDF &m_output;
    std::vector<Entry> m_topLevel;
};
