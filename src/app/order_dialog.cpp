#include "app/order_dialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace app {

namespace {

const QString kNotSet = QStringLiteral("Not set");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
// A date edit at its minimum shows "Not set": the field is not given.
const QDate kNoDate(1900, 1, 1);
constexpr int kLineLength = 200;
constexpr int kAddressLength = 1000;

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string text(const QLineEdit* edit)
{
    return edit->text().trimmed().toStdString();
}

std::string text(const QPlainTextEdit* edit)
{
    return edit->toPlainText().trimmed().toStdString();
}

// A date field that can be left empty. A click or a key other than Tab on
// "Not set" starts it at today; Delete or Backspace on the whole date, or a
// date before the first day, clears it again.
class OptionalDateEdit final : public QDateEdit {
public:
    explicit OptionalDateEdit(QWidget* parent)
        : QDateEdit(parent)
    {
        setCalendarPopup(true);
        setDisplayFormat(kDateFormat);
        setMinimumDate(kNoDate);
        setSpecialValueText(kNotSet);
        setDate(kNoDate);
    }
    void setIsoDate(const std::string& iso)
    {
        const QDate date = QDate::fromString(qs(iso), kDateFormat);
        setDate(date.isValid() && date > kNoDate ? date : kNoDate);
    }
    std::string isoDate() const
    {
        return date() == kNoDate ? std::string() : date().toString(kDateFormat).toStdString();
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        startAtToday();
        QDateEdit::mousePressEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        if ((key == Qt::Key_Delete || key == Qt::Key_Backspace) &&
            lineEdit()->selectedText().size() == lineEdit()->text().size()) {
            setDate(kNoDate);
            return;
        }
        if (key != Qt::Key_Tab && key != Qt::Key_Backtab && key != Qt::Key_Escape && key != Qt::Key_Return &&
            key != Qt::Key_Enter)
            startAtToday();
        QDateEdit::keyPressEvent(event);
    }

private:
    void startAtToday()
    {
        if (date() == kNoDate)
            setDate(QDate::currentDate());
    }
};

QLineEdit* lineEdit(QWidget* parent, const QString& key, const QString& label)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(key);
    edit->setAccessibleName(label);
    edit->setMaxLength(kLineLength);
    return edit;
}

} // namespace

state::Units localeUnits()
{
    return QLocale().measurementSystem() == QLocale::MetricSystem ? state::Units::Metric
                                                                  : state::Units::Imperial;
}

OrderDetailsDialog::OrderDetailsDialog(const state::OrderDetails& details,
                                       const state::OrderParty& lastDealer, QWidget* parent)
    : QDialog(parent)
    , m_original(details)
{
    setObjectName(QStringLiteral("orderDetailsDialog"));
    setWindowTitle(QStringLiteral("Order Details"));
    const bool newOrder = details.empty();

    auto* order = new QGroupBox(QStringLiteral("Order"), this);
    auto* orderForm = new QFormLayout(order);
    m_orderNumber = lineEdit(order, QStringLiteral("orderNumber"), QStringLiteral("Order number"));
    auto* orderDate = new OptionalDateEdit(order);
    orderDate->setObjectName(QStringLiteral("orderDate"));
    orderDate->setAccessibleName(QStringLiteral("Order date"));
    auto* deliveryDate = new OptionalDateEdit(order);
    deliveryDate->setObjectName(QStringLiteral("deliveryDate"));
    deliveryDate->setAccessibleName(QStringLiteral("Wanted delivery date"));
    m_orderDate = orderDate;
    m_deliveryDate = deliveryDate;
    m_quantity = new QSpinBox(order);
    m_quantity->setObjectName(QStringLiteral("quantity"));
    m_quantity->setAccessibleName(QStringLiteral("Quantity"));
    m_quantity->setRange(0, state::kMaxQuantity);
    m_quantity->setSpecialValueText(kNotSet);
    orderForm->addRow(QStringLiteral("Order &number:"), m_orderNumber);
    orderForm->addRow(QStringLiteral("Order &date:"), m_orderDate);
    orderForm->addRow(QStringLiteral("&Wanted delivery:"), m_deliveryDate);
    orderForm->addRow(QStringLiteral("&Quantity:"), m_quantity);

    auto* sizeBox = new QGroupBox(QStringLiteral("Size"), this);
    auto* sizeForm = new QFormLayout(sizeBox);
    m_size = lineEdit(sizeBox, QStringLiteral("size"), QStringLiteral("Standard size"));
    m_size->setPlaceholderText(QStringLiteral("Empty when made to measure"));
    sizeForm->addRow(QStringLiteral("Standard si&ze:"), m_size);

    auto* notesBox = new QGroupBox(QStringLiteral("Notes"), this);
    auto* notesLayout = new QVBoxLayout(notesBox);
    m_notes = new QPlainTextEdit(notesBox);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setAccessibleName(QStringLiteral("Notes"));
    m_notes->setTabChangesFocus(true);
    m_notes->setFixedHeight(m_notes->fontMetrics().lineSpacing() * 4 + 12);
    m_notesCount = new QLabel(notesBox);
    m_notesCount->setObjectName(QStringLiteral("notes.count"));
    m_notesCount->setAlignment(Qt::AlignRight);
    notesLayout->addWidget(m_notes);
    notesLayout->addWidget(m_notesCount);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Order and parties on the left, size and measurements on the right.
    auto* left = new QVBoxLayout;
    left->addWidget(order);
    left->addWidget(buildParty(QStringLiteral("customer"), m_customer));
    left->addWidget(buildParty(QStringLiteral("dealer"), m_dealer));
    auto* right = new QVBoxLayout;
    right->addWidget(sizeBox);
    right->addWidget(buildMeasurements());
    right->addWidget(notesBox);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(m_buttons);

    m_orderNumber->setText(qs(details.orderNumber));
    orderDate->setIsoDate(newOrder ? QDate::currentDate().toString(kDateFormat).toStdString()
                                   : details.orderDate);
    deliveryDate->setIsoDate(details.deliveryDate);
    m_quantity->setValue(newOrder ? 1 : details.quantity.value_or(0));
    fillParty(m_customer, details.customer);
    fillParty(m_dealer, details.dealer.empty() ? lastDealer : details.dealer);
    m_size->setText(qs(details.size));
    m_shownUnits = details.units.value_or(localeUnits());
    m_units->setCurrentIndex(m_shownUnits == state::Units::Metric ? 0 : 1);
    for (int i = 0; i < state::kMeasureCount; ++i) {
        MeasureField& field = m_measures[static_cast<std::size_t>(i)];
        const std::optional<double> value = details.measurements[static_cast<std::size_t>(i)];
        // Every digit stored, so that OK on an unchanged form changes nothing.
        field.typed = value ? QString::number(*value, 'g', QLocale::FloatingPointShortest) : QString();
        field.typedIn = m_shownUnits;
        field.edit->setText(field.typed);
    }
    m_shoeSize->setText(qs(details.shoeSize));
    m_notes->setPlainText(qs(details.notes));
    connect(m_units, &QComboBox::currentIndexChanged, this, &OrderDetailsDialog::onUnitsChosen);
    connect(m_notes, &QPlainTextEdit::textChanged, this, &OrderDetailsDialog::checkAll);
    onUnitsChosen();
    checkAll();
    m_orderNumber->setFocus();
}

QWidget* OrderDetailsDialog::buildParty(const QString& key, PartyFields& fields)
{
    const bool customer = key == QLatin1String("customer");
    auto* box = new QGroupBox(customer ? QStringLiteral("Customer") : QStringLiteral("Dealer"), this);
    auto* form = new QFormLayout(box);
    const QString who = customer ? QStringLiteral("Customer") : QStringLiteral("Dealer");
    fields.name = lineEdit(box, key + QStringLiteral(".name"), who + QStringLiteral(" name"));
    fields.address = new QPlainTextEdit(box);
    fields.address->setObjectName(key + QStringLiteral(".address"));
    fields.address->setAccessibleName(who + QStringLiteral(" address"));
    fields.address->setTabChangesFocus(true);
    fields.address->setFixedHeight(fields.address->fontMetrics().lineSpacing() * 3 + 12);
    fields.phone = lineEdit(box, key + QStringLiteral(".phone"), who + QStringLiteral(" phone"));
    fields.email = lineEdit(box, key + QStringLiteral(".email"), who + QStringLiteral(" e-mail"));
    form->addRow(customer ? QStringLiteral("N&ame:") : QStringLiteral("Nam&e:"), fields.name);
    form->addRow(customer ? QStringLiteral("Add&ress:") : QStringLiteral("Addre&ss:"), fields.address);
    form->addRow(customer ? QStringLiteral("&Phone:") : QStringLiteral("P&hone:"), fields.phone);
    form->addRow(customer ? QStringLiteral("E-&mail:") : QStringLiteral("E-ma&il:"), fields.email);
    return box;
}

QWidget* OrderDetailsDialog::buildMeasurements()
{
    auto* box = new QGroupBox(QStringLiteral("Measurements"), this);
    auto* form = new QFormLayout(box);
    m_units = new QComboBox(box);
    m_units->setObjectName(QStringLiteral("units"));
    m_units->setAccessibleName(QStringLiteral("Units"));
    m_units->addItem(QStringLiteral("Metric (cm, kg)"));
    m_units->addItem(QStringLiteral("Imperial (in, lb)"));
    form->addRow(QStringLiteral("&Units:"), m_units);
    for (int i = 0; i < state::kMeasureCount; ++i) {
        const state::MeasureInfo& info = state::kMeasures[static_cast<std::size_t>(i)];
        MeasureField& field = m_measures[static_cast<std::size_t>(i)];
        const QString key = QStringLiteral("measurements.") + QString::fromLatin1(info.key);
        const QString label = QString::fromLatin1(info.label);
        auto* row = new QWidget(box);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        field.edit = lineEdit(row, key, label);
        field.edit->setMaxLength(12);
        field.edit->setFixedWidth(field.edit->fontMetrics().horizontalAdvance(QStringLiteral("0000.0")) + 16);
        field.unit = new QLabel(row);
        field.unit->setMinimumWidth(field.unit->fontMetrics().horizontalAdvance(QStringLiteral("cm ")));
        field.message = new QLabel(row);
        field.message->setObjectName(key + QStringLiteral(".message"));
        QPalette warning = field.message->palette();
        warning.setColor(QPalette::WindowText, QColor(0xA0, 0x30, 0x00));
        field.message->setPalette(warning);
        line->addWidget(field.edit);
        line->addWidget(field.unit);
        line->addWidget(field.message, 1);
        form->addRow(label + QLatin1Char(':'), row);
        connect(field.edit, &QLineEdit::textEdited, this, [this, i] { onMeasureEdited(i); });
    }
    m_shoeSize = lineEdit(box, QStringLiteral("measurements.shoeSize"), QStringLiteral("Shoe size"));
    m_shoeSize->setMaxLength(20);
    form->addRow(QStringLiteral("Sh&oe size:"), m_shoeSize);
    return box;
}

void OrderDetailsDialog::fillParty(PartyFields& fields, const state::OrderParty& party)
{
    fields.name->setText(qs(party.name));
    fields.address->setPlainText(qs(party.address));
    fields.phone->setText(qs(party.phone));
    fields.email->setText(qs(party.email));
}

state::OrderParty OrderDetailsDialog::partyOf(const PartyFields& fields) const
{
    return {text(fields.name), text(fields.address), text(fields.phone), text(fields.email)};
}

state::Units OrderDetailsDialog::units() const
{
    return m_units->currentIndex() == 1 ? state::Units::Imperial : state::Units::Metric;
}

void OrderDetailsDialog::onUnitsChosen()
{
    const state::Units now = units();
    for (int i = 0; i < state::kMeasureCount; ++i) {
        MeasureField& field = m_measures[static_cast<std::size_t>(i)];
        const auto which = static_cast<state::Measure>(i);
        field.unit->setText(QString::fromLatin1(state::unitName(which, now)));
        if (now == m_shownUnits)
            continue;
        if (now == field.typedIn) {
            field.edit->setText(field.typed);
            continue;
        }
        const state::MeasureCheck check = state::checkMeasure(which, m_shownUnits, text(field.edit));
        if (check.value)
            field.edit->setText(QString::fromStdString(
                state::formatMeasure(state::convertMeasure(which, *check.value, m_shownUnits, now))));
    }
    m_shownUnits = now;
    checkAll();
}

void OrderDetailsDialog::onMeasureEdited(int index)
{
    MeasureField& field = m_measures[static_cast<std::size_t>(index)];
    field.typed = field.edit->text().trimmed();
    field.typedIn = units();
    checkAll();
}

void OrderDetailsDialog::checkAll()
{
    bool valid = true;
    for (int i = 0; i < state::kMeasureCount; ++i) {
        MeasureField& field = m_measures[static_cast<std::size_t>(i)];
        const state::MeasureCheck check =
            state::checkMeasure(static_cast<state::Measure>(i), units(), text(field.edit));
        field.message->setText(QString::fromStdString(check.message));
        field.edit->setAccessibleDescription(QString::fromStdString(check.message));
        valid = valid && check.valid;
    }
    const auto length = static_cast<int>(m_notes->toPlainText().size());
    m_notesCount->setText(QStringLiteral("%1 of %2 characters").arg(length).arg(state::kMaxNotes));
    valid = valid && length <= state::kMaxNotes;
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(valid);
}

state::OrderDetails OrderDetailsDialog::details() const
{
    state::OrderDetails d;
    d.stored = m_original.stored;
    d.orderNumber = text(m_orderNumber);
    d.orderDate = static_cast<const OptionalDateEdit*>(m_orderDate)->isoDate();
    d.deliveryDate = static_cast<const OptionalDateEdit*>(m_deliveryDate)->isoDate();
    if (m_quantity->value() > 0)
        d.quantity = m_quantity->value();
    d.customer = partyOf(m_customer);
    d.dealer = partyOf(m_dealer);
    d.size = text(m_size);
    for (int i = 0; i < state::kMeasureCount; ++i) {
        d.measurements[static_cast<std::size_t>(i)] =
            state::checkMeasure(static_cast<state::Measure>(i), units(),
                                text(m_measures[static_cast<std::size_t>(i)].edit))
                .value;
    }
    d.shoeSize = text(m_shoeSize);
    // Units mean something only beside a measurement; a stored choice stays.
    if (d.anyMeasurement() || m_original.units)
        d.units = units();
    d.notes = text(m_notes);
    return d;
}

} // namespace app
