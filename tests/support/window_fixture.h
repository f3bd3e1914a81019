// The real main window after start-up, with scripted questions and file
// dialogs, and a scratch folder for the files a test writes.
#pragma once

#include "app/mainwindow.h"
#include "toolkit/dialogs.h"
#include "toolkit/tabstrip.h"

#include <QAction>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<app::MainWindow>();
        window->startUp();
        window->setMessageService(&messages);
        window->setFileDialogService(&dialogs);
    }

    const design::Controls& c() const { return window->controls(); }
    QString path(const QString& name) const { return dir.filePath(name); }
    void command(const char* name) { window->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }

    QTemporaryDir dir;
    tk::ScriptedMessageService messages;
    tk::ScriptedFileDialogService dialogs;
    std::unique_ptr<app::MainWindow> window;
};
