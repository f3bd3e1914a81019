#include "app/print_dialogs.h"

#include <QGuiApplication>
#include <QLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QWidget>

#include <algorithm>

namespace app {

void sizePreview(QPrintPreviewDialog& dialog, const QRect& available)
{
    const int height = available.height() * 9 / 10;
    int width = height * 4 / 5; // a page's proportions
    dialog.ensurePolished();
    if (const QToolBar* bar = dialog.findChild<QToolBar*>()) {
        const QMargins margins = dialog.layout() != nullptr ? dialog.layout()->contentsMargins() : QMargins();
        // A little room to spare, or the toolbar folds its last button away.
        width = std::max(width, bar->sizeHint().width() + margins.left() + margins.right() + 8);
    }
    dialog.resize(std::min(available.width(), width), height);
    if (auto* page = dialog.findChild<QPrintPreviewWidget*>())
        page->fitInView();
}

bool QtPrintDialogService::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, m_parent);
    // One page, always whole: nothing to choose but the printer and copies.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrintDialogService::preview(QPrinter& printer, const std::function<void(QPrinter*)>& paint)
{
    QPrintPreviewDialog dialog(&printer, m_parent);
    if (const QScreen* screen = m_parent != nullptr ? m_parent->screen() : QGuiApplication::primaryScreen())
        sizePreview(dialog, screen->availableGeometry());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
    dialog.exec();
}

bool ScriptedPrintDialogService::choosePrinter(QPrinter& printer)
{
    ++dialogs;
    if (answers.empty())
        return false;
    const QString file = answers.front();
    answers.pop_front();
    if (file.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
}

void ScriptedPrintDialogService::preview(QPrinter& printer, const std::function<void(QPrinter*)>& paint)
{
    ++previews;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(previewFile);
    paint(&printer);
}

} // namespace app
