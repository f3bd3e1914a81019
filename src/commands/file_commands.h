#pragma once

#include "state/state.h"

#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace design {
class Designer;
}
namespace tk {
class MessageService;
class FileDialogService;
struct FileChoice;
} // namespace tk

namespace commands {

// The File menu's New, Open, Save and Save As, and the per-model new and open
// procedures they run. Every command works on the current model (the current
// tab); each model keeps its own file name, path and flags in the design
// state. Questions and dialogs go through the services, so tests script them;
// the page itself is the designer's to show.
class FileCommands final {
public:
    FileCommands(state::DesignState& state, design::Designer& designer, tk::MessageService& messages,
                 tk::FileDialogService& dialogs);
    FileCommands(const FileCommands&) = delete;
    FileCommands& operator=(const FileCommands&) = delete;

    void setMessageService(tk::MessageService& messages) { m_messages = &messages; }
    void setFileDialogService(tk::FileDialogService& dialogs) { m_dialogs = &dialogs; }

    void onNew();
    void onOpen();
    // True when the design was written; false when the user cancelled the
    // dialog or the write failed (and was said).
    bool onSave();
    bool onSaveAs();

    // Resets model m's design and view, asking first to save a changed
    // design; false when the user (or a failed save) stopped it.
    bool newModel(int m);
    // Loads the design file at path into model m. The file is read first: a
    // file that cannot be read is said in one message and changes nothing
    // (design, flags, caption, dialog folder). False then.
    bool openModel(int m, const QString& path);

    // Opens the design file at path into model m as Open does once the file
    // is chosen, making m's tab current when the file can be read.
    bool openFile(int m, const QString& path);
    // A file named when the program is started: opened on the tab of the
    // model its extension (any letter case) belongs to, as Open would open
    // it; a name with no model's extension is said like a file that cannot
    // be read, and changes nothing.
    bool openNamedFile(const QString& path);
    // The same for a file reached while the designer runs (a recent file, a
    // dropped one, one handed over by a second start): a changed design of
    // the file's model is first offered for saving, as Open does, and Cancel
    // (or a save that did not happen) opens nothing.
    bool openNamedFileAsking(const QString& path);

    // Told the model and full path of every design file opened or written
    // (the recent-files list keeps them).
    void setFileUsedHandler(std::function<void(int, const QString&)> handler)
    {
        m_fileUsed = std::move(handler);
    }

private:
    int currentModel() const;
    bool save(int m);
    bool saveAs(int m);
    // A changed design of model m is offered for saving, as Open asks; false
    // when the user cancels or the save did not happen.
    bool offerToSave(int m);
    // Writes model m to path; a failure is said in one message box.
    bool write(int m, const QString& path);
    // "Could not <what> 'name' in folder: reason." with an OK and an exclamation.
    void sayFailure(const QString& what, const QString& path, const QString& reason);
    void rememberFolder(const QString& fullPath);

    state::DesignState& m_state;
    design::Designer& m_designer;
    tk::MessageService* m_messages;
    tk::FileDialogService* m_dialogs;
    std::function<void(int, const QString&)> m_fileUsed;
};

} // namespace commands
