#pragma once

#include <QString>

// A PDF file to read from, and the password that opens it (empty for none).
// The password lives in memory only, as long as the file is listed.
struct PdfInput {
    QString path;
    QString password;
    int pageCount = -1; // as the file was when it was listed; -1: not known
};
