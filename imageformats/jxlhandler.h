#pragma once

#include <QByteArray>
#include <QImageIOHandler>

// JPEG XL through libjxl, codestream or container. The image comes back turned
// by the orientation it stores; lossy images are decoded straight to sRGB.
// Animations give their first frame.
class JxlHandler : public QImageIOHandler
{
public:
    bool canRead() const override;
    bool read(QImage *image) override;
    bool write(const QImage &image) override;
    bool supportsOption(ImageOption option) const override;
    QVariant option(ImageOption option) const override;
    void setOption(ImageOption option, const QVariant &value) override;

    // True for a device that starts with a JPEG XL signature; leaves the device where it was.
    static bool canRead(QIODevice *device);

private:
    struct Header {
        QSize size;
        QImage::Format format = QImage::Format_Invalid;
    };
    bool load();
    bool readHeader(Header &header);

    enum class State { Unread, Read, Failed };
    State m_state = State::Unread;
    QByteArray m_data;
    int m_quality = -1;
};
