#pragma once

#include "state/order_details.h"

#include <QDialog>

#include <array>

class QComboBox;
class QDateEdit;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace app {

// Edit > Order Details...: the rest of an order, beside the colours. The
// form starts from the design's details (a new order: today's date, one
// suit, the dealer last entered, the locale's units); details() gives what
// OK applies, carrying along what the file held that the form does not show.
// Each field's object name is its key in the design file ("customer.name",
// "measurements.chest").
class OrderDetailsDialog final : public QDialog {
    Q_OBJECT
public:
    OrderDetailsDialog(const state::OrderDetails& details, const state::OrderParty& lastDealer,
                       QWidget* parent = nullptr);

    state::OrderDetails details() const;

private:
    struct PartyFields {
        QLineEdit* name = nullptr;
        QPlainTextEdit* address = nullptr;
        QLineEdit* phone = nullptr;
        QLineEdit* email = nullptr;
    };
    struct MeasureField {
        QLineEdit* edit = nullptr;
        QLabel* unit = nullptr;
        QLabel* message = nullptr;
        // What the user typed, in the units it was typed in: a switch back
        // gives it again rather than a value converted twice.
        QString typed;
        state::Units typedIn = state::Units::Metric;
    };

    QWidget* buildParty(const QString& key, PartyFields& fields);
    QWidget* buildMeasurements();
    void fillParty(PartyFields& fields, const state::OrderParty& party);
    state::OrderParty partyOf(const PartyFields& fields) const;
    state::Units units() const;
    void onUnitsChosen();
    void onMeasureEdited(int index);
    void checkAll();

    state::OrderDetails m_original;
    state::Units m_shownUnits = state::Units::Metric;
    QLineEdit* m_orderNumber = nullptr;
    QDateEdit* m_orderDate = nullptr;
    QDateEdit* m_deliveryDate = nullptr;
    QSpinBox* m_quantity = nullptr;
    PartyFields m_customer;
    PartyFields m_dealer;
    QLineEdit* m_size = nullptr;
    QComboBox* m_units = nullptr;
    std::array<MeasureField, state::kMeasureCount> m_measures;
    QLineEdit* m_shoeSize = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QLabel* m_notesCount = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

// The units a new order starts in: the locale's measurement system.
state::Units localeUnits();

} // namespace app
