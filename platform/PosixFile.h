#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <sys/stat.h>

// The file system calls a save makes, each retried after an interruption and
// each returning the errno of its failure, or 0. Names are bytes as the file
// system holds them, never decoded. Everything after resolving a path works
// on descriptors: the folder's and the file's.
namespace PosixFile {

// A signal that would end the program halfway through a save: past a
// file-size limit a write must fail instead, and a broken lease must only be
// noticed, not end the holder.
void ignoreSignalsThatStopASave();

// Follows every link in `path` to the file it names, split into its folder
// and its name.
int resolve(const QByteArray& path, QByteArray& folder, QByteArray& name);
bool isFolder(const QByteArray& path);

int openFolder(const QByteArray& path, FileDescriptor& folder);
// Opens `name` in `folder` without following a link and without waiting.
int openIn(int folder, const QByteArray& name, int flags, FileDescriptor& file);
int statusIn(int folder, const QByteArray& name, struct stat& status);
int status(int file, struct stat& status);
bool isMountRoot(int file);
// Whether this process, with its effective ids, may write `name` in `folder`
// ("." for the folder itself).
int mayWrite(int folder, const QByteArray& name);
// Whether this process can give a file it creates the owner and group that
// `status` names.
bool canGiveOwnership(const struct stat& status);

// A write lease is granted only while no other descriptor has the file open;
// any other open then breaks it.
int takeWriteLease(int file);
bool holdsWriteLease(int file);
void pause(int milliseconds);
void dropLease(int file);

// Reads at most `size` bytes at `offset`; `count` 0 at the end of the file.
int readAt(int file, char* buffer, qint64 size, qint64 offset, qint64& count);
int writeAt(int file, QByteArrayView bytes, qint64 offset);
// Appends with as few writes as the system allows; `written` counts even
// when a later write fails.
int append(int file, QByteArrayView bytes, qint64& written);
// Copies inside the kernel (as a reflink where the file system shares
// extents); `copied` may fall short of `length` at the end of the file.
int copyRange(int from, qint64 fromOffset, int to, qint64 toOffset, qint64 length, qint64& copied);
// Allocates room for `length` bytes at `offset` without changing the size.
int reserve(int file, qint64 offset, qint64 length);
int truncate(int file, qint64 size);
int flush(int file);

int createUnnamed(int folder, FileDescriptor& file);
int createNamed(int folder, const QByteArray& name, FileDescriptor& file);
int giveName(int file, int folder, const QByteArray& name);
int exchange(int folder, const QByteArray& first, const QByteArray& second);
int rename(int folder, const QByteArray& from, const QByteArray& to);
int remove(int folder, const QByteArray& name);
int namesIn(int folder, QList<QByteArray>& names);

// Owner, group, mode and every extended attribute (ACLs among them) of
// `status` and `from` onto `to`, and nothing `from` lacks.
int copyIdentity(const struct stat& status, int from, int to);

} // namespace PosixFile
