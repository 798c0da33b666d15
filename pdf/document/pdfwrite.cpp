#include "pdfwrite.h"

#include <QSaveFile>

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDFSystemError.hh>
#include <qpdf/QPDFWriter.hh>

#include <cerrno>

namespace {

int lastErrno()
{
    return errno != 0 ? errno : EIO;
}

// qpdf writes in many small pieces; they are gathered into large writes.
// qpdf also finishes pipelines from destructors, so a failure is kept
// rather than thrown, and checked once the writer is done.
class SaveFilePipeline : public Pipeline
{
public:
    SaveFilePipeline(QSaveFile &file, const std::function<bool()> &abandoned)
        : Pipeline("save file", nullptr)
        , m_file(file)
        , m_abandoned(abandoned)
    {
        m_buffer.reserve(BufferSize);
    }

    void write(unsigned char const *data, size_t length) override
    {
        if (m_buffer.size() + qsizetype(length) > BufferSize)
            flush();
        if (qsizetype(length) >= BufferSize)
            writeToFile(reinterpret_cast<const char *>(data), qint64(length));
        else
            m_buffer.append(reinterpret_cast<const char *>(data), qsizetype(length));
    }

    void finish() override { flush(); }
    // errno of the first failed write, 0 when all went well.
    int error() const { return m_error; }

private:
    static constexpr qsizetype BufferSize = 1 << 20;

    void flush()
    {
        if (m_abandoned && m_abandoned())
            throw PdfWriteAbandoned();
        writeToFile(m_buffer.constData(), m_buffer.size());
        m_buffer.clear();
    }

    void writeToFile(const char *data, qint64 length)
    {
        if (m_error != 0 || length == 0)
            return;
        errno = 0;
        if (m_file.write(data, length) != length)
            m_error = lastErrno();
    }

    QSaveFile &m_file;
    const std::function<bool()> &m_abandoned;
    QByteArray m_buffer;
    int m_error = 0;
};

} // namespace

PdfWriteAbandoned::PdfWriteAbandoned()
    : std::runtime_error("the file was not written: the work was stopped")
{
}

void writePdfAtomically(QPDF &pdf, const QString &path, const std::function<void(QPDFWriter &)> &configure,
                        const std::function<void()> &releaseInputs, const std::function<bool()> &abandoned)
{
    const std::string description = path.toStdString(); // qpdf messages are UTF-8
    QSaveFile file(path);
    errno = 0;
    // Unbuffered: the pipeline gathers the writes, and errno stays the write's own.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw QPDFSystemError(description, lastErrno());
    {
        SaveFilePipeline pipeline(file, abandoned);
        {
            QPDFWriter writer(pdf);
            writer.setOutputPipeline(&pipeline);
            configure(writer);
            writer.write();
        }
        if (pipeline.error() != 0)
            throw QPDFSystemError(description, pipeline.error());
    }
    releaseInputs();
    if (abandoned && abandoned())
        throw PdfWriteAbandoned();
    errno = 0;
    if (!file.commit())
        throw QPDFSystemError(description, lastErrno());
}
