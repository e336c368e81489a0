#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// What a save makes of the file's bytes. The old content is read the way the
// classic line input reads it: a line ends at CR, a LF right after that CR
// belongs to the line end, a lone LF is an ordinary character and the end of
// the file ends the last line. Every line comes back followed by CR LF, then
// one empty line, the new line and CR LF. All other bytes pass unchanged.
namespace ConfigRewrite {

// The old content in stretches that come back as they are. A lone CR before
// the last byte ends a stretch and gets its LF after it; one stretch means
// the new content only adds to the old.
QList<QByteArrayView> stretches(QByteArrayView oldContent);

// What follows the old content: the last line's end where it still lacks
// one, the empty line, the new line and its end.
QByteArray ending(QByteArrayView oldContent, QByteArrayView encodedLine);

} // namespace ConfigRewrite
