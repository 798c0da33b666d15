#pragma once

#include "pdfdropframe.h"

// The drop frame of the split, merge and password tools.
class SplitPDFFrame : public PdfDropFrame
{
    Q_OBJECT
public:
    using PdfDropFrame::PdfDropFrame;
};
