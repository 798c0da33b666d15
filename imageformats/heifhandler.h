#pragma once

#include <QByteArray>
#include <QImageIOHandler>

#include <memory>

struct heif_context;
struct heif_image_handle;

// HEIC, HEIF and AVIF through libheif. The primary image is read with the
// rotation and mirroring the file stores already applied; 8-bit sources come
// back as 8-bit images, deeper ones as 16-bit images.
class HeifHandler : public QImageIOHandler
{
public:
    HeifHandler();
    ~HeifHandler() override;

    bool canRead() const override;
    bool read(QImage *image) override;
    bool write(const QImage &image) override;
    bool supportsOption(ImageOption option) const override;
    QVariant option(ImageOption option) const override;
    void setOption(ImageOption option, const QVariant &value) override;

    // "heic", "heif" or "avif" for a device whose file type box names a brand
    // libheif reads; empty otherwise. Leaves the device where it was.
    static QByteArray formatOf(QIODevice *device);
    static bool isHeifFormat(const QByteArray &format);
    static bool canWrite(const QByteArray &format);

private:
    struct ContextDeleter {
        void operator()(heif_context *context) const;
    };
    struct HandleDeleter {
        void operator()(heif_image_handle *handle) const;
    };

    // Reads the container without decoding any pixels; false when the file is
    // not one libheif understands.
    bool parse();
    QImage::Format imageFormat() const;

    enum class State { Unparsed, Parsed, Failed };
    State m_state = State::Unparsed;
    QByteArray m_data; // libheif reads from it for as long as the context lives
    std::unique_ptr<heif_context, ContextDeleter> m_context;
    std::unique_ptr<heif_image_handle, HandleDeleter> m_primary;
    int m_quality = -1;
};
