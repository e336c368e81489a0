#include "app/Form1.h"

#include "app/AppIcon.h"
#include "app/EntryTextPreview.h"
#include "app/FormDefinition.h"
#include "app/HelpText.h"
#include "cfgfile/ConfigLine.h"
#include "cfgfile/ConfigSaver.h"
#include "cfgfile/FilePath.h"
#include "game/ConfigTarget.h"
#include "game/GameProcess.h"
#include "widgets/ColourPalette.h"
#include "widgets/ComboBox.h"
#include "widgets/CommandButton.h"
#include "widgets/DirListBox.h"
#include "widgets/DriveListBox.h"
#include "widgets/FileListBox.h"
#include "widgets/Line.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"
#include "widgets/SingleLineValidator.h"
#include "widgets/SymbolPalette.h"
#include "widgets/TextBox.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

QFont arial(qreal pointSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize); // the int constructor would round 8.25 down to 8
    return font;
}

QFont fontFor(ControlFont font, const QFont& interfaceFont)
{
    switch (font) {
    case ControlFont::Arial825:
        return arial(8.25);
    case ControlFont::Arial675:
        return arial(6.75);
    case ControlFont::Interface:
        break;
    }
    return interfaceFont;
}

QWidget* createControl(const ControlDefinition& definition, QWidget* form)
{
    switch (definition.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(definition.text(), form);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        if (definition.bordered)
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
        if (definition.transparent && definition.caption[0] == '\0') {
            // A framing label is only a drawn border: clicks reach what lies beneath.
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        return label;
    }
    case ControlKind::OptionButton:
        return new QRadioButton(definition.text(), form);
    case ControlKind::TextBox: {
        auto* textBox = new TextBox(form);
        textBox->setText(definition.text());
        textBox->setCursorPosition(0);
        return textBox;
    }
    case ControlKind::ComboBox: {
        auto* combo = new ComboBox(form);
        // Its text is set once its list is filled, in Form_Load.
        return combo;
    }
    case ControlKind::CommandButton:
        return new CommandButton(definition.text(), form);
    case ControlKind::DriveList:
        return new DriveListBox(form);
    case ControlKind::FolderList:
        return new DirListBox(form);
    case ControlKind::FileList:
        return new FileListBox(form);
    case ControlKind::PictureBox:
        return new PictureBox(form);
    case ControlKind::Line:
        return new Line(form);
    }
    return nullptr;
}

// How long the search for the copies of the game may take. It runs behind the
// window, so it may take its time on a cold disk (3,000 Proton prefixes take
// about a second and a half); only a save pressed meanwhile waits for it,
// with the window answering, and for a search stuck on a share that does not
// answer only a little longer.
constexpr int SearchMilliseconds = 5000;
constexpr int SaveWaitMilliseconds = SearchMilliseconds + 1000;

bool isWindowless(ControlKind kind)
{
    return kind == ControlKind::Label || kind == ControlKind::Line;
}

} // namespace

Form1::Form1(const QString& startFolder, const QList<DriveCatalog::Drive>& drives, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Veltrane"));
    setWindowIcon(appIcon());
    setFixedSize(twipsToPixels(FormClientWidthTwips), twipsToPixels(FormClientHeightTwips));

    createControls();
    openStartFolder(startFolder, drives);
    installColourPalette(*m_picture1, *m_text1);
    installSymbolPalette(*m_picture3, *m_text1);
    installEntryTextPreview(*m_text1, [this] { return isBindMode() ? EntryKind::ChatMessage : EntryKind::Name; });
    arrangeTabOrder();
    connectHandlers();
    Form_Load();
    showSaveTarget();
    m_text3->setFocus(Qt::OtherFocusReason);
}

void Form1::createControls()
{
    std::vector<QWidget*> windowless;
    for (const ControlDefinition& definition : formControls()) {
        QWidget* control = createControl(definition, this);
        control->setObjectName(definition.objectName());
        control->setGeometry(definition.pixelRect());
        if (definition.font != ControlFont::Interface)
            control->setFont(fontFor(definition.font, font()));
        control->setVisible(definition.shownAtStart);
        if (isWindowless(definition.kind))
            windowless.push_back(control);
    }
    // Labels and lines lie beneath every control that has a window of its own.
    for (QWidget* control : windowless)
        control->lower();

    m_combo1 = findChild<QComboBox*>(QStringLiteral("Combo1"));
    m_combo2 = findChild<QComboBox*>(QStringLiteral("Combo2"));
    m_text1 = findChild<TextBox*>(QStringLiteral("Text1"));
    m_text3 = findChild<TextBox*>(QStringLiteral("Text3"));
    m_command1 = findChild<QPushButton*>(QStringLiteral("Command1"));
    m_command4 = findChild<QPushButton*>(QStringLiteral("Command4"));
    m_drive1 = findChild<DriveListBox*>(QStringLiteral("Drive1"));
    m_dir1 = findChild<DirListBox*>(QStringLiteral("Dir1"));
    m_file1 = findChild<FileListBox*>(QStringLiteral("File1"));
    m_picture1 = findChild<PictureBox*>(QStringLiteral("Picture1"));
    m_picture3 = findChild<PictureBox*>(QStringLiteral("Picture3"));

    nameForScreenReaders();
}

void Form1::nameForScreenReaders()
{
    // What a screen reader says of each control that takes the focus and
    // shows no caption of its own: the caption of the label beside it where
    // there is one.
    const struct {
        const char* control;
        const char* name;
    } names[] = {
        {"Option2", "Bind"},
        {"Option1", "Name"},
        {"Combo1", "Key"},
        {"Combo2", "Command"},
        {"Text3", "Path of sof2mp.cfg"},
        {"Dir1", "Folder"},
        {"File1", "File"},
        {"Picture1", "Colour palette"},
        {"Picture3", "Symbol palette"},
    };
    for (const auto& [control, name] : names) {
        auto* widget = findChild<QWidget*>(QString::fromLatin1(control));
        widget->setAccessibleName(QString::fromLatin1(name));
        // The focus goes to the field inside an editable combo box.
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->isEditable())
            combo->lineEdit()->setAccessibleName(QString::fromLatin1(name));
    }
    // A drop-down list is named by its value here, and by the label whose buddy it is.
    findChild<QLabel*>(QStringLiteral("Label3"))->setBuddy(m_drive1);
}

void Form1::openStartFolder(const QString& startFolder, const QList<DriveCatalog::Drive>& drives)
{
    m_drive1->setDrives(drives, startFolder);
    // The folder list opens the start folder under the root of the drive the
    // drive list shows; one that cannot be read leaves the lists at the file
    // system's root.
    const bool opened = (!m_drive1->driveRoot().isEmpty()
                         && m_dir1->setDrivePath(m_drive1->driveRoot(), m_drive1->rootCaption(), startFolder))
                        || m_dir1->setPath(startFolder);
    if (!opened)
        m_dir1->setPath(QDir::rootPath());
    if (!m_file1->setPath(m_dir1->path()))
        m_file1->setPath(QDir::rootPath());
}

void Form1::findGameDrives(QThread::Priority priority)
{
    // On a thread of its own, so that a slow or cold disk delays only the
    // copies' drives, never the window; and one nothing waits for, so that a
    // search stuck on a share that does not answer keeps neither the window
    // nor, once it is closed, the process.
    auto copies = std::make_shared<QList<GameInstallSearch::Install>>();
    QThread* search = QThread::create(
        [copies] { *copies = GameInstallSearch::fromEnvironment().find(QDeadlineTimer(SearchMilliseconds)); });
    connect(search, &QThread::finished, this, [this, copies] { addGameCopies(*copies); });
    connect(search, &QThread::finished, search, &QObject::deleteLater);
    search->start(priority);
}

void Form1::addGameCopies(const QList<GameInstallSearch::Install>& installs)
{
    // The search a waiting save started came in second.
    if (m_gameCopies)
        return;
    m_gameCopies = installs;
    m_drive1->addDrives(DriveCatalog::gameDrives(installs));
    showSaveTarget();
    emit gameCopiesFound();
}

void Form1::arrangeTabOrder()
{
    std::vector<const ControlDefinition*> ordered;
    for (const ControlDefinition& definition : formControls()) {
        if (definition.tabIndex >= 0)
            ordered.push_back(&definition);
    }
    std::ranges::sort(ordered, {}, &ControlDefinition::tabIndex);

    QWidget* previous = nullptr;
    for (const ControlDefinition* definition : ordered) {
        auto* control = findChild<QWidget*>(definition->objectName());
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

void Form1::connectHandlers()
{
    const struct {
        const char* option;
        void (Form1::*handler)();
    } options[] = {
        {"Option1", &Form1::Option1_Click},
        {"Option2", &Form1::Option2_Click},
        {"Option3", &Form1::Option3_Click},
        {"Option4", &Form1::Option4_Click},
    };
    for (const auto& [option, handler] : options) {
        // Click comes when the button becomes selected, not when it loses the mark.
        connect(findChild<QRadioButton*>(QString::fromLatin1(option)), &QRadioButton::toggled, this,
                [this, handler](bool checked) {
                    if (checked)
                        (this->*handler)();
                });
    }
    connect(m_command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_text3, &QLineEdit::textChanged, this, &Form1::showSaveTarget);
    // A path copied from a terminal comes with a line break at its end.
    m_text3->setValidator(new SingleLineValidator(m_text3, true));

    connect(m_command4, &QPushButton::clicked, this, &Form1::Command4_Click);

    connect(m_drive1, &DriveListBox::Change, this, &Form1::Drive1_Change);
    connect(m_dir1, &DirListBox::Change, this, &Form1::Dir1_Change);
    connect(m_file1, &FileListBox::Click, this, &Form1::File1_Click);
    // A folder the lists cannot read leaves them where they were; say which and why.
    const auto tellUnreadable = [this](const QString& problem) { MsgBox(this, problem); };
    connect(m_dir1, &DirListBox::openFailed, this, tellUnreadable);
    connect(m_dir1, &DirListBox::folderVanished, m_drive1, &DriveListBox::dropFolder);
    connect(m_file1, &FileListBox::openFailed, this, tellUnreadable);

    // While the game runs a save would be lost, but its console takes the
    // line pasted in at once.
    auto* copy = new QAction(QStringLiteral("Copy as console command"), this);
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(copy, &QAction::triggered, this, &Form1::copyConsoleCommand);
    addAction(copy); // the shortcut works in every field of the window
    m_text1->addAction(copy); // and the entry box's menu offers it
}

void Form1::Form_Load()
{
    m_combo1->addItems({QStringLiteral("KP_INS"), QStringLiteral("KP_END"), QStringLiteral("KP_DOWNARROW"),
                        QStringLiteral("KP_PGDN"), QStringLiteral("KP_LEFTARROW"), QStringLiteral("KP_5"),
                        QStringLiteral("KP_RIGHTARROW"), QStringLiteral("KP_HOME"), QStringLiteral("KP_UPARROW"),
                        QStringLiteral("KP_PGUP")});
    m_combo2->addItems({QStringLiteral("Say"), QStringLiteral("Say_team")});

    // An editable combo box selects its first item as soon as one is added;
    // the classic one keeps its text and selects nothing.
    for (QComboBox* combo : {m_combo1, m_combo2}) {
        const QString text = findControl(combo->objectName())->text();
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    }
}

void Form1::Option1_Click() { showAndHide(nameModeSteps()); }
void Form1::Option2_Click() { showAndHide(bindModeSteps()); }
void Form1::Option3_Click() { showAndHide(coloursPanelSteps()); }
void Form1::Option4_Click() { showAndHide(symbolsPanelSteps()); }

void Form1::showAndHide(std::span<const VisibilityStep> steps)
{
    for (const VisibilityStep& step : steps)
        findChild<QWidget*>(QString::fromLatin1(step.control))->setVisible(step.shown);
    // For a screen reader, the caption that the mode shows beside the entry box.
    m_text1->setAccessibleName(isBindMode() ? QStringLiteral("Bind") : QStringLiteral("Name"));
}

bool Form1::isBindMode() const
{
    // The mode is the key list's Visible property, which holds while the
    // window itself is not on screen.
    return !m_combo1->isHidden();
}

QString Form1::composedLine() const
{
    return isBindMode() ? MakeBindLine(m_combo1->currentText(), m_combo2->currentText(), m_text1->text())
                        : MakeNameLine(m_text1->text());
}

void Form1::copyConsoleCommand()
{
    // Before a mode is chosen there is no line to make.
    if (m_text1->isHidden())
        return;
    QGuiApplication::clipboard()->setText(composedLine());
}

void Form1::Command1_Click()
{
    // One save at a time: a click while one waits or writes adds nothing.
    if (m_saving)
        return;
    m_saving = true;
    setCursor(Qt::BusyCursor);
    // The line and the path as they stand at the click.
    const QString line = composedLine();
    const QString typed = m_text3->text();
    // The default path stands for the copy of the game played last, which the
    // search started with the window may still be looking for: the save waits
    // for it, the window answering meanwhile, and for a search stuck on a share
    // that does not answer only so long.
    if (typed == defaultConfigPath() && !m_gameCopies) {
        auto waiting = std::make_shared<bool>(true);
        const auto saveOnce = [this, typed, line, waiting] {
            if (std::exchange(*waiting, false))
                save(typed, line);
        };
        connect(this, &Form1::gameCopiesFound, this, saveOnce, Qt::SingleShotConnection);
        QTimer::singleShot(SaveWaitMilliseconds, this, saveOnce);
        // One at idle priority may hardly run on a busy machine, and now the
        // player is waiting.
        findGameDrives(QThread::NormalPriority);
        return;
    }
    save(typed, line);
}

void Form1::save(const QString& typed, const QString& line)
{
    const ConfigTarget target = ConfigTarget::resolve(typed, defaultConfigPath(), WinePrefix::fromEnvironment(),
                                                      m_gameCopies.value_or(QList<GameInstallSearch::Install>()));
    // The game rewrites its own config when it quits, and leaves any other
    // file of the player's alone.
    const bool gamesConfig = QFileInfo(target.nativePath()).fileName().compare(u"sof2mp.cfg", Qt::CaseInsensitive) == 0;
    if (gamesConfig && GameProcess().isRunning()
        && MsgBox(this,
                  QStringLiteral("Soldier of Fortune II is running. It rewrites sof2mp.cfg when it quits, which "
                                 "would remove this line. Save anyway?"),
                  vbYesNo | vbExclamation | vbDefaultButton2)
               != vbYes) {
        endSave(std::nullopt);
        return;
    }
    // The disk may be slow to take the line, or a share may not answer at all:
    // the file is looked at and written on a thread of its own, and the window
    // goes on answering.
    auto failure = std::make_shared<std::optional<RuntimeError>>();
    QThread* writer = QThread::create([target, line, failure] {
        *failure = target.missing();
        if (!*failure)
            *failure = ConfigSaver::addLine(target.nativePath(), line);
    });
    connect(writer, &QThread::finished, this, [this, failure] { endSave(*failure); });
    connect(writer, &QThread::finished, writer, &QObject::deleteLater);
    writer->start();
}

void Form1::endSave(const std::optional<RuntimeError>& failure)
{
    unsetCursor();
    if (failure)
        MsgBox(this, failure->number == RuntimeError::PathNotFound ? QStringLiteral("No such directory!") : failure->message());
    m_saving = false;
    emit saveFinished();
}

void Form1::showSaveTarget()
{
    // Which file a save writes now, and for the default path which copy of
    // the game and why; for a screen reader too.
    const QString typed = m_text3->text();
    const QString tip = typed == defaultConfigPath() && !m_gameCopies
        ? QStringLiteral("Saves to the copy of the game played last, once the search for the copies is done")
        : ConfigTarget::resolve(typed, defaultConfigPath(), WinePrefix::fromEnvironment(),
                                m_gameCopies.value_or(QList<GameInstallSearch::Install>()))
              .description();
    m_text3->setToolTip(tip);
    m_text3->setAccessibleDescription(tip);
}

void Form1::Command4_Click()
{
    MsgBox(this, helpText(), vbInformation, QStringLiteral("Help"));
}

void Form1::Drive1_Change()
{
    // A drive that cannot be read leaves the folder and file lists where they
    // were, and the drive list on it, so that the arrow keys move on past it.
    m_dir1->setDrivePath(m_drive1->driveRoot(), m_drive1->rootCaption(), m_drive1->driveFolder());
}

void Form1::Dir1_Change()
{
    m_file1->setPath(m_dir1->path());
    // So that coming back to this drive finds the folder the player left.
    m_drive1->followFolder(m_dir1->path());
}

void Form1::File1_Click()
{
    m_text3->setText(MakeFilePath(m_file1->path(), m_file1->fileName()));
    // A path longer than the box shows where it starts, its drive or top folder.
    if (!m_text3->hasFocus())
        m_text3->setCursorPosition(0);
}
