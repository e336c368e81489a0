#include "platform/MappedWindow.h"

#include <cerrno>
#include <sys/mman.h>

int MappedWindow::map(int file, qint64 offset, qint64 length)
{
    unmap();
    if (length == 0)
        return 0;
    void* address = ::mmap(nullptr, size_t(length), PROT_READ, MAP_SHARED | MAP_POPULATE, file, off_t(offset));
    if (address == MAP_FAILED)
        return errno;
    m_address = address;
    m_length = qsizetype(length);
    return 0;
}

void MappedWindow::unmap()
{
    if (m_address)
        ::munmap(m_address, size_t(m_length));
    m_address = nullptr;
    m_length = 0;
}
