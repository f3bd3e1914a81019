#include "dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <utility>

namespace tk {
namespace {

QString withoutDot(QString extension)
{
    if (extension.startsWith(QLatin1Char('.')))
        extension.remove(0, 1);
    return extension;
}

// The style number packs the buttons (low digits), the icon and which button
// is the default, as the designer's callers have always written it.
struct StyleParts {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton escape;
    QMessageBox::Icon icon;
    int defaultButton; // 0, 1 or 2: which of the buttons, in reading order
};

StyleParts partsOf(int style)
{
    StyleParts parts{QMessageBox::Ok, QMessageBox::Ok, QMessageBox::NoIcon, (style >> 8) & 3};
    switch (style & 7) {
    case 1:
        parts.buttons = QMessageBox::Ok | QMessageBox::Cancel;
        parts.escape = QMessageBox::Cancel;
        break;
    case 2:
        parts.buttons = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        parts.escape = QMessageBox::Abort;
        break;
    case 3:
        parts.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        parts.escape = QMessageBox::Cancel;
        break;
    case 4:
        parts.buttons = QMessageBox::Yes | QMessageBox::No;
        parts.escape = QMessageBox::No;
        break;
    case 5:
        parts.buttons = QMessageBox::Retry | QMessageBox::Cancel;
        parts.escape = QMessageBox::Cancel;
        break;
    default: break;
    }
    switch (style & 0x70) {
    case 16: parts.icon = QMessageBox::Critical; break;
    case 32: parts.icon = QMessageBox::Question; break;
    case 48: parts.icon = QMessageBox::Warning; break;
    case 64: parts.icon = QMessageBox::Information; break;
    default: break;
    }
    return parts;
}

int resultOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok: return kOk;
    case QMessageBox::Abort: return 3;
    case QMessageBox::Retry: return 4;
    case QMessageBox::Ignore: return 5;
    case QMessageBox::Yes: return kYes;
    case QMessageBox::No: return kNo;
    default: return kCancel;
    }
}

std::optional<FileChoice> runFileDialog(QWidget* parent, const FileDialogRequest& request, bool save)
{
    const QString extension = withoutDot(request.defaultExtension);
    QFileDialog dialog(parent, request.title, request.initialFolder, qtFileFilter(request.filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(extension);
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
        if (problem.isEmpty())
            return choice;
        QMessageBox::warning(&dialog, QString::fromLatin1(kMessageTitle), problem);
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

int QtMessageService::ask(const QString& prompt, int style)
{
    const StyleParts parts = partsOf(style);
    QMessageBox box(parts.icon, QString::fromLatin1(kMessageTitle), prompt, parts.buttons, m_parent);
    // buttons() is not in reading order; the standard-button order is.
    static constexpr std::array kOrder{QMessageBox::Ok,     QMessageBox::Abort, QMessageBox::Retry,
                                       QMessageBox::Ignore, QMessageBox::Yes,   QMessageBox::No,
                                       QMessageBox::Cancel};
    int position = 0;
    for (const QMessageBox::StandardButton candidate : kOrder) {
        if (!parts.buttons.testFlag(candidate))
            continue;
        if (position++ == parts.defaultButton)
            box.setDefaultButton(candidate);
    }
    box.setEscapeButton(parts.escape);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr)
        return resultOf(parts.escape);
    return resultOf(box.standardButton(clicked));
}

std::optional<FileChoice> QtFileDialogService::openFile(const FileDialogRequest& request)
{
    return runFileDialog(m_parent, request, false);
}

std::optional<FileChoice> QtFileDialogService::saveFile(const FileDialogRequest& request)
{
    return runFileDialog(m_parent, request, true);
}

int ScriptedMessageService::ask(const QString& prompt, int style)
{
    asked.push_back({prompt, style});
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
