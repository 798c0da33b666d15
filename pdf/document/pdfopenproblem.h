#pragma once

#include <QString>

// Why a PDF file could not be opened, in the user's terms.
struct PdfOpenProblem {
    enum Kind {
        None,
        NotFound,
        Folder,
        NotRegularFile, // a pipe, a device or a socket: reading it could block for ever
        Empty,
        Unreadable, // the system refused it; detail holds the system's reason
        NotPdf,
        Damaged, // looks like a PDF but cannot be repaired
        NeedsPassword,
        WrongPassword,
        UnsupportedEncryption, // locked in a way other than by password (a certificate, a plug-in)
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

// What stands in the way of reading path at all, found without parsing it:
// missing, a folder, not a regular file, unreadable or empty. Never blocks on
// a pipe or a device.
PdfOpenProblem fileProblem(const QString &path);

// How a reader that does not open a file refused it.
enum class PdfRefusal {
    Other,          // it could not make sense of the file, or gave up on it
    Password,       // the password (or its absence) was not accepted
    SecurityScheme, // the encryption is not a password one it knows
};

// The reason for a file the renderer did not load, in the user's terms: the
// file itself first, then the renderer's own refusal, then whether the file
// is a PDF at all (a damaged one) or something else.
PdfOpenProblem explainFailedLoad(const QString &path, const QString &password, PdfRefusal refusal);
