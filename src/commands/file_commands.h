#pragma once

#include "design/controls.h"
#include "state/state.h"

#include <QString>

#include <optional>

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
// state. Questions and dialogs go through the services, so tests script them.
class FileCommands final {
public:
    FileCommands(state::DesignState& state, design::Designer& designer, const design::Controls& controls,
                 tk::MessageService& messages, tk::FileDialogService& dialogs);
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

private:
    int currentModel() const;
    bool save(int m);
    bool saveAs(int m);
    // Writes model m to path; a failure is said in one message box.
    bool write(int m, const QString& path);
    // "Could not <what> 'name' in folder: reason." with an OK and an exclamation.
    void sayFailure(const QString& what, const QString& path, const QString& reason);
    void rememberFolder(const QString& fullPath);

    state::DesignState& m_state;
    design::Designer& m_designer;
    design::Controls m_controls;
    tk::MessageService* m_messages;
    tk::FileDialogService* m_dialogs;
};

} // namespace commands
