#include "app/print_dialogs.h"

#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace app {

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
    // Tall enough to read the page: most of the screen's height, a page's proportions.
    if (const QScreen* screen = m_parent != nullptr ? m_parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const int height = area.height() * 9 / 10;
        dialog.resize(std::min(area.width(), height * 4 / 5), height);
    }
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
