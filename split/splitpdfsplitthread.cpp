#include "splitpdfsplitthread.h"

void SplitPDFSplitThread::run()
{
    setPriority(QThread::HighPriority);
    const PdfWorkResult result = splitPdf({{sourcePath, sourcePassword}, outputPath, ranges},
                                          [this](int rangesDone) { emit splitPDFProgress(rangesDone); });
    readWarnings = result.warnings;
    emit splitPDFFinish(result.error.message);
}
