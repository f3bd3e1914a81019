#pragma once

#include <QMainWindow>
#include <QTabWidget>

#include <memory>

// The floor the designer's start-up is measured against: a shown main window
// with eight empty tab pages and nothing else.
inline std::unique_ptr<QMainWindow> showBareWindow()
{
    auto window = std::make_unique<QMainWindow>();
    auto* tabs = new QTabWidget(window.get());
    for (const char* caption : {"Orlensuit", "Vantor", "Kiro (Male)", "Kiro (Female)", "Delma (Male)",
                                "Delma (Female)", "Brisa", "Lumen"})
        tabs->addTab(new QWidget, QString::fromLatin1(caption));
    window->setCentralWidget(tabs);
    window->resize(640, 440);
    window->show();
    return window;
}
