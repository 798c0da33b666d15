#pragma once

#include "pdflistaddfilethread.h"

// Lists the files dropped onto or added to the merge tool.
class MergePDFAddFileThread : public PdfListAddFileThread
{
    Q_OBJECT
public:
    using PdfListAddFileThread::PdfListAddFileThread;
};
