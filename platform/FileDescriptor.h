#pragma once

#include <unistd.h>

// An open file descriptor that is closed when it goes out of scope, so that
// every way out of a save releases the file.
class FileDescriptor
{
public:
    explicit FileDescriptor(int descriptor = -1) : m_descriptor(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(-1); }

    // Holds `descriptor` in place of the one held before, which is closed.
    int reset(int descriptor)
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        return m_descriptor = descriptor;
    }
    int get() const { return m_descriptor; }

private:
    int m_descriptor;
};
