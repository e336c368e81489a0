#include "app/EntryTextPreview.h"

#include "preview/EntryTextCheck.h"
#include "preview/GameTextPicture.h"
#include "preview/GameTextRuns.h"

#include <QBuffer>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>

namespace {

// A tooltip holds rich text, and rich text takes a picture inline as a data URL.
QString inlinePicture(const QImage& picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return QStringLiteral("<img src=\"data:image/png;base64,%1\">").arg(QString::fromLatin1(png.toBase64()));
}

} // namespace

QString entryTextToolTip(QStringView text, EntryKind kind)
{
    const EntryTextCheck check = checkEntryText(text, kind);
    const std::vector<GameTextRun> runs = gameTextRuns(text, EntryTextPreviewCharacters);

    QString html = QStringLiteral("<qt>") + inlinePicture(gameTextPicture(runs));
    QString length = check.lengthText();
    if (!runs.empty() && runs.back().kind == GameTextRun::Kind::Cut)
        length += QStringLiteral(" (the picture shows the first %1)").arg(EntryTextPreviewCharacters);
    html += QStringLiteral("<br>") + length.toHtmlEscaped();
    for (EntryWarning warning : check.warnings)
        html += QStringLiteral("<br>") + check.warningText(warning).toHtmlEscaped();
    return html + QStringLiteral("</qt>");
}

EntryTextPreview::EntryTextPreview(QLineEdit& entryText, std::function<EntryKind()> entryKind)
    : QObject(&entryText)
    , m_entryText(entryText)
    , m_entryKind(std::move(entryKind))
{
    m_entryText.installEventFilter(this);
    connect(&m_entryText, &QLineEdit::textChanged, this, [this] {
        // Only a tip that is still ours on the screen is brought up to date.
        if (QToolTip::isVisible() && QToolTip::text() == m_shownText)
            show(m_shownAt);
    });
}

bool EntryTextPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_entryText && event->type() == QEvent::ToolTip) {
        show(static_cast<QHelpEvent*>(event)->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void EntryTextPreview::show(QPoint globalPosition)
{
    m_shownAt = globalPosition;
    m_shownText = entryTextToolTip(m_entryText.text(), m_entryKind());
    QToolTip::showText(globalPosition, m_shownText, &m_entryText);
}

void installEntryTextPreview(QLineEdit& entryText, std::function<EntryKind()> entryKind)
{
    new EntryTextPreview(entryText, std::move(entryKind));
}
