#include "pdffirstpage.h"

#include "pdfsource.h"

#include <exception>

PdfFirstPage readFirstPage(const QString &path, const std::atomic_bool &stop)
{
    PdfFirstPage first;
    if (stop)
        return first;
    try {
        first.pageCount = PdfSource::open({path, QString()}, false)->pageCount();
    } catch (const std::exception &) {
        first.pageCount = 0;
    }
    return first;
}
