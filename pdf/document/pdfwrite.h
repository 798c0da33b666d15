#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

class QPDF;
class QPDFWriter;

// Writes pdf to path through a temporary file in the same folder that
// replaces path only when everything was written: a failure leaves an
// existing file as it was and no temporary file behind. configure sets up
// the writer (encryption, version); releaseInputs runs after the last byte
// and before the replacement, so that open source files (possibly the
// target itself) can be closed first. abandoned is asked as the writing goes
// and once more before the replacement: when it says so, nothing is written
// and PdfWriteAbandoned is thrown. Otherwise throws QPDFExc or QPDFSystemError.
void writePdfAtomically(QPDF &pdf, const QString &path, const std::function<void(QPDFWriter &)> &configure,
                        const std::function<void()> &releaseInputs, const std::function<bool()> &abandoned = {});

struct PdfWriteAbandoned : std::runtime_error {
    PdfWriteAbandoned();
};
