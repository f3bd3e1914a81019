// jumpsuit-order (ORDER_TOOL, its path) run as a dealer runs it, and design
// records of random stored words for it to read.
#pragma once

#include "catalogue/catalogue.h"
#include "design_files.h"
#include "files/record.h"

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <random>

struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The tool with an empty environment: no DISPLAY, no QT_QPA_PLATFORM, no HOME.
inline ToolRun runTool(const QStringList& args, const QString& stdoutFile = {})
{
    QProcess process;
    process.setProcessEnvironment(QProcessEnvironment());
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    process.start(QStringLiteral(ORDER_TOOL), args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// The stored words of a design: now and then 99, a negative word, or one
// beyond every palette and fabric; mostly a real fabric and a cell that may
// or may not lie in its palette.
inline QByteArray randomRecord(int m, std::mt19937& random)
{
    auto pick = [&](bool colour) -> int {
        switch (random() % 10) {
        case 0: return cat::kNoColour;
        case 1: return -1 - static_cast<int>(random() % 3);
        case 2: return colour ? 31 + static_cast<int>(random() % 60) : 8 + static_cast<int>(random() % 90);
        case 3: return random() % 2 ? 32767 : -32768;
        default: return colour ? static_cast<int>(random() % 18) : static_cast<int>(random() % 8);
        }
    };
    QByteArray bytes;
    for (int w = 0; w < files::recordWords(m); ++w)
        bytes += words({pick(w % 2 == 0 || (cat::hasTape(m) && w == files::recordWords(m) - 1))});
    return bytes;
}

// Three design files of every model, in model order, written into `folder`
// from `random`: extensions in either letter case, and the third of each a
// name JSON must escape, with more than ASCII, and bytes after the record.
inline QStringList writeRandomDesigns(const QDir& folder, std::mt19937& random)
{
    QStringList designs;
    for (int m = 0; m < cat::kModelCount; ++m) {
        for (int copy = 0; copy < 3; ++copy) {
            QString name =
                QStringLiteral("design%1-%2%3").arg(m).arg(copy).arg(cat::kModels[m].extension.data());
            if (copy == 1)
                name = name.toUpper();
            if (copy == 2)
                name.prepend(QStringLiteral("\"odd\"\\ \tn\u00e4me "));
            writeBytes(folder.filePath(name),
                       randomRecord(m, random) + (copy == 2 ? QByteArray("tail") : QByteArray()));
            designs << folder.filePath(name);
        }
    }
    return designs;
}
