#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Inputs for the PDF-document tests, and their independent readers.
namespace PdfTestFiles {
// pageCount A4 pages, each showing its 1-based number.
bool writeNumbered(const QString &path, int pageCount);
// A numbered PDF whose "startxref" points past the table, so that readers
// repair it: qpdf warns "file is damaged" and rebuilds the table.
bool writeRepairable(const QString &path, int pageCount);
// Whether message is done followed by a short account (a few lines) of the
// damage qpdf repaired in such a file, naming it.
bool tellsOfRepair(const QString &message, const QString &done, const QString &path);
// Two pages sharing one resource dictionary with two images, /Im1 drawn on
// page 1 and /Im2 on page 2, as some writers make them.
void writeSharedResources(const QString &path);
// Adds links and an outline to a numbered PDF of at least 10 pages. Links:
// page 1 -> page 8 (explicit), page 2 -> page 5 (GoTo action), page 3 ->
// page 9 (named). Outline: "Chapter 1" -> 1, "Chapter 2" -> 4 with
// "Section 2.1" -> 5 and "Section 2.2" -> 9, "Chapter 3" -> 8 (named).
void addLinksAndOutline(const QString &path);
// Adds to a numbered PDF of at least 2 pages an outline that loops: "A" -> 1
// and "B" -> 2 follow each other without end, and B is also A's child.
void addOutlineLoop(const QString &path);
// Adds a filled-in text field named name to page 1.
void addTextField(const QString &path, const QString &name);
// Encrypts with qpdf, password opening it; keyOptions are qpdf's key length
// and its options ("40", "128 --use-aes=y"...), AES-256 by default.
void encrypt(const QString &path, const QString &password, const QStringList &keyOptions = {QStringLiteral("256")});

// The text of every page, trimmed, read by pdftotext.
QStringList pageTexts(const QString &path);
// "Title -> page" ("none" without a page) per outline entry in order,
// indented two spaces per level, read by mutool.
QStringList outline(const QString &path);
// For each link of page (1-based), the page it jumps to (0 when it leads nowhere).
QList<int> linkTargets(const QString &path, int page);
// Fully qualified names and values of the form fields, read by qpdf, as "name=value".
QStringList formFields(const QString &path);
QByteArray contents(const QString &path);
} // namespace PdfTestFiles
