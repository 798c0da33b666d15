#include "pdfdestinations.h"

#include <vector>

namespace {

// A fresh copy of a number, name or null, owned by no document.
QPDFObjectHandle copyScalar(QPDFObjectHandle value)
{
    if (value.isInteger())
        return QPDFObjectHandle::newInteger(value.getIntValue());
    if (value.isReal())
        return QPDFObjectHandle::newReal(value.getRealValue());
    if (value.isName())
        return QPDFObjectHandle::newName(value.getName());
    return QPDFObjectHandle::newNull();
}

} // namespace

PdfDestinations::PdfDestinations(QPDF &source, const std::map<QPDFObjGen, QPDFObjectHandle> &copiedPages)
    : m_source(source)
    , m_copiedPages(copiedPages)
{
}

PdfDestinations::~PdfDestinations() = default;

// Names are looked up in the catalog's /Dests (name objects) or in the
// /Dests name tree (strings).
QPDFObjectHandle PdfDestinations::named(QPDFObjectHandle name)
{
    QPDFObjectHandle root = m_source.getRoot();
    if (name.isName())
        return root.getKey("/Dests").isDictionary() ? root.getKey("/Dests").getKey(name.getName())
                                                    : QPDFObjectHandle::newNull();
    QPDFObjectHandle tree =
        root.getKey("/Names").isDictionary() ? root.getKey("/Names").getKey("/Dests") : QPDFObjectHandle::newNull();
    if (!tree.isDictionary())
        return QPDFObjectHandle::newNull();
    if (!m_namedTree)
        m_namedTree = std::make_unique<QPDFNameTreeObjectHelper>(tree, m_source);
    QPDFObjectHandle destination;
    return m_namedTree->findObject(name.getUTF8Value(), destination) ? destination : QPDFObjectHandle::newNull();
}

QPDFObjectHandle PdfDestinations::map(QPDFObjectHandle destination)
{
    if (destination.isName() || destination.isString())
        destination = named(destination);
    if (destination.isDictionary())
        destination = destination.getKey("/D");
    if (!destination.isArray() || destination.getArrayNItems() < 1)
        return QPDFObjectHandle::newNull();
    QPDFObjectHandle page = destination.getArrayItem(0);
    if (!page.isIndirect())
        return QPDFObjectHandle::newNull();
    const auto copy = m_copiedPages.find(page.getObjGen());
    if (copy == m_copiedPages.end())
        return QPDFObjectHandle::newNull();
    std::vector<QPDFObjectHandle> items{copy->second};
    for (int i = 1; i < destination.getArrayNItems(); ++i)
        items.push_back(copyScalar(destination.getArrayItem(i)));
    return QPDFObjectHandle::newArray(items);
}

QPDFObjectHandle PdfDestinations::target(QPDFObjectHandle item)
{
    if (!item.isDictionary())
        return QPDFObjectHandle::newNull();
    if (item.hasKey("/Dest"))
        return item.getKey("/Dest");
    QPDFObjectHandle action = item.getKey("/A");
    if (action.isDictionary() && action.getKey("/S").isNameAndEquals("/GoTo"))
        return action.getKey("/D");
    return QPDFObjectHandle::newNull();
}

void retargetLinks(PdfDestinations &destinations,
                   const std::vector<std::pair<QPDFObjectHandle, QPDFObjectHandle>> &pages)
{
    for (auto [sourcePage, copy] : pages) {
        QPDFObjectHandle sourceAnnotations = sourcePage.getKey("/Annots");
        QPDFObjectHandle copiedAnnotations = copy.getKey("/Annots");
        // Copying keeps the annotations in order, which pairs them up.
        if (!sourceAnnotations.isArray() || !copiedAnnotations.isArray() ||
            sourceAnnotations.getArrayNItems() != copiedAnnotations.getArrayNItems())
            continue;
        std::vector<QPDFObjectHandle> kept;
        bool dropped = false;
        for (int i = 0; i < sourceAnnotations.getArrayNItems(); ++i) {
            QPDFObjectHandle annotation = copiedAnnotations.getArrayItem(i);
            QPDFObjectHandle source = sourceAnnotations.getArrayItem(i);
            QPDFObjectHandle target = source.isDictionary() && source.getKey("/Subtype").isNameAndEquals("/Link")
                                          ? PdfDestinations::target(source)
                                          : QPDFObjectHandle::newNull();
            if (!target.isNull()) {
                QPDFObjectHandle destination = destinations.map(target);
                if (destination.isNull()) {
                    dropped = true;
                    continue;
                }
                annotation.removeKey("/A");
                annotation.replaceKey("/Dest", destination);
            }
            kept.push_back(annotation);
        }
        if (dropped)
            copy.replaceKey("/Annots", QPDFObjectHandle::newArray(kept));
    }
}
