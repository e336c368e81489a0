#include "widgets/DirListBox.h"

#include "icons/PixelIcon.h"
#include "platform/FolderListing.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

constexpr int FolderRole = Qt::UserRole;
constexpr int IndentPixels = 10;

// Draws each row as far in as its depth. Rows are as wide as the list, and
// a name too long for what is left of its row ends in an ellipsis.
class IndentingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() + index.data(DirListBox::DepthRole).toInt() * IndentPixels);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    // No row asks for more width than the list has, so the list never scrolls sideways.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {0, QStyledItemDelegate::sizeHint(option, index).height()};
    }
};

// The folders from the root down to the given one inside it, each as a full path.
QStringList chainFrom(const QString& root, const QString& folder)
{
    QStringList chain{root};
    QString step = root.endsWith(u'/') ? root.chopped(1) : root;
    for (const QString& name : folder.mid(root.size()).split(u'/', Qt::SkipEmptyParts)) {
        step += u'/' + name;
        chain.append(step);
    }
    return chain;
}

} // namespace

DirListBox::DirListBox(QWidget* parent)
    : QListWidget(parent)
{
    setItemDelegate(new IndentingDelegate(this));
    // One row measured for all: a folder of thousands opens at once.
    setUniformItemSizes(true);
    // The folders are drawn for 16 pixels, and also for 32 only for a screen scaled twice.
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

QString DirListBox::path() const
{
    return QDir::toNativeSeparators(m_path);
}

bool DirListBox::setPath(const QString& folder)
{
    const QString normal = FolderListing::normalFolder(folder);
    if (!m_root.isEmpty() && FolderListing::holds(m_root, normal))
        return setDrivePath(m_root, m_rootCaption, normal);
    return setDrivePath(QDir::rootPath(), QDir::toNativeSeparators(QDir::rootPath()), normal);
}

bool DirListBox::setDrivePath(const QString& root, const QString& rootCaption, const QString& folder)
{
    const QString normalRoot = FolderListing::normalFolder(root);
    const QString normal = FolderListing::normalFolder(folder);
    if (!FolderListing::holds(normalRoot, normal))
        return setDrivePath(QDir::rootPath(), QDir::toNativeSeparators(QDir::rootPath()), normal);
    const FolderListing listing = FolderListing::readPromptly(normal);
    if (!listing.isReadable()) {
        emit openFailed(listing.problem());
        if (listing.isMissing()) {
            for (int row = count() - 1; row >= 0; --row) {
                if (item(row)->data(FolderRole).toString() == normal)
                    delete takeItem(row);
            }
            emit folderVanished(normal);
        }
        return false;
    }
    m_root = normalRoot;
    m_rootCaption = rootCaption;
    m_path = normal;
    showFolder(normal, listing.names(FileStatus::Kind::Folder, false));
    emit Change();
    return true;
}

void DirListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (const QListWidgetItem* item = itemAt(event->position().toPoint())) {
            openItem(item);
            return;
        }
    }
    QListWidget::mouseDoubleClickEvent(event);
}

void DirListBox::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        openItem(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirListBox::showFolder(const QString& folder, const QStringList& subfolders)
{
    clear();
    const QIcon openIcon = pixelIcon(Icon::OpenFolder);
    const QIcon closedIcon = pixelIcon(Icon::ShutFolder);
    // Each row is complete before it joins the list, which then lays it out once.
    const auto addRow = [this](const QString& caption, const QIcon& icon, const QString& path, qsizetype depth) {
        auto* item = new QListWidgetItem(icon, caption);
        item->setData(FolderRole, path);
        item->setData(DepthRole, int(depth));
        addItem(item);
        return item;
    };

    const QStringList chain = chainFrom(m_root, folder);
    QListWidgetItem* open = nullptr;
    for (qsizetype depth = 0; depth < chain.size(); ++depth)
        open = addRow(depth == 0 ? m_rootCaption : QFileInfo(chain[depth]).fileName(), openIcon, chain[depth], depth);

    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const QString& name : subfolders)
        addRow(name, closedIcon, prefix + name, chain.size());

    setCurrentItem(open);
    showOpenFolder();
}

void DirListBox::showOpenFolder()
{
    // As much of the way down as fits, and always the open folder.
    scrollToTop();
    if (currentItem())
        scrollToItem(currentItem());
}

void DirListBox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    showOpenFolder();
}

void DirListBox::openItem(const QListWidgetItem* item)
{
    setPath(item->data(FolderRole).toString());
}
