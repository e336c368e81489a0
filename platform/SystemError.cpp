#include "platform/SystemError.h"

#include <cerrno>

namespace {

struct ClassicError
{
    int number;
    const char* description;
};

constexpr ClassicError InvalidCall{5, "Invalid procedure call or argument"};
constexpr ClassicError BadFileName{52, "Bad file name or number"};
constexpr ClassicError PermissionDenied{70, "Permission denied"};
constexpr ClassicError PathFileAccess{75, "Path/File access error"};
constexpr ClassicError PathNotFound{RuntimeError::PathNotFound, "Path not found"};

// Anything not listed is a general access failure, as the classic runtime
// reported whatever it did not recognise.
constexpr struct
{
    int errorNumber;
    ClassicError classic;
} errnoTable[] = {
    {ENOENT, {53, "File not found"}},
    {ENOTDIR, PathNotFound},
    {EACCES, PermissionDenied},
    {EPERM, PermissionDenied},
    {ETXTBSY, PermissionDenied},
    {EROFS, PermissionDenied},
    {ENOSPC, {61, "Disk full"}},
    {EDQUOT, {61, "Disk full"}},
    {EFBIG, {61, "Disk full"}},
    {EIO, {57, "Device I/O error"}},
    {ENXIO, {68, "Device unavailable"}},
    {ENODEV, {68, "Device unavailable"}},
    {EMFILE, {67, "Too many files"}},
    {ENFILE, {67, "Too many files"}},
    {ENOMEM, {7, "Out of memory"}},
    {EEXIST, {58, "File already exists"}},
    {EXDEV, {74, "Can't rename with different drive"}},
    {ENAMETOOLONG, BadFileName},
};

RuntimeError toRuntimeError(const ClassicError& classic)
{
    return {classic.number, QString::fromLatin1(classic.description)};
}

RuntimeError accessError(const char* description)
{
    return {PathFileAccess.number, QString::fromLatin1(description)};
}

} // namespace

namespace SystemError {

RuntimeError fromErrno(int errorNumber)
{
    for (const auto& entry : errnoTable) {
        if (entry.errorNumber == errorNumber)
            return toRuntimeError(entry.classic);
    }
    return toRuntimeError(PathFileAccess);
}

RuntimeError badFileName() { return toRuntimeError(BadFileName); }
RuntimeError pathNotFound() { return toRuntimeError(PathNotFound); }
RuntimeError permissionDenied() { return toRuntimeError(PermissionDenied); }
RuntimeError pathFileAccess() { return toRuntimeError(PathFileAccess); }
RuntimeError changedMeanwhile() { return accessError("File was changed by another program while saving"); }
RuntimeError hasOtherNames() { return accessError("File has other names that would lose the change"); }
RuntimeError appendOnly() { return accessError("File or its folder may only be added to, and the file's line ends would have to change"); }

RuntimeError lineBreakInLine() { return {InvalidCall.number, QStringLiteral("The line holds a line break; nothing was saved")}; }
RuntimeError nulInLine() { return {InvalidCall.number, QStringLiteral("The line holds a NUL character; nothing was saved")}; }

RuntimeError mayEndWithPartOfLine(const RuntimeError& cause, const QString& path)
{
    return {cause.number, cause.description + QStringLiteral(". ") + path
                              + QStringLiteral(" may now end with part of the new line; delete that part before starting the game")};
}

RuntimeError savedBesideForeignChange(const QString& path, const QString& aside)
{
    return {PathFileAccess.number, QStringLiteral("File was changed by another program while saving. The line was saved in ")
                                       + path + QStringLiteral("; what the other program wrote is in ") + aside
                                       + QStringLiteral(" beside it, and the next save removes that file")};
}

} // namespace SystemError
