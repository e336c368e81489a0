#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QByteArrayView>

#include <sys/stat.h>

// The file system calls a save makes, each retried after an interruption and
// each returning the errno of its failure, or 0. Names are bytes as the file
// system holds them, never decoded.
namespace PosixFile {

// Past a file-size limit a write must fail, not end the program mid-save.
void ignoreFileSizeSignal();
// Follows every link in `path`, and opens the folder that holds the file.
int openFolderOf(const QByteArray& path, FileDescriptor& folder, QByteArray& name);
// Without following a link or waiting; a file it creates is the owner's alone.
int openIn(int folder, const QByteArray& name, int flags, FileDescriptor& file);
int statusIn(int folder, const QByteArray& name, struct stat& status);
int status(int file, struct stat& status);

int readAll(int file, QByteArray& content);
// At the file's position, its end when opened to append; `written` counts
// even when a later write fails.
int write(int file, QByteArrayView bytes, qint64& written);
// Room for `length` bytes at `offset`, without changing the size.
int reserve(int file, qint64 offset, qint64 length);
int truncate(int file, qint64 size);
int flush(int file);
// Whether `chattr` made the file only to be added to, or not to be changed.
bool isAppendOnly(int file);

int exchange(int folder, const QByteArray& first, const QByteArray& second);
int rename(int folder, const QByteArray& from, const QByteArray& to);
int remove(int folder, const QByteArray& name);
// Owner, group, mode, attribute flags and every extended attribute (ACLs
// among them) of `from` onto the empty file `to`, and nothing `from` lacks.
int copyIdentity(int from, int to);

} // namespace PosixFile
