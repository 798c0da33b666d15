#include "pdfwarningsummary.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "splitpdf.h"
#include "splitpdfform.h"
#include "splitpdfglobal.h"
#include "splitpdfprogressform.h"
#include "splitpdfsideform.h"
#include "splitpdfsplitthread.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

void SplitPDFForm::on_startSplitPDF()
{
    if (!prepareSplit())
        return;
    if (!progressForm) {
        progressForm = new SplitPDFProgressForm(this);
        outerLayout->addWidget(progressForm);
    }
    progressForm->setMaximum(int(rangeCount));
    progressForm->progressBar->setValue(0);
    progressForm->show();
    widget->hide();
}

bool SplitPDFForm::prepareSplit()
{
    const QList<PageRange> ranges = sideForm->ranges();
    rangeCount = ranges.size();
    // Every range is checked before the user is asked for a file name.
    if (const QString problem = pageRangeProblem(ranges, SplitPDFGlobal::pageCount()); !problem.isEmpty()) {
        ShellDialogs::message(this, QMessageBox::Warning, tr("Split PDF"), problem);
        return false;
    }
    // The save dialog settles the final name and any replacing with the user.
    outputFilePath = chooseOutputFile();
    if (outputFilePath.isEmpty() || isSplitSource(outputFilePath))
        return false;

    auto *thread = new SplitPDFSplitThread(this);
    thread->sourcePath = SplitPDFGlobal::currentPdfPath();
    thread->sourcePassword = sourcePassword;
    thread->outputPath = outputFilePath;
    thread->ranges = ranges;
    connect(thread, &SplitPDFSplitThread::splitPDFFinish, this, &SplitPDFForm::onSplitPDFFinish);
    connect(thread, &SplitPDFSplitThread::splitPDFProgress, this, &SplitPDFForm::onSplitPDFProgress);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    splitThread = thread;
    thread->start(QThread::InheritPriority);
    return true;
}

// The list, the preview and later ranges describe the source: it is never
// replaced by a split of itself.
bool SplitPDFForm::isSplitSource(const QString &path)
{
    const QFileInfo output(path);
    const QFileInfo source(SplitPDFGlobal::currentPdfPath());
    if (!output.exists() || output.canonicalFilePath() != source.canonicalFilePath())
        return false;
    ShellDialogs::message(this, QMessageBox::Warning, tr("Split PDF"),
                          tr("\"%1\" is the PDF being split and cannot be replaced by the split. "
                             "Please choose another file name.")
                              .arg(output.fileName()));
    return true;
}

QString SplitPDFForm::chooseOutputFile()
{
    const QString remembered = SplitPDFGlobal::outputPath();
    const QString startFolder =
        !remembered.isEmpty() && QFileInfo(remembered).isDir() ? remembered : ShellHelpers::documentsFolder();
    const QString answer = ShellDialogs::getSaveFileName(nullptr, tr("Save to PDF File"), startFolder,
                                                         tr("PDF files (*.pdf)"), QStringLiteral("pdf"));
    if (answer.isEmpty())
        return QString();
    SplitPDFGlobal::setOutputPath(QFileInfo(answer).absolutePath());
    saveSettings();
    return QDir::toNativeSeparators(answer);
}

void SplitPDFForm::onSplitPDFProgress(int value)
{
    progressForm->setProgress(value);
}

void SplitPDFForm::onSplitPDFFinish(QString errMsg)
{
    widget->show();
    progressForm->hide();
    showCompletionMessage(errMsg, splitThread ? splitThread->warnings() : QStringList());
}

void SplitPDFForm::showCompletionMessage(const QString &errMsg, const QStringList &warnings)
{
    if (!errMsg.isEmpty()) {
        ShellDialogs::message(nullptr, QMessageBox::Information, tr("Split PDF"), errMsg);
        return;
    }
    QMessageBox box;
    box.setIcon(QMessageBox::Information);
    box.setWindowTitle(tr("Split PDF"));
    // The file was written, but the user should know the source was damaged.
    box.setText(withPdfWarningSummary(tr("Creating PDF file is completed"), warnings));
    box.setStandardButtons(QMessageBox::Ok);
    QPushButton *openFile = box.addButton(tr("Open PDF File"), QMessageBox::ActionRole);
    if (ShellDialogs::exec(box) == openFile)
        ShellDialogs::openUrl(QUrl::fromLocalFile(outputFilePath));
}
