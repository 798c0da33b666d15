#pragma once

#include <QString>

// A failure while reading or writing a PDF, as the user gets to read it.
struct PdfError {
    QString message; // the library's text; empty when nothing failed
    int code = 0;    // qpdf's error code, or the system's errno for a system failure

    bool failed() const { return !message.isEmpty(); }
    // The message followed by " :" and the code, as the password tool reports it.
    QString messageWithCode() const { return message + QStringLiteral(" :") + QString::number(code); }
};

// The error for the exception being handled; call it only inside a catch block.
PdfError currentPdfError();
