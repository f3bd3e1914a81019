// Edit > Order Details... on the real window: the form, its checks and
// units, OK as one step of the history, and the details through Save, New
// and Open.
#include "app/order_dialog.h"
#include "app/preferences.h"
#include "catalogue/catalogue.h"
#include "design/history.h"
#include "support/design_files.h"
#include "support/window_fixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

namespace {

class OrderDetails : public WindowTest {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        WindowTest::SetUp();
        // Each window a run of the program, all with the same settings file.
        preferences = std::make_unique<app::Preferences>(path(QStringLiteral("settings.ini")));
        window->setPreferences(preferences.get());
    }
    void TearDown() override
    {
        window.reset(); // before the settings it writes to
        QLocale::setDefault(QLocale::c());
    }

    std::unique_ptr<app::Preferences> preferences;

    state::ModelDesign& model(int m) { return window->state()[m]; }

    app::OrderDetailsDialog* openDialog()
    {
        command("orderDetailsMnu");
        auto* dialog = window->findChild<app::OrderDetailsDialog*>(QStringLiteral("orderDetailsDialog"));
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    template <typename T> T* field(app::OrderDetailsDialog* dialog, const char* key)
    {
        T* found = dialog->findChild<T*>(QString::fromLatin1(key));
        EXPECT_NE(found, nullptr) << key;
        return found;
    }
    void type(app::OrderDetailsDialog* dialog, const char* key, const QString& text)
    {
        QLineEdit* edit = field<QLineEdit>(dialog, key);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        // QTest types ASCII only; the rest is pasted as a whole.
        bool ascii = true;
        for (const QChar ch : text)
            ascii = ascii && ch.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
    }
    QPushButton* ok(app::OrderDetailsDialog* dialog)
    {
        return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    }
    void finish(app::OrderDetailsDialog* dialog, bool accept)
    {
        if (accept)
            ok(dialog)->click();
        else
            dialog->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(window->findChild<app::OrderDetailsDialog*>(), nullptr);
    }
    QString undoText() const { return window->findChild<QAction*>(QStringLiteral("undoMnu"))->text(); }
    void saveAs(const QString& typed)
    {
        dialogs.answers.push_back(typed);
        command("saveasMnu");
    }
};

TEST_F(OrderDetails, EveryFieldHasItsKeyAndANewOrderItsDefaults)
{
    app::OrderDetailsDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("orderDetailsMnu"))->text(), "Order &Details...");
    QStringList keys = {
        "orderNumber",          "orderDate",      "deliveryDate",   "quantity",    "customer.name",
        "customer.address",     "customer.phone", "customer.email", "dealer.name", "dealer.address",
        "dealer.phone",         "dealer.email",   "size",           "units",       "notes",
        "measurements.shoeSize"};
    for (const state::MeasureInfo& measure : state::kMeasures)
        keys << QStringLiteral("measurements.") + QString::fromLatin1(measure.key);
    for (const QString& key : keys) {
        auto* widget = dialog->findChild<QWidget*>(key);
        ASSERT_NE(widget, nullptr) << key.toStdString();
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << key.toStdString();
    }
    EXPECT_EQ(field<QDateEdit>(dialog, "orderDate")->date(), QDate::currentDate());
    EXPECT_EQ(field<QDateEdit>(dialog, "deliveryDate")->text(), "Not set");
    EXPECT_EQ(field<QSpinBox>(dialog, "quantity")->value(), 1);
    EXPECT_EQ(field<QComboBox>(dialog, "units")->currentIndex(), 0); // the locale measures in metres

    // Cancel changes nothing.
    type(dialog, "orderNumber", QStringLiteral("A-1"));
    finish(dialog, false);
    EXPECT_TRUE(model(0).order.empty());
    EXPECT_FALSE(model(0).changed);
    EXPECT_EQ(undoText(), "&Undo");
}

TEST_F(OrderDetails, OkIsOneStepThatSaveNewAndOpenCarry)
{
    app::OrderDetailsDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    type(dialog, "orderNumber", QStringLiteral("Nº 118"));
    field<QDateEdit>(dialog, "deliveryDate")->setDate(QDate(2027, 2, 28));
    field<QSpinBox>(dialog, "quantity")->setValue(2);
    type(dialog, "customer.name", QStringLiteral("Zoë Ørsted"));
    field<QPlainTextEdit>(dialog, "customer.address")
        ->setPlainText(QStringLiteral("Hauptstraße 5\n80331 München"));
    type(dialog, "customer.email", QStringLiteral("zoe@example.org"));
    type(dialog, "size", QStringLiteral("ML"));
    type(dialog, "measurements.chest", QStringLiteral("101,5"));
    type(dialog, "measurements.shoeSize", QStringLiteral("42"));
    field<QPlainTextEdit>(dialog, "notes")->setPlainText(QStringLiteral("Zip on the left."));
    finish(dialog, true);

    const state::OrderDetails& order = model(0).order;
    EXPECT_EQ(order.orderNumber, "Nº 118");
    EXPECT_EQ(order.orderDate, QDate::currentDate().toString(Qt::ISODate).toStdString());
    EXPECT_EQ(order.deliveryDate, "2027-02-28");
    EXPECT_EQ(order.quantity, 2);
    EXPECT_EQ(order.customer.address, "Hauptstraße 5\n80331 München");
    EXPECT_EQ(order.measurement(state::Measure::Chest), 101.5);
    EXPECT_EQ(order.measurement(state::Measure::Height), std::nullopt);
    EXPECT_EQ(order.units, state::Units::Metric);
    EXPECT_EQ(order.notes, "Zip on the left.");
    EXPECT_TRUE(model(0).changed);
    EXPECT_EQ(undoText(), "&Undo Order Details");
    const state::OrderDetails entered = order;

    // Undo and redo walk the step; back at the start nothing is to be saved.
    window->designer().history().undo();
    EXPECT_TRUE(model(0).order.empty());
    EXPECT_FALSE(model(0).changed);
    window->designer().history().redo();
    EXPECT_EQ(model(0).order, entered);
    EXPECT_TRUE(model(0).changed);

    // OK on the form unchanged is no step.
    const int steps = window->designer().history().steps(0);
    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(field<QLineEdit>(dialog, "measurements.chest")->text(), "101.5");
    finish(dialog, true);
    EXPECT_EQ(window->designer().history().steps(0), steps);

    saveAs(path("order.olr"));
    EXPECT_FALSE(model(0).changed);
    const QByteArray bytes = fileBytes(path("order.olr"));
    // The record as before: start-up's colours 99 and fabrics 0.
    EXPECT_EQ(bytes.left(22), words({cat::kNoColour, 0}).repeated(5) + words({cat::kNoColour}));
    EXPECT_EQ(bytes.mid(22, 8), "JSORDER1");

    command("newMnu");
    EXPECT_TRUE(model(0).order.empty());
    dialogs.answers.push_back(path("order.olr"));
    command("openMnu");
    state::OrderDetails read = model(0).order;
    read.stored.clear();
    state::OrderDetails expected = entered;
    expected.stored.clear();
    EXPECT_EQ(read, expected);
    EXPECT_FALSE(model(0).changed);

    // The details are the current model's: another page has none.
    c().tabs->setCurrentTab(3);
    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(field<QLineEdit>(dialog, "orderNumber")->text().isEmpty());
    finish(dialog, false);
}

TEST_F(OrderDetails, MeasurementsAreCheckedAndConvertedBetweenUnits)
{
    app::OrderDetailsDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    auto* message = field<QLabel>(dialog, "measurements.height.message");
    type(dialog, "measurements.height", QStringLiteral("182"));
    EXPECT_TRUE(message->text().isEmpty());
    type(dialog, "measurements.height", QStringLiteral("250"));
    EXPECT_EQ(message->text(), "Height is usually 100 to 230 cm");
    EXPECT_TRUE(ok(dialog)->isEnabled()); // unusual, not impossible
    type(dialog, "measurements.height", QStringLiteral("18o"));
    EXPECT_EQ(message->text(), "Not a number");
    EXPECT_FALSE(ok(dialog)->isEnabled());
    type(dialog, "measurements.height", QStringLiteral("182"));
    EXPECT_TRUE(ok(dialog)->isEnabled());
    type(dialog, "measurements.weight", QStringLiteral("80"));

    // Imperial converts what is entered; back to metric gives what was typed.
    auto* units = field<QComboBox>(dialog, "units");
    units->setCurrentIndex(1);
    EXPECT_EQ(field<QLineEdit>(dialog, "measurements.height")->text(), "71.7");
    EXPECT_EQ(field<QLineEdit>(dialog, "measurements.weight")->text(), "176.4");
    type(dialog, "measurements.weight", QStringLiteral("180"));
    units->setCurrentIndex(0);
    EXPECT_EQ(field<QLineEdit>(dialog, "measurements.height")->text(), "182");
    EXPECT_EQ(field<QLineEdit>(dialog, "measurements.weight")->text(), "81.6");
    units->setCurrentIndex(1);
    EXPECT_EQ(field<QLineEdit>(dialog, "measurements.weight")->text(), "180");

    // Notes: at most 1,000 characters.
    auto* notes = field<QPlainTextEdit>(dialog, "notes");
    notes->setPlainText(QString(state::kMaxNotes, u'n'));
    EXPECT_TRUE(ok(dialog)->isEnabled());
    notes->setPlainText(QString(state::kMaxNotes + 1, u'n'));
    EXPECT_FALSE(ok(dialog)->isEnabled());
    notes->setPlainText(QStringLiteral("ok"));
    finish(dialog, true);
    EXPECT_EQ(model(0).order.units, state::Units::Imperial);
    EXPECT_EQ(model(0).order.measurement(state::Measure::Weight), 180);
    EXPECT_EQ(model(0).order.measurement(state::Measure::Height), 71.7);
}

TEST_F(OrderDetails, TheLastDealerIsOfferedWhereADesignHasNone)
{
    app::OrderDetailsDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(field<QLineEdit>(dialog, "dealer.name")->text().isEmpty());
    type(dialog, "dealer.name", QStringLiteral("Sky Shop"));
    type(dialog, "dealer.phone", QStringLiteral("+1 520 555 0100"));
    finish(dialog, true);

    // Another design, and another run of the program: the dealer is offered.
    window.reset();
    SetUp();
    c().tabs->setCurrentTab(cat::kBrisa);
    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(field<QLineEdit>(dialog, "dealer.name")->text(), "Sky Shop");
    EXPECT_EQ(field<QLineEdit>(dialog, "dealer.phone")->text(), "+1 520 555 0100");
    finish(dialog, true);
    EXPECT_EQ(model(cat::kBrisa).order.dealer.name, "Sky Shop");
}

} // namespace
