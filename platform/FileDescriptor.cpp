#include "platform/FileDescriptor.h"

#include <unistd.h>

FileDescriptor::~FileDescriptor()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}
