#pragma once

#include "pdflistaddfilethread.h"

// Lists the files dropped onto or added to the merge tool.
// Adds nothing to PdfListAddFileThread: its own class name tells this tool's
// intakes apart from the other tool's (findChild, qobject_cast, metaObject).
class MergePDFAddFileThread : public PdfListAddFileThread
{
    Q_OBJECT
public:
    using PdfListAddFileThread::PdfListAddFileThread;
};
