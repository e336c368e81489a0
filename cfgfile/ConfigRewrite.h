#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// What a save makes of the file's bytes. The old content is read the way the
// classic line input reads it: a line ends at CR, a LF right after that CR
// belongs to the line end, a lone LF is an ordinary character and the end of
// the file ends the last line. Every line comes back followed by CR LF, then
// one empty line, the new line and CR LF. All other bytes pass unchanged.
//
// The old content may be fed in pieces of any size, so that a large file
// never has to be held in memory at once.
class ConfigRewrite
{
public:
    explicit ConfigRewrite(QByteArray encodedLine);

    // The new line as the file holds it: Windows-1252, "?" for a character
    // that Windows-1252 cannot hold.
    static QByteArray encodeLine(const QString& line);

    // The whole rewrite of `oldContent` in one go.
    static QByteArray rewriteAll(QByteArrayView oldContent, QByteArrayView encodedLine);

    // Follows the next piece of the old content without producing anything:
    // enough to learn whether the old bytes survive as they are.
    void scan(QByteArrayView piece);

    // Whether the next piece of the old content comes back byte for byte,
    // so that it may be copied as it is and then only scanned.
    bool keepsAsIs(QByteArrayView piece) const;

    // Appends what the next piece of the old content becomes to `out`.
    void rewrite(QByteArrayView piece, QByteArray& out);

    // Appends what comes after the old content: the last line's end if it
    // still lacks one, the empty line, the new line and CR LF.
    void finish(QByteArray& out);

    // Whether the content seen so far comes back byte for byte, so that the
    // rewrite only adds bytes at the end. False once a lone CR is followed by
    // another byte and has to become CR LF in the middle of the file.
    bool keepsOldBytes() const { return !m_changesOldBytes; }

    // Without keepsOldBytes(): where in the old content the first byte is
    // added, right after the first lone CR. The bytes before it stay as they
    // are, and from it on the rewrite goes on as if the content began there.
    qint64 firstChange() const { return m_firstChange; }

    // With keepsOldBytes(), after the whole old content has been scanned: the
    // bytes to add at its end.
    QByteArray appendix() const;

private:
    template <typename Output>
    void process(QByteArrayView piece, Output output);

    QByteArray m_encodedLine;
    bool m_pendingCr = false; // the last byte was a CR whose line end is not settled yet
    bool m_atLineStart = true; // no line has begun since the last line end
    bool m_changesOldBytes = false;
    qint64 m_seen = 0; // bytes of the old content before the current piece
    qint64 m_firstChange = -1;
};
