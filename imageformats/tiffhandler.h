#pragma once

#include "tifffile.h"

#include <QImageIOHandler>

#include <memory>

// Reads TIFF through libtiff's RGBA interface, under its own format name so
// the program's guarded reader can pick it over Qt's TIFF plug-in, which
// refuses 16-bit RGB and planar files. Read only: writing stays with Qt's.
class TiffHandler : public QImageIOHandler
{
public:
    static constexpr const char *formatName = "tiff-rgba";

    bool canRead() const override;
    bool read(QImage *image) override;
    bool supportsOption(ImageOption option) const override;
    QVariant option(ImageOption option) const override;

private:
    TiffFile *file() const;

    mutable std::unique_ptr<TiffFile> m_file;
};
