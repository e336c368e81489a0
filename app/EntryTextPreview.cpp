#include "app/EntryTextPreview.h"

#include "preview/EntryTextCheck.h"
#include "preview/GameTextPicture.h"
#include "preview/GameTextRuns.h"
#include "widgets/PicturePopup.h"

#include <QBuffer>
#include <QHelpEvent>
#include <QKeyEvent>
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

EntryTextPreviewContent entryTextPreviewContent(QStringView text, EntryKind kind)
{
    const EntryTextCheck check = checkEntryText(text, kind);
    const std::vector<GameTextRun> runs = gameTextRuns(text, EntryTextPreviewCharacters);

    EntryTextPreviewContent content;
    content.picture = gameTextPicture(runs);
    QString length = check.lengthText();
    if (!runs.empty() && runs.back().kind == GameTextRun::Kind::Cut)
        length += QStringLiteral(" (the picture shows the first %1)").arg(EntryTextPreviewCharacters);
    content.notes << length;
    for (EntryWarning warning : check.warnings)
        content.notes << check.warningText(warning);
    content.tellsSomething = !check.warnings.empty() || holdsCodeOrSymbol(text);
    return content;
}

QString entryTextToolTip(QStringView text, EntryKind kind)
{
    const EntryTextPreviewContent content = entryTextPreviewContent(text, kind);
    QString html = QStringLiteral("<qt>") + inlinePicture(content.picture);
    for (const QString& note : content.notes)
        html += QStringLiteral("<br>") + note.toHtmlEscaped();
    return html + QStringLiteral("</qt>");
}

EntryTextPreview::EntryTextPreview(QLineEdit& entryText, std::function<EntryKind()> entryKind)
    : QObject(&entryText)
    , m_entryText(entryText)
    , m_entryKind(std::move(entryKind))
{
    m_entryText.installEventFilter(this);
    // The preview beside the text moves with the window.
    m_entryText.window()->installEventFilter(this);
    connect(&m_entryText, &QLineEdit::textChanged, this, [this] {
        // Only a tip that is still ours on the screen is brought up to date.
        if (QToolTip::isVisible() && QToolTip::text() == m_shownText)
            showToolTip(m_shownAt);
        followTyping();
    });
}

bool EntryTextPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_entryText.window() && event->type() == QEvent::Move && besideShown())
        m_beside->followField();
    if (watched != &m_entryText)
        return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::ToolTip:
        // The preview beside the text already shows what the tip would.
        if (!besideShown())
            showToolTip(static_cast<QHelpEvent*>(event)->globalPos());
        return true;
    case QEvent::FocusIn:
        followTyping();
        break;
    case QEvent::FocusOut:
        if (m_beside)
            m_beside->hide();
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && besideShown()) {
            m_beside->hide();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void EntryTextPreview::showToolTip(QPoint globalPosition)
{
    m_shownAt = globalPosition;
    m_shownText = entryTextToolTip(m_entryText.text(), m_entryKind());
    QToolTip::showText(globalPosition, m_shownText, &m_entryText);
}

void EntryTextPreview::followTyping()
{
    if (!m_entryText.hasFocus()) {
        if (m_beside)
            m_beside->hide();
        return;
    }
    const EntryTextPreviewContent content = entryTextPreviewContent(m_entryText.text(), m_entryKind());
    if (!content.tellsSomething) {
        if (m_beside)
            m_beside->hide();
        return;
    }
    if (!m_beside) {
        m_beside = new PicturePopup(m_entryText);
        m_beside->setObjectName(QStringLiteral("EntryTextPreview"));
    }
    // A tip of the same on top would only hide the field.
    if (QToolTip::isVisible() && QToolTip::text() == m_shownText)
        QToolTip::hideText();
    m_beside->showBesideField(content.picture, content.notes);
}

bool EntryTextPreview::besideShown() const
{
    return m_beside && m_beside->isVisible();
}

void installEntryTextPreview(QLineEdit& entryText, std::function<EntryKind()> entryKind)
{
    new EntryTextPreview(entryText, std::move(entryKind));
}
