#include "pdfopenreport.h"

#include "pdfpassworddialog.h"
#include "shelldialogs.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("PdfOpenReport", text);
}
} // namespace

std::optional<QString> resolveUnopenedPdf(QWidget *parent, const QString &title, const QString &path,
                                          const PdfOpenProblem &problem)
{
    if (problem.needsPassword())
        return PdfPasswordDialog::ask(parent, path, problem.kind == PdfOpenProblem::WrongPassword);
    ShellDialogs::message(parent, QMessageBox::Warning, title,
                          tr("\"%1\" cannot be opened: %2.").arg(QFileInfo(path).fileName(), problem.reason()));
    return std::nullopt;
}

void reportUnopenedPdfs(QWidget *parent, const QString &title, const QStringList &leftOut)
{
    if (leftOut.isEmpty())
        return;
    const QString intro = leftOut.size() == 1
                              ? tr("This file could not be opened and was left out:")
                              : tr("These %1 files could not be opened and were left out:").arg(leftOut.size());
    const QString text = intro + QStringLiteral("\n\n") + leftOut.join(QLatin1Char('\n'));
    ShellDialogs::message(parent, QMessageBox::Warning, title, text);
}
