#pragma once

#include "pdfopenproblem.h"

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// What a tool that shows one PDF does when it did not open: asks for the
// password, returning it, or names the reason and returns nothing.
std::optional<QString> resolveUnopenedPdf(QWidget *parent, const QString &title, const QString &path,
                                          const PdfOpenProblem &problem);

// One message for a whole batch: every file left out, one per line, with its
// reason (PdfOpenProblem::describe).
void reportUnopenedPdfs(QWidget *parent, const QString &title, const QStringList &leftOut);
