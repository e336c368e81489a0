#pragma once

#include <QByteArrayView>

// A stretch of a file mapped for reading: the page cache seen in place, with
// no copy, for a scan that only looks. A mapping faults if another program
// cuts the file short meanwhile, so it is for files nobody else has open.
class MappedWindow
{
public:
    MappedWindow() = default;
    ~MappedWindow() { unmap(); }
    MappedWindow(const MappedWindow&) = delete;
    MappedWindow& operator=(const MappedWindow&) = delete;

    // Maps `length` bytes from `offset`, a multiple of the page size, in
    // place of what was mapped before. The errno of a failure, or 0.
    int map(int file, qint64 offset, qint64 length);
    QByteArrayView bytes() const { return {static_cast<const char*>(m_address), m_length}; }

private:
    void unmap();

    void* m_address = nullptr;
    qsizetype m_length = 0;
};
