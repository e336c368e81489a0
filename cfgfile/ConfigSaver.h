#pragma once

#include "platform/RuntimeError.h"

#include <QString>

#include <optional>

// Adds one line to the end of the configuration file so that, whatever
// happens, the file holds either exactly its old bytes or exactly the new
// ones, and stays the same file: owner, mode, attributes, links and mount.
// The line is added in place unless old line ends have to change; then a
// complete new file that carries the old one's identity replaces it.
namespace ConfigSaver {

// `nativePath` names the file itself or a link to it, as the path box's
// text resolves; a missing folder is said there. Returns the failure, if any.
std::optional<RuntimeError> addLine(const QString& nativePath, const QString& line);

} // namespace ConfigSaver
