#include "pdferror.h"

#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFSystemError.hh>

#include <cerrno>
#include <new>

PdfError currentPdfError()
{
    try {
        throw;
    } catch (const QPDFExc &e) {
        return {QString::fromStdString(e.what()), int(e.getErrorCode())};
    } catch (const QPDFSystemError &e) {
        return {QString::fromStdString(e.what()), e.getErrno()};
    } catch (const std::bad_alloc &) {
        return {QStringLiteral("Not enough memory"), ENOMEM};
    } catch (const std::exception &e) {
        // qpdf reports some damage as logic or runtime errors.
        return {QString::fromStdString(e.what()), int(qpdf_e_internal)};
    }
}
