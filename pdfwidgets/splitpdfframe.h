#pragma once

#include "dropframe.h"
#include "pdfdroprule.h"

// The drop frame of the split, merge and password tools.
class SplitPDFFrame : public DropFrame
{
    Q_OBJECT
public:
    explicit SplitPDFFrame(QWidget *parent = nullptr)
        : DropFrame(PdfDropRule::takesFile, parent)
    {
    }
};
