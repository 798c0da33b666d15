#pragma once

#include "heifhandler.h"

#include <memory>

struct avifDecoder;

// AVIF read through libavif with dav1d on every core, which decodes a photo
// in about half the time libheif's AV1 path takes; writing stays with
// libheif. Like HeifHandler, it returns the picture with the stored rotation
// and mirroring applied.
class AvifHandler : public HeifHandler
{
public:
    AvifHandler();
    ~AvifHandler() override;

    bool read(QImage *image) override;
    QVariant option(ImageOption option) const override;

private:
    struct DecoderDeleter {
        void operator()(avifDecoder *decoder) const;
    };

    bool parse();
    QImage::Format imageFormat() const;
    QSize uprightSize() const;

    enum class State { Unparsed, Parsed, Failed };
    State m_state = State::Unparsed;
    QByteArray m_data; // libavif reads from it for as long as the decoder lives
    std::unique_ptr<avifDecoder, DecoderDeleter> m_decoder;
};
