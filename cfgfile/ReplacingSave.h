#pragma once

#include "cfgfile/ConfigRewrite.h"
#include "platform/FileDescriptor.h"
#include "platform/RuntimeError.h"

#include <QByteArray>

#include <optional>

class SaveTarget;

// The complete new file written beside the old one, flushed, and swapped with
// it in one step, so that at no instant does the name hold less than the old
// or the new file. Until the swap the new file has no name, or a temporary
// one; after it the old file has the temporary name until it is removed. A
// save killed in between leaves that one name behind, and the next save
// clears it away.
//
// The swap keeps the old file at hand: if another program opened it while the
// new one was written (which breaks the lease the caller holds), the two are
// swapped back and the save fails having changed nothing.
class ReplacingSave
{
public:
    enum class Outcome {
        Saved,
        Failed, // the file holds its old bytes
        Declined, // replacing cannot keep what the file is, or finds no room; nothing was changed
    };
    struct Result
    {
        Outcome outcome;
        std::optional<RuntimeError> failure;
    };

    // `rewrite` has scanned the whole old content, or up to its first change.
    ReplacingSave(const SaveTarget& target, const ConfigRewrite& rewrite, const QByteArray& encodedLine, bool leased);
    ~ReplacingSave();
    ReplacingSave(const ReplacingSave&) = delete;
    ReplacingSave& operator=(const ReplacingSave&) = delete;

    Result run();

    // Removes what a killed save of this file left beside it.
    static void clearLeftovers(const SaveTarget& target);

private:
    std::optional<RuntimeError> create();
    std::optional<RuntimeError> writeContent();
    std::optional<RuntimeError> name();
    Result swap();

    const SaveTarget& m_target;
    const ConfigRewrite& m_scanned;
    QByteArray m_encodedLine;
    bool m_leased;
    FileDescriptor m_file;
    bool m_unnamed = false;
    QByteArray m_temporaryName; // while a name of ours stands in the folder
};
