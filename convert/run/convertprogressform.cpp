#include "convertprogressform.h"

#include "convertimagesthread.h"
#include "kivglobal.h"
#include "kivlocalconvertimage.h"
#include "namedwidget.h"
#include "overwritefiledialog.h"
#include "shelldialogs.h"
#include "shellhelpers.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The message lists this many failures; the details hold all of them.
constexpr int listedFailures = 10;

QString failureSummary(const QStringList &reasons)
{
    const qsizetype count = reasons.size();
    QString text = count == 1 ? ConvertProgressForm::tr("1 problem occurred:")
                              : ConvertProgressForm::tr("%1 problems occurred:").arg(count);
    for (const QString &reason : reasons.first(qMin<qsizetype>(count, listedFailures)))
        text += QLatin1Char('\n') + reason;
    if (count > listedFailures)
        text += QLatin1Char('\n') + ConvertProgressForm::tr("... and %1 more.").arg(count - listedFailures);
    return text;
}

} // namespace

ConvertProgressForm::ConvertProgressForm(QWidget *parent)
    : QWidget(parent)
{
    setupUi();
    QMetaObject::connectSlotsByName(this);
}

// Normally the run has ended before the panel goes; if the window is torn down
// mid-run, the engine ends before the program goes on.
ConvertProgressForm::~ConvertProgressForm()
{
    if (thread) {
        thread->disconnect(this);
        thread->requestStop();
        thread->wait();
    }
}

void ConvertProgressForm::setupUi()
{
    setObjectName(QStringLiteral("ConvertProgressForm"));
    resize(677, 481);
    label = namedWidget<QLabel>(this, "label");
    label->setText(tr("Converting images in progress. Please wait..."));
    label->setAlignment(Qt::AlignCenter);
    label_2 = namedWidget<QLabel>(this, "label_2");
    label_2->setAlignment(Qt::AlignCenter);
    label_2->setTextFormat(Qt::PlainText);
    progressBar = namedWidget<QProgressBar>(this, "progressBar");
    progressBar->setValue(0);
    progressBar->setAccessibleName(tr("Conversion progress"));
    cancelButton = namedWidget<QPushButton>(this, "cancelButton");
    cancelButton->setText(tr("Cancel"));
    auto *row = new QHBoxLayout;
    row->addWidget(progressBar, 1);
    row->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(label);
    layout->addWidget(label_2);
    layout->addSpacing(10);
    layout->addLayout(row);
    layout->addStretch();
}

void ConvertProgressForm::start(const QStringList &sources, const QString &output, const QString &format,
                                const QString &extension, bool overwrite)
{
    sourceList = sources;
    outputPath = output;
    formatName = format;
    targetExtension = extension;
    if (!overwrite) {
        runSourceCount = sources.size();
        runSettings = KivLocalConvertImage::settings();
    }
    reported = false;
    progressBar->setMaximum(int(sources.size()));
    progressBar->setValue(0);
    emit showToolbarSignal(false);
    emit startConvertSignal();

    thread = new ConvertImagesThread;
    thread->settings = runSettings;
    thread->sources = sources;
    thread->outputFolder = output;
    thread->formatName = format;
    thread->extension = extension;
    thread->overwrite = overwrite;
    connect(thread, &ConvertImagesThread::updateFileName, this, &ConvertProgressForm::handleUpdateFileName);
    connect(thread, &ConvertImagesThread::threadFailed, this, &ConvertProgressForm::handleThreadFailed);
    connect(thread, &ConvertImagesThread::threadTerminated, this, &ConvertProgressForm::handleThreadTerminated);
    connect(thread, &ConvertImagesThread::threadCompleted, this, &ConvertProgressForm::handleThreadCompleted);
    connect(thread, &QThread::finished, this, &ConvertProgressForm::onThreadFinished);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(QThread::InheritPriority);
    cancelButton->setFocus();
}

void ConvertProgressForm::stop()
{
    if (thread)
        thread->requestStop();
}

void ConvertProgressForm::on_cancelButton_clicked()
{
    stop();
}

void ConvertProgressForm::handleUpdateFileName(QString fileName)
{
    label_2->setText(QFileInfo(fileName).fileName());
    progressBar->setValue(progressBar->value() + 1);
}

void ConvertProgressForm::handleThreadFailed(QStringList reasons)
{
    failures += reasons;
}

// A worker stopped before it began reports nothing; its end still ends the run.
// The first pass's end may arrive after the second pass has begun: only the
// current worker counts.
void ConvertProgressForm::onThreadFinished()
{
    if (sender() == thread && !reported)
        handleThreadTerminated();
}

void ConvertProgressForm::handleThreadTerminated()
{
    reported = true;
    emit showToolbarSignal(true);
    finish();
}

void ConvertProgressForm::handleThreadCompleted(QList<QString> fileExistsList, QList<QString> fileSourceList)
{
    reported = true;
    emit showToolbarSignal(true);
    if (fileExistsList.isEmpty()) {
        showCompletionMessage();
        finish();
        return;
    }
    auto *dialog = new OverwriteFileDialog(this);
    connect(dialog, &OverwriteFileDialog::overwriteFiles, this, &ConvertProgressForm::handleOverwriteFiles);
    connect(dialog, &OverwriteFileDialog::convertFinish, this, &ConvertProgressForm::handleConvertFinish);
    dialog->fill(fileExistsList, fileSourceList);
    ShellDialogs::exec(dialog);
}

void ConvertProgressForm::handleOverwriteFiles(QStringList urls)
{
    start(urls, outputPath, formatName, targetExtension, true);
}

void ConvertProgressForm::handleConvertFinish()
{
    // Sources skipped by the first pass may still have failed to read.
    if (!failures.isEmpty())
        showCompletionMessage();
    finish();
}

void ConvertProgressForm::showCompletionMessage()
{
    QMessageBox box(QMessageBox::Information, KivGlobal::productName(),
                    runSourceCount > 1 ? tr("The conversion processes are completed.")
                                       : tr("The conversion process is completed."),
                    QMessageBox::Ok, this);
    if (!failures.isEmpty()) {
        // What could not be read or written is not a success to report silently.
        box.setIcon(QMessageBox::Warning);
        box.setText(box.text() + QStringLiteral("\n\n") + failureSummary(failures));
        box.setDetailedText(failures.join(QLatin1Char('\n')));
    }
    QPushButton *openFolder = box.addButton(tr("Open Folder"), QMessageBox::ActionRole);
    const QAbstractButton *clicked = ShellDialogs::exec(box);
    if (clicked == openFolder)
        ShellHelpers::openFolder(KivLocalConvertImage::lastOutputLocation(), this);
}

void ConvertProgressForm::finish()
{
    emit finishConvertSignal();
    deleteLater();
}
