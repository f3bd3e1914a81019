#pragma once

#include <QString>

#include <deque>
#include <optional>

class QFont;
class QWidget;

namespace tk {

// Message box styles and results of the designer's questions.
enum MessageStyle : int {
    kYesNoCancelQuestion = 35,
    kYesNoQuestion = 36,
    kOkExclamation = 48,
};
enum MessageResult : int {
    kOk = 1,
    kCancel = 2,
    kYes = 6,
    kNo = 7,
};

// The answer a box gives to Enter when the caller names none: its first button.
inline constexpr int kFirstButton = 0;

// Asks the user; the window title is always the application title.
// `defaultAnswer` (kYes, kNo, kCancel, kOk) is the button Enter presses.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual int ask(const QString& prompt, int style, int defaultAnswer = kFirstButton) = 0;
};

struct FileDialogRequest {
    QString title;
    QString filter;           // "description|pattern"
    QString defaultExtension; // without the dot, added when the user types none
    QString proposedName;
    QString initialFolder;
};

// The user's documents folder, when it is a dialog's initial folder and not
// there yet, is made now: a program that never shows a dialog leaves the
// home folder as it found it.
void prepareInitialFolder(const QString& folder);

struct FileChoice {
    QString fullPath;
    QString fileName;        // without folder
    bool extensionDiffers{}; // the chosen name's extension is not the default
};

// Open and save dialogs. nullopt means the dialog was cancelled or failed.
// Open returns only existing files; save asks before overwriting one and
// returns no read-only file.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    virtual std::optional<FileChoice> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<FileChoice> saveFile(const FileDialogRequest& request) = 0;
};

// Builds the choice for a path typed or picked by the user: adds the default
// extension when the name has none and says whether the extension differs
// (letter case aside, as file names on Windows).
FileChoice fileChoiceFor(const QString& path, const QString& defaultExtension);

// A "description|pattern|description|pattern" filter as Qt's file dialog
// wants it: "description (pattern)" entries joined by ";;". Patterns listed
// with ";" become space-separated.
QString qtFileFilter(const QString& filter);

// The least width of a message box whose title bar shows `title` whole.
int messageBoxWidthForTitle(const QFont& font, const QString& title);

// The real ones: Qt's own message box and file dialogs.
class QtMessageService final : public MessageService {
public:
    explicit QtMessageService(QWidget* parent)
        : m_parent(parent)
    {
    }
    int ask(const QString& prompt, int style, int defaultAnswer = kFirstButton) override;

private:
    QWidget* m_parent;
};

class QtFileDialogService final : public FileDialogService {
public:
    explicit QtFileDialogService(QWidget* parent)
        : m_parent(parent)
    {
    }
    std::optional<FileChoice> openFile(const FileDialogRequest& request) override;
    std::optional<FileChoice> saveFile(const FileDialogRequest& request) override;

private:
    QWidget* m_parent;
};

// Scripted answers for tests: each call takes the next answer and records the
// question it was asked. A script that has run out answers Cancel.
class ScriptedMessageService final : public MessageService {
public:
    struct Asked {
        QString prompt;
        int style;
        int defaultAnswer = kFirstButton;
    };
    std::deque<int> answers;
    std::deque<Asked> asked;
    int ask(const QString& prompt, int style, int defaultAnswer = kFirstButton) override;
};

class ScriptedFileDialogService final : public FileDialogService {
public:
    // A typed path (as the user would type it) or nullopt for Cancel.
    std::deque<std::optional<QString>> answers;
    std::deque<FileDialogRequest> requests;
    std::optional<FileChoice> openFile(const FileDialogRequest& request) override;
    std::optional<FileChoice> saveFile(const FileDialogRequest& request) override;
};

} // namespace tk
