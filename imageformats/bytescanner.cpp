#include "bytescanner.h"

#include <cstring>

ByteScanner::ByteScanner(QIODevice *device)
    : m_device(device)
    , m_origin(device->pos())
    , m_size(device->isSequential() ? 0 : qMax<qint64>(0, device->size() - m_origin))
{
}

ByteScanner::~ByteScanner()
{
    m_device->seek(m_origin);
}

bool ByteScanner::fill(int n)
{
    if (m_pos >= m_windowStart && m_pos + n <= m_windowStart + m_window.size())
        return true;
    if (n > window || n > remaining() || !m_device->seek(m_origin + m_pos))
        return false;
    m_windowStart = m_pos;
    m_window = m_device->read(qMin<qint64>(window, remaining()));
    return m_window.size() >= n;
}

bool ByteScanner::read(void *out, int n)
{
    if (!fill(n))
        return false;
    std::memcpy(out, m_window.constData() + (m_pos - m_windowStart), size_t(n));
    m_pos += n;
    return true;
}

bool ByteScanner::skip(qint64 n)
{
    if (n < 0 || n > remaining())
        return false;
    m_pos += n;
    return true;
}

int ByteScanner::byte()
{
    unsigned char b = 0;
    return read(&b, 1) ? b : -1;
}

QByteArray ByteScanner::head(int n)
{
    const qint64 at = m_pos;
    m_pos = 0;
    QByteArray bytes(qMin<qint64>(n, m_size), Qt::Uninitialized);
    if (!read(bytes.data(), int(bytes.size())))
        bytes.clear();
    m_pos = at;
    return bytes;
}
