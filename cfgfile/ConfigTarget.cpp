#include "cfgfile/ConfigTarget.h"

#include "platform/WindowsPath.h"

#include <QFileInfo>

namespace {

// The player is waiting for the save, and a missed install would send the
// line nowhere: the search may take longer here than at start.
constexpr int SaveSearchMilliseconds = 500;

} // namespace

namespace ConfigTarget {

QString forSave(const QString& typed, const QString& defaultPath, const WinePrefix& prefix,
                const GameInstallSearch& search)
{
    if (typed != defaultPath)
        return typed;
    const std::optional<QString> native = WindowsPath::toNative(typed, prefix);
    // The native path, so that the save does not read the Windows path
    // through the prefix a second time.
    if (native && QFileInfo::exists(*native))
        return *native;
    const std::optional<GameInstallSearch::Install> found
        = GameInstallSearch::newest(search.find(QDeadlineTimer(SaveSearchMilliseconds)));
    return found ? found->config : typed;
}

} // namespace ConfigTarget
