#include "toolkit/dialogs.h"

#include "catalogue/program.h"
#include "toolkit/names.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSpacerItem>
#include <QStandardPaths>

#include <utility>

namespace tk {

void prepareInitialFolder(const QString& folder)
{
    if (folder.isEmpty() || QFileInfo::exists(folder))
        return;
    if (folder == QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        QDir().mkpath(folder);
}

namespace {

QString withoutDot(QString extension)
{
    if (extension.startsWith(QLatin1Char('.')))
        extension.remove(0, 1);
    return extension;
}

// The designer asks three kinds of question: Yes/No/Cancel and Yes/No with a
// question icon, and a notice with OK and an exclamation icon. The first
// button is the default unless the caller names another; Escape answers
// Cancel, No or OK.
struct Question {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton first;
    QMessageBox::StandardButton escape;
    QMessageBox::Icon icon;
};

Question questionFor(int style)
{
    switch (style) {
    case kYesNoCancelQuestion:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                QMessageBox::Cancel, QMessageBox::Question};
    case kYesNoQuestion:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No, QMessageBox::Question};
    default: return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning};
    }
}

QMessageBox::StandardButton buttonFor(int answer)
{
    switch (answer) {
    case kYes: return QMessageBox::Yes;
    case kNo: return QMessageBox::No;
    case kCancel: return QMessageBox::Cancel;
    case kOk: return QMessageBox::Ok;
    default: return QMessageBox::NoButton;
    }
}

int resultOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Yes: return kYes;
    case QMessageBox::No: return kNo;
    case QMessageBox::Cancel: return kCancel;
    default: return kOk;
    }
}

std::optional<FileChoice> runFileDialog(QWidget* parent, const FileDialogRequest& request, bool save)
{
    prepareInitialFolder(request.initialFolder);
    const QString extension = withoutDot(request.defaultExtension);
    QFileDialog dialog(parent, request.title, request.initialFolder, qtFileFilter(request.filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(extension);
    // Where there is a choice of filters, a name typed without an extension
    // takes the chosen filter's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, extension](const QString& filter) {
                         const QRegularExpressionMatch pattern =
                             QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
                         dialog.setDefaultSuffix(pattern.hasMatch() ? pattern.captured(1) : extension);
                     });
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);

    // A name the dialog let through that still cannot be used sends the user
    // back to the dialog rather than failing later on.
    while (dialog.exec() == QDialog::Accepted) {
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty())
            return std::nullopt;
        FileChoice choice = fileChoiceFor(files.first(), extension);
        const QFileInfo info(choice.fullPath);
        QString problem;
        if (!save && !info.isFile())
            problem = QFileDialog::tr("%1\nFile not found.").arg(choice.fullPath);
        else if (save && !info.absoluteDir().exists())
            problem = QFileDialog::tr("%1\nThe folder does not exist.").arg(info.absolutePath());
        else if (save && info.isDir())
            problem = QFileDialog::tr("%1\nThis is a folder.").arg(choice.fullPath);
        else if (save && info.exists() && !info.isWritable())
            problem = QFileDialog::tr("%1\nThis file is read-only.").arg(choice.fullPath);
        if (problem.isEmpty())
            return choice;
        QMessageBox::warning(&dialog, tk::qs(cat::kAppTitle), problem);
    }
    return std::nullopt;
}

} // namespace

QString qtFileFilter(const QString& filter)
{
    if (filter.isEmpty())
        return {};
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() == 1)
        return filter; // already a pattern list
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns =
            parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' ')).trimmed();
        const QString tail = QStringLiteral("(%1)").arg(patterns);
        // Qt takes the patterns from the parentheses at the end of the entry.
        if (description.endsWith(tail))
            entries << description;
        else if (description.isEmpty())
            entries << tail;
        else
            entries << description + QLatin1Char(' ') + tail;
    }
    return entries.join(QStringLiteral(";;"));
}

FileChoice fileChoiceFor(const QString& path, const QString& defaultExtension)
{
    const QString extension = withoutDot(defaultExtension);
    FileChoice choice;
    choice.fullPath = path;
    choice.fileName = QFileInfo(path).fileName();
    if (choice.fileName.isEmpty()) // a folder, not a file
        return choice;
    if (!choice.fileName.contains(QLatin1Char('.')) && !extension.isEmpty()) {
        choice.fullPath += QLatin1Char('.') + extension;
        choice.fileName += QLatin1Char('.') + extension;
    }
    const qsizetype dot = choice.fileName.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot < 0 ? QString() : choice.fileName.mid(dot + 1);
    choice.extensionDiffers = suffix.compare(extension, Qt::CaseInsensitive) != 0;
    return choice;
}

int messageBoxWidthForTitle(const QFont& font, const QString& title)
{
    // Window managers set titles in bold, and the title bar also holds an
    // icon and up to three buttons: room for all of them, so the title is
    // never cut.
    QFont bold = font;
    bold.setBold(true);
    constexpr int kTitleBarExtras = 160;
    return QFontMetrics(bold).horizontalAdvance(title) + kTitleBarExtras;
}

namespace {

// A message box sizes itself to its text; a short question would leave the
// title bar too narrow for the title. A spacer across the box's grid holds
// the box at the title's width.
void widenForTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr)
        return;
    const int width = messageBoxWidthForTitle(box.font(), box.windowTitle());
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

} // namespace

int QtMessageService::ask(const QString& prompt, int style, int defaultAnswer)
{
    const Question question = questionFor(style);
    QMessageBox box(question.icon, tk::qs(cat::kAppTitle), prompt, question.buttons, m_parent);
    const QMessageBox::StandardButton asked = buttonFor(defaultAnswer);
    box.setDefaultButton(question.buttons.testFlag(asked) ? asked : question.first);
    box.setEscapeButton(question.escape);
    widenForTitle(box);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return resultOf(clicked != nullptr ? box.standardButton(clicked) : question.escape);
}

std::optional<FileChoice> QtFileDialogService::openFile(const FileDialogRequest& request)
{
    return runFileDialog(m_parent, request, false);
}

std::optional<FileChoice> QtFileDialogService::saveFile(const FileDialogRequest& request)
{
    return runFileDialog(m_parent, request, true);
}

int ScriptedMessageService::ask(const QString& prompt, int style, int defaultAnswer)
{
    asked.push_back({prompt, style, defaultAnswer});
    if (answers.empty())
        return kCancel;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

namespace {

std::optional<FileChoice> nextScripted(std::deque<std::optional<QString>>& answers,
                                       std::deque<FileDialogRequest>& requests,
                                       const FileDialogRequest& request)
{
    requests.push_back(request);
    if (answers.empty())
        return std::nullopt;
    const std::optional<QString> answer = std::move(answers.front());
    answers.pop_front();
    if (!answer || answer->isEmpty())
        return std::nullopt;
    return fileChoiceFor(*answer, request.defaultExtension);
}

} // namespace

std::optional<FileChoice> ScriptedFileDialogService::openFile(const FileDialogRequest& request)
{
    return nextScripted(answers, requests, request);
}

std::optional<FileChoice> ScriptedFileDialogService::saveFile(const FileDialogRequest& request)
{
    return nextScripted(answers, requests, request);
}

} // namespace tk
