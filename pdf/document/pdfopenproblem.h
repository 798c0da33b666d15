#pragma once

#include <QString>

// Why a PDF file could not be opened, in the user's terms.
struct PdfOpenProblem {
    enum Kind {
        None,
        NotFound,
        Folder,
        Empty,
        Unreadable, // the system refused it; detail holds the system's reason
        NotPdf,
        Damaged, // looks like a PDF but cannot be repaired
        NeedsPassword,
        WrongPassword,
    };

    Kind kind = None;
    QString detail;

    bool failed() const { return kind != None; }
    bool needsPassword() const { return kind == NeedsPassword || kind == WrongPassword; }
    // A short clause such as "it is not a PDF file".
    QString reason() const;
    // "<file name>: <reason>" for lists of files left out.
    QString describe(const QString &path) const;
};

// Tries to open path with password through the PDF library and says what is
// wrong; PdfOpenProblem::None when it opens and has pages.
PdfOpenProblem diagnosePdfOpen(const QString &path, const QString &password);

// The reason for a load the renderer refused: its own answer when it rejected
// the password, otherwise what the PDF library finds. A file the library
// reads but the renderer does not counts as damaged.
PdfOpenProblem explainFailedLoad(const QString &path, const QString &password, bool passwordRejected);
