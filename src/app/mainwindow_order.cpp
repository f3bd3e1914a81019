// Edit > Order Details...: the customer, the dealer, the measurements and the
// dates of the current model's design.
#include "app/mainwindow.h"
#include "app/order_dialog.h"
#include "app/preferences.h"

#include "catalogue/catalogue.h"
#include "design/designer.h"
#include "design/history.h"
#include "toolkit/tabstrip.h"

#include <QAction>
#include <QMenu>

namespace app {

void MainWindow::addOrderDetailsCommand(QMenu* edit)
{
    edit->addSeparator();
    m_orderDetails = edit->addAction(QStringLiteral("Order &Details..."));
    m_orderDetails->setObjectName(QStringLiteral("orderDetailsMnu"));
    m_orderDetails->setEnabled(false); // start-up enables the commands
    connect(m_orderDetails, &QAction::triggered, this, &MainWindow::onOrderDetails);
}

void MainWindow::onOrderDetails()
{
    const int tab = m_controls.tabs->currentTab();
    const int m = cat::isModelIndex(tab) ? tab : 0;
    const state::OrderParty lastDealer =
        m_preferences != nullptr ? m_preferences->dealer() : state::OrderParty{};
    auto* dialog = new OrderDetailsDialog(m_state[m].order, lastDealer, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, m] {
        state::OrderDetails details = dialog->details();
        if (m_preferences != nullptr && !details.dealer.empty()) {
            m_preferences->setDealer(details.dealer);
            m_preferences->sync();
        }
        m_designer->history().applyOrderDetails(m, std::move(details));
    });
    dialog->open();
}

} // namespace app
