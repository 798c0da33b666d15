#pragma once

#include "dropframe.h"
#include "imagefiles.h"

// The drop area the images tool shows while its source list is empty.
class ConvertImageFrame : public DropFrame
{
    Q_OBJECT
public:
    explicit ConvertImageFrame(QWidget *parent = nullptr)
        : DropFrame(ImageFiles::isImageFile, parent)
    {
    }
};
