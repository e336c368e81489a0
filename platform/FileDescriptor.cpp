#include "platform/FileDescriptor.h"

#include <unistd.h>

void FileDescriptor::reset()
{
    if (m_descriptor >= 0)
        ::close(std::exchange(m_descriptor, -1));
}
