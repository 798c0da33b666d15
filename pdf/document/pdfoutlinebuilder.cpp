#include "pdfoutlinebuilder.h"
#include "pdfdestinations.h"

PdfOutlineBuilder::PdfOutlineBuilder(QPDF &output)
    : m_output(output)
{
}

namespace {

constexpr int MaxDepth = 32;

} // namespace

void PdfOutlineBuilder::add(PdfDestinations &destinations)
{
    QPDFObjectHandle outlines = destinations.source().getRoot().getKey("/Outlines");
    if (!outlines.isDictionary())
        return;
    std::set<QPDFObjGen> visited;
    const std::vector<Entry> entries = build(outlines.getKey("/First"), 0, destinations, visited);
    m_topLevel.insert(m_topLevel.end(), entries.begin(), entries.end());
}

std::vector<PdfOutlineBuilder::Entry> PdfOutlineBuilder::build(QPDFObjectHandle first, int depth,
                                                               PdfDestinations &destinations,
                                                               std::set<QPDFObjGen> &visited)
{
    std::vector<Entry> entries;
    for (QPDFObjectHandle source = first;
         source.isDictionary() && source.isIndirect() && visited.insert(source.getObjGen()).second;
         source = source.getKey("/Next")) {
        const std::vector<Entry> children =
            depth < MaxDepth ? build(source.getKey("/First"), depth + 1, destinations, visited) : std::vector<Entry>();
        QPDFObjectHandle destination = destinations.map(PdfDestinations::target(source));
        if (destination.isNull() && children.empty())
            continue;
        QPDFObjectHandle item = copyItem(source, destination);
        const int descendants = link(item, children);
        QPDFObjectHandle count = source.getKey("/Count");
        const bool open = count.isInteger() && count.getIntValue() > 0;
        if (!children.empty())
            item.replaceKey("/Count", QPDFObjectHandle::newInteger(open ? descendants : -descendants));
        entries.push_back({item, 1 + (open ? descendants : 0)});
    }
    return entries;
}

QPDFObjectHandle PdfOutlineBuilder::copyItem(QPDFObjectHandle source, QPDFObjectHandle destination)
{
    QPDFObjectHandle item = m_output.makeIndirectObject(QPDFObjectHandle::newDictionary());
    QPDFObjectHandle title = source.getKey("/Title");
    item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(title.isString() ? title.getUTF8Value() : ""));
    if (!destination.isNull())
        item.replaceKey("/Dest", destination);
    QPDFObjectHandle style = source.getKey("/F");
    if (style.isInteger())
        item.replaceKey("/F", QPDFObjectHandle::newInteger(style.getIntValue()));
    return item;
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
