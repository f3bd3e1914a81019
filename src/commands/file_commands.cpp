#include "commands/file_commands.h"

#include "catalogue/catalogue.h"
#include "design/designer.h"
#include "design/history.h"
#include "files/design_file.h"
#include "files/opened_design.h"
#include "files/platform.h"
#include "toolkit/dialogs.h"
#include "toolkit/names.h"

#include <QDir>
#include <QFileInfo>

namespace commands {

namespace {

using tk::qs;

const QString kInvalidExtension = QStringLiteral("Invalid extension selected.");

tk::FileDialogRequest requestFor(int m, const QString& title, const QString& proposed,
                                 const std::string& folder)
{
    const cat::SuitModel& model = cat::kModels[m];
    return {title, qs(model.filter), qs(model.defaultExtension), proposed, QString::fromStdString(folder)};
}

} // namespace

FileCommands::FileCommands(state::DesignState& state, design::Designer& designer,
                           tk::MessageService& messages, tk::FileDialogService& dialogs)
    : m_state(state)
    , m_designer(designer)
    , m_messages(&messages)
    , m_dialogs(&dialogs)
{
}

int FileCommands::currentModel() const
{
    return m_designer.currentModel();
}

void FileCommands::rememberFolder(const QString& fullPath)
{
    m_state.dialogFolder = QFileInfo(fullPath).absolutePath().toStdString();
}

void FileCommands::onNew()
{
    const int m = currentModel();
    newModel(m);
    m_designer.clearColourName(m);
}

bool FileCommands::newModel(int m)
{
    state::ModelDesign& design = m_state[m];
    if (!design.saved && design.changed) {
        const int answer = m_messages->ask(QStringLiteral("Do you want to save '") +
                                               QString::fromStdString(design.fileName) + QStringLiteral("'"),
                                           tk::kYesNoCancelQuestion);
        if (answer == tk::kCancel)
            return false;
        if (answer == tk::kYes && !save(m))
            return false;
    }

    design.changed = false;
    design.saved = true;
    design.fileName = cat::kUntitled;
    // A new design, or the one Open reads next, starts a history of its own.
    m_designer.history().clear(m);
    // The start-up letters before the page's selections, as at start-up: the
    // area choices the selections raise must not bring back the old design's
    // fabrics.
    const int areas = cat::hasTape(m) ? cat::slotCount(m) - 1 : cat::slotCount(m);
    for (int slot = 0; slot < areas; ++slot)
        design.areaFabricCode[static_cast<std::size_t>(slot)] = std::string(1, cat::defaultLetter(m, slot));
    m_designer.showNewDesign(m);
    design.currentColour = 0;
    state::clearAreas(design, m);
    design.order = {};
    return true;
}

void FileCommands::onOpen()
{
    const int m = currentModel();
    if (!offerToSave(m))
        return;

    const std::optional<tk::FileChoice> choice =
        m_dialogs->openFile(requestFor(m, QStringLiteral("Open File"), QString(), m_state.dialogFolder));
    if (!choice)
        return;
    if (choice->extensionDiffers) {
        m_messages->ask(kInvalidExtension, tk::kOkExclamation);
        return;
    }
    openFile(m, choice->fullPath);
}

bool FileCommands::openFile(int m, const QString& path)
{
    return openModel(m, path);
}

bool FileCommands::openNamedFile(const QString& path)
{
    const QFileInfo info(path);
    if (files::platform::hasUndecodedBytes(path)) {
        sayFailure(QStringLiteral("open"), info.absoluteFilePath(),
                   QStringLiteral("the name is not valid in the system's encoding"));
        return false;
    }
    const int m = cat::modelForExtension(info.suffix().toStdString());
    if (!cat::isModelIndex(m)) {
        sayFailure(QStringLiteral("open"), info.absoluteFilePath(),
                   info.suffix().isEmpty()
                       ? QStringLiteral("its name has no extension that tells its suit model")
                       : QStringLiteral("the extension '.%1' belongs to no suit model").arg(info.suffix()));
        return false;
    }
    return openFile(m, info.absoluteFilePath());
}

bool FileCommands::openNamedFileAsking(const QString& path)
{
    const int m = cat::modelForExtension(QFileInfo(path).suffix().toStdString());
    if (cat::isModelIndex(m) && !offerToSave(m))
        return false;
    return openNamedFile(path);
}

bool FileCommands::offerToSave(int m)
{
    state::ModelDesign& design = m_state[m];
    if (design.saved || !design.changed)
        return true;
    const int answer = m_messages->ask(QStringLiteral("Do you want to save '") +
                                           QString::fromStdString(design.fileName) + QStringLiteral("'."),
                                       tk::kYesNoCancelQuestion);
    if (answer == tk::kCancel)
        return false;
    return answer != tk::kYes || (design.fileName == cat::kUntitled ? saveAs(m) : save(m));
}

bool FileCommands::openModel(int m, const QString& path)
{
    state::ModelDesign& design = m_state[m];
    // The file is read, as the order tool reads it, before anything changes,
    // so that a file that cannot be read leaves the design on screen as it was.
    files::OpenedDesign opened;
    if (const files::FileResult result = files::openDesign(m, path, opened); !result) {
        sayFailure(QStringLiteral("open"), path, result.reason);
        return false;
    }
    m_designer.showModel(m);
    design.saved = true; // so that New asks nothing
    rememberFolder(path);
    newModel(m);
    for (int slot = 0; slot < cat::slotCount(m); ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        design.areaColour[s] = opened.design.areaColour[s];
        design.areaFabric[s] = opened.design.areaFabric[s];
    }
    design.order = opened.design.order;
    design.fileName = opened.design.fileName;
    design.filePath = opened.design.filePath;
    design.saved = true;
    m_designer.showOpenedDesign(m);
    design.currentColour = 0;
    m_designer.showCaption(m);
    if (m_fileUsed)
        m_fileUsed(m, path);
    return true;
}

bool FileCommands::onSave()
{
    return save(currentModel());
}

bool FileCommands::onSaveAs()
{
    return saveAs(currentModel());
}

bool FileCommands::save(int m)
{
    state::ModelDesign& design = m_state[m];
    if (design.fileName == cat::kUntitled)
        return saveAs(m);
    if (!write(m, QString::fromStdString(design.filePath)))
        return false;
    design.saved = true;
    design.changed = false;
    m_designer.history().markClean(m);
    return true;
}

bool FileCommands::saveAs(int m)
{
    state::ModelDesign& design = m_state[m];
    for (;;) {
        const std::optional<tk::FileChoice> choice = m_dialogs->saveFile(requestFor(
            m, QStringLiteral("Save As"), QString::fromStdString(design.fileName), m_state.dialogFolder));
        if (!choice)
            return false;
        if (choice->extensionDiffers) {
            m_messages->ask(kInvalidExtension, tk::kOkExclamation);
            continue;
        }
        rememberFolder(choice->fullPath);
        if (!write(m, choice->fullPath))
            return false;
        design.fileName = choice->fileName.toStdString();
        design.filePath = choice->fullPath.toStdString();
        m_designer.showCaption(m);
        design.saved = true;
        design.changed = false;
        m_designer.history().markClean(m);
        return true;
    }
}

bool FileCommands::write(int m, const QString& path)
{
    const files::FileResult result = files::writeDesignRecord(m, m_state[m], path);
    if (!result)
        sayFailure(QStringLiteral("save"), path, result.reason);
    else if (m_fileUsed)
        m_fileUsed(m, path);
    return result.ok;
}

void FileCommands::sayFailure(const QString& what, const QString& path, const QString& reason)
{
    const QFileInfo info(path);
    QString sentence = QStringLiteral("Could not %1 '%2' in %3: %4")
                           .arg(what, info.fileName(), QDir::toNativeSeparators(info.absolutePath()), reason);
    if (!sentence.endsWith(QLatin1Char('.')))
        sentence += QLatin1Char('.');
    m_messages->ask(sentence, tk::kOkExclamation);
}

} // namespace commands
