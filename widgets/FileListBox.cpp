#include "widgets/FileListBox.h"

#include "platform/FolderListing.h"

#include <QDir>
#include <QMouseEvent>
#include <QStringListModel>

FileListBox::FileListBox(QWidget* parent)
    : QListView(parent)
    , m_names(new QStringListModel(this))
{
    setModel(m_names);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);

    // Selection, not the current index: tabbing into the list marks a current
    // row without selecting it, and that is no Click.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (!selected.isEmpty())
                    emit Click();
            });
}

QString FileListBox::path() const
{
    return QDir::toNativeSeparators(m_path);
}

bool FileListBox::setPath(const QString& folder)
{
    const QString normal = FolderListing::normalFolder(folder);
    const FolderListing listing = FolderListing::readPromptly(normal);
    if (!listing.isReadable()) {
        emit openFailed(listing.problem());
        return false;
    }
    m_path = normal;
    m_names->setStringList(listing.names(FileStatus::Kind::File, false));
    scrollToTop();
    return true;
}

QString FileListBox::fileName() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

void FileListBox::mousePressEvent(QMouseEvent* event)
{
    // Clicking the file that is already selected changes no selection, yet
    // the player expects its path again, say after typing over it.
    const QModelIndex pressed = indexAt(event->position().toPoint());
    const bool reselected = event->button() == Qt::LeftButton && pressed.isValid()
                            && selectionModel()->isSelected(pressed);
    QListView::mousePressEvent(event);
    if (reselected)
        emit Click();
}
