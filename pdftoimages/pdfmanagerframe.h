#pragma once

#include "pdfdropframe.h"

// The drop area shown before a PDF is loaded.
class PdfManagerFrame : public PdfDropFrame
{
    Q_OBJECT
public:
    using PdfDropFrame::PdfDropFrame;
};
