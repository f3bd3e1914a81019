// File > Print..., Print Preview... and Export Order Sheet...: the order
// sheet of the current model's design as it stands, saved or not.
#include "app/mainwindow.h"
#include "app/print_dialogs.h"

#include "catalogue/catalogue.h"
#include "render/order_sheet.h"
#include "toolkit/dialogs.h"
#include "toolkit/names.h"
#include "toolkit/tabstrip.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPrinter>

namespace app {

namespace {

using tk::qs;

const QString kExportFilter = QStringLiteral("PDF document (*.pdf)|*.pdf|PNG image (*.png)|*.png");

// The whole paper is the page: the sheet keeps its own margins, the same on
// paper as in an exported file.
void setUpPrinter(QPrinter& printer, const render::OrderSheet& sheet)
{
    printer.setPageSize(QPageSize(render::defaultPaper(QLocale())));
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("Order sheet - %1").arg(sheet.fileName));
}

bool paintOnPrinter(QPrinter& printer, const render::OrderSheet& sheet)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    render::paintOrderSheet(painter, QRectF(QPointF(0, 0), paper.size()), printer.resolution(), sheet);
    return painter.end();
}

} // namespace

void MainWindow::addOrderSheetCommands(QMenu* file)
{
    auto add = [this, file](const char* name, const QString& caption, auto handler) {
        QAction* action = file->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(false); // start-up enables the commands
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    m_sheetCommands[0] = add("printMnu", QStringLiteral("&Print..."), &MainWindow::onPrint);
    m_sheetCommands[0]->setShortcut(QKeySequence::Print);
    m_sheetCommands[1] = add("previewMnu", QStringLiteral("Print Pre&view..."), &MainWindow::onPrintPreview);
    m_sheetCommands[2] =
        add("exportMnu", QStringLiteral("&Export Order Sheet..."), &MainWindow::onExportSheet);
    file->addSeparator();
}

void MainWindow::setPrintDialogService(PrintDialogService* service)
{
    m_printDialogs = service != nullptr ? service : m_ownPrintDialogs.get();
}

render::OrderSheet MainWindow::currentOrderSheet() const
{
    const int tab = m_controls.tabs->currentTab();
    const int m = cat::isModelIndex(tab) ? tab : 0;
    return {m, m_state[m], qs(m_state[m].fileName), QDate::currentDate()};
}

void MainWindow::onPrint()
{
    const render::OrderSheet sheet = currentOrderSheet();
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, sheet);
    if (!m_printDialogs->choosePrinter(printer))
        return;
    if (!paintOnPrinter(printer, sheet))
        m_messages->ask(QStringLiteral("Could not print the order sheet."), tk::kOkExclamation);
}

void MainWindow::onPrintPreview()
{
    const render::OrderSheet sheet = currentOrderSheet();
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, sheet);
    m_printDialogs->preview(printer, [&sheet](QPrinter* target) { paintOnPrinter(*target, sheet); });
}

void MainWindow::onExportSheet()
{
    const render::OrderSheet sheet = currentOrderSheet();
    tk::FileDialogRequest request;
    request.title = QStringLiteral("Export Order Sheet");
    request.filter = kExportFilter;
    request.defaultExtension = QStringLiteral("pdf");
    request.proposedName = QFileInfo(sheet.fileName).completeBaseName() + QStringLiteral(".pdf");
    request.initialFolder = qs(m_state.dialogFolder);
    const auto sayFailure = [this](const QString& path, const QString& reason) {
        m_messages->ask(QStringLiteral("Could not export the order sheet to '%1': %2.")
                            .arg(QDir::toNativeSeparators(path), reason),
                        tk::kOkExclamation);
    };
    for (;;) {
        const std::optional<tk::FileChoice> choice = m_dialogs->saveFile(request);
        if (!choice)
            return;
        // A sheet under a design's name would stand where a design is looked
        // for, or replace one: the user chooses again.
        const int model = cat::modelForExtension(QFileInfo(choice->fullPath).suffix().toStdString());
        if (cat::isModelIndex(model)) {
            sayFailure(choice->fullPath, QStringLiteral("its extension is that of a design file"));
            request.proposedName = QFileInfo(choice->fullPath).completeBaseName() + QStringLiteral(".pdf");
            continue;
        }
        files::WriteOptions options;
        options.source = QString::fromStdString(m_state[sheet.model].filePath);
        const files::FileResult written =
            render::writeOrderSheet(choice->fullPath, sheet, render::defaultPaper(QLocale()), options);
        if (!written)
            sayFailure(choice->fullPath, written.reason);
        return;
    }
}

} // namespace app
