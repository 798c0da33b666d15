#pragma once

#include "pdflistaddfilethread.h"

// Lists the files dropped onto or added to the password tool.
class PasswordProtectAddFileThread : public PdfListAddFileThread
{
    Q_OBJECT
public:
    using PdfListAddFileThread::PdfListAddFileThread;
};
