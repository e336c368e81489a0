#pragma once

#include "platform/RuntimeError.h"
#include "platform/WinePrefix.h"

#include <QString>

#include <optional>

// Adds one line to the end of the configuration file so that, whatever
// happens, the file holds either exactly its old bytes or exactly the new
// ones, keeps its identity, owner and mode, and leaves nothing beside it.
//
// Usually the old bytes stay as they are and the new ones are appended in
// place; on any failure the file is cut back to its old size. Only when an
// old line end in the middle has to change is a complete new file written
// beside the old one and renamed over it.
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
