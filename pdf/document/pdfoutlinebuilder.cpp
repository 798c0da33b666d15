#include "pdfoutlinebuilder.h"
#include "pdfdestinations.h"

PdfOutlineBuilder::PdfOutlineBuilder(QPDF &output)
    : m_output(output)
{
}

void PdfOutlineBuilder::add(PdfDestinations &destinations)
{
    if (!destinations.outlines().hasOutlines())
        return;
    const std::vector<Entry> entries = build(destinations.outlines().getTopLevelOutlines(), destinations);
    m_topLevel.insert(m_topLevel.end(), entries.begin(), entries.end());
}

std::vector<PdfOutlineBuilder::Entry> PdfOutlineBuilder::build(std::vector<QPDFOutlineObjectHelper> items,
                                                               PdfDestinations &destinations)
{
    std::vector<Entry> entries;
    for (QPDFOutlineObjectHelper &source : items) {
        const std::vector<Entry> children = build(source.getKids(), destinations);
        QPDFObjectHandle destination = destinations.map(source.getDest());
        if (destination.isNull() && children.empty())
            continue;
        QPDFObjectHandle item = m_output.makeIndirectObject(QPDFObjectHandle::newDictionary());
        item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(source.getTitle()));
        if (!destination.isNull())
            item.replaceKey("/Dest", destination);
        QPDFObjectHandle style = source.getObjectHandle().getKey("/F");
        if (style.isInteger())
            item.replaceKey("/F", QPDFObjectHandle::newInteger(style.getIntValue()));
        const int descendants = link(item, children);
        const bool open = source.getCount() > 0;
        if (!children.empty())
            item.replaceKey("/Count", QPDFObjectHandle::newInteger(open ? descendants : -descendants));
        entries.push_back({item, 1 + (open ? descendants : 0)});
    }
    return entries;
}

// Chains the children under parent; returns how many entries show below it when open.
int PdfOutlineBuilder::link(QPDFObjectHandle parent, const std::vector<Entry> &children)
{
    int visible = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        QPDFObjectHandle item = children[i].item;
        item.replaceKey("/Parent", parent);
        if (i > 0)
            item.replaceKey("/Prev", children[i - 1].item);
        if (i + 1 < children.size())
            item.replaceKey("/Next", children[i + 1].item);
        visible += children[i].visible;
    }
    if (!children.empty()) {
        parent.replaceKey("/First", children.front().item);
        parent.replaceKey("/Last", children.back().item);
    }
    return visible;
}

void PdfOutlineBuilder::install()
{
    if (m_topLevel.empty())
        return;
    QPDFObjectHandle root = m_output.makeIndirectObject(QPDFObjectHandle::newDictionary());
    root.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
    root.replaceKey("/Count", QPDFObjectHandle::newInteger(link(root, m_topLevel)));
    m_output.getRoot().replaceKey("/Outlines", root);
}
