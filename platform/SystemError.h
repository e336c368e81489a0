#pragma once

#include "platform/RuntimeError.h"

// The one translation from what the operating system reports to the classic
// runtime's numbers and wordings.
namespace SystemError {

RuntimeError fromErrno(int errorNumber);

// Failures the operating system does not report but a save refuses anyway.
RuntimeError badFileName(); // 52: an empty path
RuntimeError pathNotFound(); // 76: a folder in the path is missing
RuntimeError permissionDenied(); // 70: a file whose mode grants no write
RuntimeError pathFileAccess(); // 75: a folder, FIFO, device or socket
RuntimeError changedMeanwhile(); // 75: another program changed the file while it was read
RuntimeError hasOtherNames(); // 75: a hard-linked file that would have to be replaced
RuntimeError lineBreakInLine(); // 5: the line would become two console commands
RuntimeError nulInLine(); // 5: the game would stop reading the line there
RuntimeError appendOnly(); // 75: a file that has to be replaced may only be added to

// `cause` struck after part of the line may have reached the end of `path`,
// and the old size could not be restored.
RuntimeError mayEndWithPartOfLine(const RuntimeError& cause, const QString& path);
// The line was saved to `path`, but another program wrote to the old file
// meanwhile, which now lies beside it as `aside`.
RuntimeError savedBesideForeignChange(const QString& path, const QString& aside);

} // namespace SystemError
