#pragma once

#include "dropframe.h"
#include "pdfdroprule.h"

// The drop area shown before a PDF is loaded.
class PdfManagerFrame : public DropFrame
{
    Q_OBJECT
public:
    explicit PdfManagerFrame(QWidget *parent = nullptr)
        : DropFrame(PdfDropRule::takesFile, parent)
    {
    }
};
