#pragma once

#include <QString>

#include <deque>
#include <functional>

class QPrinter;
class QPrintPreviewDialog;
class QRect;
class QWidget;

namespace app {

// Sizes a print preview for a screen whose available area is `available`, in
// device-independent pixels: most of its height, wide enough for the whole
// toolbar (page navigation, page setup and Print in view), the page shown
// whole.
void sizePreview(QPrintPreviewDialog& dialog, const QRect& available);

// Qt's print and print preview dialogs behind an interface, so that tests
// script them as they script the file dialogs.
class PrintDialogService {
public:
    virtual ~PrintDialogService() = default;
    // Lets the user choose and set up the printer; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // Shows what `paint` draws on the printer, from where the user may print it.
    virtual void preview(QPrinter& printer, const std::function<void(QPrinter*)>& paint) = 0;
};

class QtPrintDialogService final : public PrintDialogService {
public:
    explicit QtPrintDialogService(QWidget* parent)
        : m_parent(parent)
    {
    }
    bool choosePrinter(QPrinter& printer) override;
    void preview(QPrinter& printer, const std::function<void(QPrinter*)>& paint) override;

private:
    QWidget* m_parent;
};

// Scripted answers for tests: the chosen "printer" is a PDF file. Each print
// dialog takes the next answer (true: print to the next output file; a script
// that has run out answers Cancel); a preview paints once into `previewFile`.
class ScriptedPrintDialogService final : public PrintDialogService {
public:
    std::deque<QString> answers; // an output file, or empty for Cancel
    QString previewFile;
    int dialogs = 0;
    int previews = 0;
    bool choosePrinter(QPrinter& printer) override;
    void preview(QPrinter& printer, const std::function<void(QPrinter*)>& paint) override;
};

} // namespace app
