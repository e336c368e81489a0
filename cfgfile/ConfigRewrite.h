#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// What a save makes of the file's bytes. The old content is read the way the
// classic line input reads it: a line ends at CR, a LF right after that CR
// belongs to the line end, a lone LF is an ordinary character and the end of
// the file ends the last line. Every line comes back followed by CR LF, then
// one empty line, the new line and CR LF. All other bytes pass unchanged.
namespace ConfigRewrite {

// The bytes to add at the end of the old content, when every old byte stays
// as it is; nothing when a line ending in a lone CR has to become CR LF in
// the middle of the file.
std::optional<QByteArray> appendix(QByteArrayView oldContent, QByteArrayView encodedLine);

// The whole new content.
QByteArray rewriteAll(QByteArrayView oldContent, QByteArrayView encodedLine);

} // namespace ConfigRewrite
