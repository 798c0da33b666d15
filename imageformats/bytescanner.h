#pragma once

#include <QByteArray>
#include <QIODevice>

// Reads small fields from a device and skips over what lies between them,
// through a small window, so walking a chunk table reads little more than the
// table and a skipped length is never allocated. Positions count from where
// the device stood when the scanner was made; the destructor puts it back.
class ByteScanner
{
public:
    explicit ByteScanner(QIODevice *device);
    ~ByteScanner();
    ByteScanner(const ByteScanner &) = delete;
    ByteScanner &operator=(const ByteScanner &) = delete;

    qint64 size() const { return m_size; }
    qint64 pos() const { return m_pos; }
    qint64 remaining() const { return m_size - m_pos; }

    // Copies `n` bytes (at most the window) and moves past them; false, with
    // the position unchanged, when fewer remain.
    bool read(void *out, int n);
    // Moves `n` bytes on; false when that passes the end.
    bool skip(qint64 n);
    // Reads one byte; -1 at the end.
    int byte();

    // Looks at the first `n` bytes of the device without moving.
    QByteArray head(int n);

private:
    static constexpr int window = 1024;
    bool fill(int n);

    QIODevice *m_device;
    qint64 m_origin;
    qint64 m_size;
    qint64 m_pos = 0;
    qint64 m_windowStart = 0;
    QByteArray m_window;
};
