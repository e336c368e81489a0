#pragma once

#include "platform/RuntimeError.h"
#include "platform/WinePrefix.h"

#include <QString>

#include <optional>

// Adds one line to the end of the configuration file so that, whatever
// happens, the file holds either exactly its old bytes or exactly the new
// ones, and keeps its owner, mode, attributes, links and mount.
//
// Usually a complete new file is written beside the old one and swapped with
// it. Where that would change what the file is, or another program holds the
// file open, the line is added in place instead.
class ConfigSaver
{
public:
    explicit ConfigSaver(WinePrefix prefix = WinePrefix::fromEnvironment());

    // `typedPath` as the player typed it, in Windows or native form. Returns
    // the failure, if any; a missing folder is RuntimeError::PathNotFound.
    std::optional<RuntimeError> addLine(const QString& typedPath, const QString& line) const;

private:
    WinePrefix m_prefix;
};
