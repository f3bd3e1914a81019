// The order details: their checks and conversions, their JSON, the block
// after the record, and files with and without one.
#include "catalogue/catalogue.h"
#include "files/design_file.h"
#include "files/order_block.h"
#include "files/record.h"
#include "support/design_files.h"

#include <QJsonDocument>
#include <QTemporaryDir>

namespace {

using state::Measure;
using state::OrderDetails;
using state::Units;

state::ModelDesign afterNew(int m)
{
    state::ModelDesign d;
    state::setDefaultLetters(d, m);
    state::clearAreas(d, m);
    return d;
}

QByteArray le32(std::uint32_t value)
{
    QByteArray bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((value >> shift) & 0xFF);
    return bytes;
}

std::uint32_t crcOf(const QByteArray& bytes)
{
    return files::crc32(
        {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
}

QByteArray blockOf(const QByteArray& payload)
{
    return QByteArray("JSORDER1") + le32(static_cast<std::uint32_t>(payload.size())) + payload +
           le32(crcOf(payload));
}

// Every field given, with text from outside ASCII.
OrderDetails fullDetails()
{
    OrderDetails d;
    d.orderNumber = "Nº 2026/118";
    d.orderDate = "2026-12-09";
    d.deliveryDate = "2027-02-28";
    d.quantity = 2;
    d.customer = {"Zoë Ørsted-Łukasz", "Hauptstraße 5\n80331 München", "+49 89 1234", "zoe@example.org"};
    d.dealer = {"Sky Shop 天空", "1 Drop Zone Rd\nEloy AZ", "+1 520 555 0100", "shop@example.com"};
    d.size = "ML";
    d.units = Units::Metric;
    for (int i = 0; i < state::kMeasureCount; ++i)
        d.measurements[static_cast<std::size_t>(i)] = 40.5 + i;
    d.shoeSize = "42 ½";
    d.notes = "Zip on the left.\nNo logo — plain back.";
    return d;
}

OrderDetails known(OrderDetails d)
{
    d.stored.clear();
    return d;
}

TEST(OrderChecks, MeasuresDatesAndNumbers)
{
    // zlib's published check values.
    EXPECT_EQ(crcOf(""), 0U);
    EXPECT_EQ(crcOf("123456789"), 0xCBF43926U);
    EXPECT_EQ(crcOf("The quick brown fox jumps over the lazy dog"), 0x414FA339U);

    EXPECT_EQ(state::checkMeasure(Measure::Height, Units::Metric, "").value, std::nullopt);
    EXPECT_TRUE(state::checkMeasure(Measure::Height, Units::Metric, "  ").message.empty());
    EXPECT_EQ(state::checkMeasure(Measure::Height, Units::Metric, " 182,5 ").value, 182.5);
    EXPECT_TRUE(state::checkMeasure(Measure::Height, Units::Metric, "230").message.empty());
    EXPECT_EQ(state::checkMeasure(Measure::Height, Units::Metric, "231").message,
              "Height is usually 100 to 230 cm");
    EXPECT_EQ(state::checkMeasure(Measure::Height, Units::Metric, "231").value, 231);
    EXPECT_EQ(state::checkMeasure(Measure::Weight, Units::Imperial, "20").message,
              "Weight is usually 66.1 to 440.9 lb");
    EXPECT_TRUE(state::checkMeasure(Measure::Height, Units::Imperial, "72").message.empty());
    for (const char* bad : {"abc", "12cm", "1.2.3", "inf", "nan", "--3"}) {
        const state::MeasureCheck check = state::checkMeasure(Measure::Chest, Units::Metric, bad);
        EXPECT_FALSE(check.valid) << bad;
        EXPECT_EQ(check.value, std::nullopt) << bad;
        EXPECT_EQ(check.message, "Not a number") << bad;
    }

    EXPECT_EQ(state::convertMeasure(Measure::Chest, 100, Units::Metric, Units::Imperial), 39.4);
    EXPECT_EQ(state::convertMeasure(Measure::Weight, 80, Units::Metric, Units::Imperial), 176.4);
    EXPECT_EQ(state::convertMeasure(Measure::Weight, 176.4, Units::Imperial, Units::Metric), 80);
    EXPECT_EQ(state::convertMeasure(Measure::Inseam, 81.3, Units::Metric, Units::Metric), 81.3);
    EXPECT_EQ(state::formatMeasure(82.0), "82");
    EXPECT_EQ(state::formatMeasure(82.46), "82.5");

    EXPECT_TRUE(state::isIsoDate("2024-02-29"));
    EXPECT_TRUE(state::isIsoDate("2000-02-29"));
    EXPECT_FALSE(state::isIsoDate("1900-02-29"));
    EXPECT_FALSE(state::isIsoDate("2026-04-31"));
    EXPECT_FALSE(state::isIsoDate("2026-4-30"));
    EXPECT_FALSE(state::isIsoDate("2026-13-01"));
    EXPECT_FALSE(state::isIsoDate("0000-01-01"));
}

TEST(OrderJson, KeysValuesAndWhatIsNotOurs)
{
    OrderDetails small;
    small.orderNumber = "A-1";
    small.quantity = 2;
    small.customer.name = "Ana";
    const std::optional<QByteArray> block = files::orderBlock(small);
    ASSERT_TRUE(block);
    // Compact, keys without a value left out.
    EXPECT_EQ(*block, blockOf(R"({"customer":{"name":"Ana"},"orderNumber":"A-1","quantity":2})"));
    EXPECT_EQ(files::orderBlock(OrderDetails{}), QByteArray());

    const QJsonObject full = files::orderToJson(fullDetails());
    EXPECT_EQ(full.value("units").toString(), "metric");
    EXPECT_EQ(full.value("measurements").toObject().value("armLength").toDouble(), 46.5);
    EXPECT_EQ(full.value("measurements").toObject().value("shoeSize").toString(), "42 ½");
    EXPECT_EQ(known(files::orderFromJson(full)), fullDetails());

    // Unknown keys, at the top and inside, and known keys holding what this
    // program cannot take, survive a change; a field cleared goes.
    const QJsonObject stored = QJsonDocument::fromJson(
                                   R"({"orderNumber":"7","quantity":"two","orderDate":"09/12/2026",
        "customer":{"name":"Bo","fax":"123"},"units":"furlongs","measurements":{"chest":"wide","waist":80,
        "neck":39},"sizeChart":[1,2],"notes":"keep"})")
                                   .object();
    OrderDetails read = files::orderFromJson(stored);
    EXPECT_EQ(read.orderNumber, "7");
    EXPECT_EQ(read.quantity, std::nullopt);
    EXPECT_EQ(read.orderDate, "");
    EXPECT_EQ(read.units, std::nullopt);
    EXPECT_EQ(read.measurement(Measure::Chest), std::nullopt);
    EXPECT_EQ(read.measurement(Measure::Waist), 80);
    read.orderNumber.clear();
    read.customer.name = "Bea";
    read.measurements[static_cast<std::size_t>(Measure::Waist)].reset();
    read.notes = "changed";
    const QJsonObject saved = files::orderToJson(read);
    EXPECT_EQ(QJsonDocument(saved).toJson(QJsonDocument::Compact),
              R"({"customer":{"fax":"123","name":"Bea"},"measurements":{"chest":"wide","neck":39},)"
              R"("notes":"changed","orderDate":"09/12/2026","quantity":"two","sizeChart":[1,2],)"
              R"("units":"furlongs"})");
    // A value the program can give now replaces the one it could not take.
    read.quantity = 3;
    EXPECT_EQ(files::orderToJson(read).value("quantity").toInt(), 3);
}

TEST(OrderBlock, WhatCountsAsABlock)
{
    const QByteArray payload = R"({"orderNumber":"A-1"})";
    const QByteArray good = blockOf(payload);
    const auto find = [](const QByteArray& bytes) {
        return files::findOrderBlock({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      static_cast<std::size_t>(bytes.size())});
    };
    ASSERT_TRUE(find(good));
    EXPECT_EQ(find(good)->size, good.size());
    EXPECT_EQ(find(good + "tail")->size, good.size());
    for (int cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(find(good.left(cut))) << cut;

    QByteArray badCrc = good;
    badCrc[badCrc.size() - 1] = static_cast<char>(badCrc.back() ^ 1);
    QByteArray badMagic = good;
    badMagic[7] = '2';
    QByteArray longer = good;
    longer.replace(8, 4, le32(static_cast<std::uint32_t>(payload.size() + 1)));
    EXPECT_FALSE(find(badCrc));
    EXPECT_FALSE(find(badMagic));
    EXPECT_FALSE(find(longer + "xxxx"));
    EXPECT_FALSE(find(blockOf("[1,2]")));
    EXPECT_FALSE(find(blockOf("\"text\"")));
    EXPECT_FALSE(find(blockOf(R"({"a":1)")));
    EXPECT_FALSE(find(blockOf("{\"a\":\"\xff\xfe\"}")));
    EXPECT_FALSE(find(blockOf("")));

    // The largest payload, and one byte more.
    QByteArray largest = R"({"notes":")" + QByteArray(files::kMaxOrderPayload - 12, 'n') + R"("})";
    ASSERT_EQ(largest.size(), files::kMaxOrderPayload);
    ASSERT_TRUE(find(blockOf(largest)));
    EXPECT_EQ(find(blockOf(largest))->object.value("notes").toString().size(), files::kMaxOrderPayload - 12);
    QByteArray over = largest;
    over.insert(10, 'n');
    EXPECT_FALSE(find(blockOf(over)));
}

class OrderFile : public testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(OrderFile, EveryFieldThroughASaveAndARead)
{
    for (const int m : {0, cat::kBrisa}) {
        SCOPED_TRACE(m);
        state::ModelDesign design = afterNew(m);
        design.areaColour[1] = 8;
        design.areaFabric[1] = 1;
        design.order = fullDetails();
        const QString file = path(QStringLiteral("full%1").arg(m));
        ASSERT_TRUE(files::writeDesignRecord(m, design, file));
        const QByteArray bytes = fileBytes(file);
        const files::RecordBytes record = files::packDesignRecord(m, design);
        // The record stays exactly what earlier versions wrote and read.
        EXPECT_EQ(bytes.left(record.size),
                  QByteArray(reinterpret_cast<const char*>(record.bytes.data()), record.size));
        EXPECT_EQ(bytes.mid(record.size, 8), "JSORDER1");

        state::ModelDesign back = afterNew(m);
        ASSERT_TRUE(files::readDesignRecord(m, back, file));
        EXPECT_EQ(back.areaColour, design.areaColour);
        EXPECT_EQ(known(back.order), fullDetails());

        // Saved again unchanged, the file stays the same byte for byte.
        ASSERT_TRUE(files::writeDesignRecord(m, back, file));
        EXPECT_EQ(fileBytes(file), bytes);
    }
}

TEST_F(OrderFile, SavesKeepWhatFollowsTheBlock)
{
    state::ModelDesign design = afterNew(0);
    const QByteArray record = words({cat::kNoColour}).repeated(11);
    const QByteArray tail = QByteArray("another program's bytes") + QByteArray(70000, 't');

    // A file of an earlier version with bytes after the record saves as before.
    writeBytes(path("old.olr"), QByteArray(22, 'o') + tail);
    ASSERT_TRUE(files::writeDesignRecord(0, design, path("old.olr")));
    EXPECT_EQ(fileBytes(path("old.olr")), record + tail);

    // Details go between the record and those bytes, and replace an old block.
    design.order.orderNumber = "A-1";
    ASSERT_TRUE(files::writeDesignRecord(0, design, path("old.olr")));
    EXPECT_EQ(fileBytes(path("old.olr")), record + blockOf(R"({"orderNumber":"A-1"})") + tail);
    design.order.orderNumber = "B-22";
    ASSERT_TRUE(files::writeDesignRecord(0, design, path("old.olr")));
    EXPECT_EQ(fileBytes(path("old.olr")), record + blockOf(R"({"orderNumber":"B-22"})") + tail);

    // A reader of the record alone still reads it; the details read back.
    state::ModelDesign back = afterNew(0);
    ASSERT_TRUE(files::readDesignRecord(0, back, path("old.olr")));
    EXPECT_EQ(back.order.orderNumber, "B-22");

    // No details: the block goes, the rest stays.
    design.order = {};
    ASSERT_TRUE(files::writeDesignRecord(0, design, path("old.olr")));
    EXPECT_EQ(fileBytes(path("old.olr")), record + tail);
}

TEST_F(OrderFile, BrokenBlocksAreOtherBytesAndKept)
{
    const QByteArray payload = R"({"orderNumber":"A-1"})";
    QByteArray badCrc = blockOf(payload);
    badCrc[badCrc.size() - 2] = 'x';
    QByteArray overLimit = blockOf(payload);
    overLimit.replace(8, 4, le32(files::kMaxOrderPayload + 1));
    const QByteArray cases[] = {badCrc, blockOf(payload).left(20), overLimit, blockOf("[\"A-1\"]"),
                                blockOf("{\"orderNumber\":")};
    int n = 0;
    for (const QByteArray& after : cases) {
        SCOPED_TRACE(n);
        const QString file = path(QStringLiteral("broken%1.olr").arg(n++));
        writeBytes(file, QByteArray(22, 'o') + after);
        state::ModelDesign read = afterNew(0);
        read.order.orderNumber = "left over";
        ASSERT_TRUE(files::readDesignRecord(0, read, file));
        EXPECT_TRUE(read.order.empty());

        // Not ours: kept after a new block, and after the record without one.
        read.order.orderNumber = "N";
        ASSERT_TRUE(files::writeDesignRecord(0, read, file));
        const QByteArray bytes = fileBytes(file);
        EXPECT_EQ(bytes.mid(22), blockOf(R"({"orderNumber":"N"})") + after);
        read.order = {};
        ASSERT_TRUE(files::writeDesignRecord(0, read, file));
        EXPECT_EQ(fileBytes(file).mid(22), after);
    }
}

TEST_F(OrderFile, DetailsTooLargeForABlockFailAndChangeNothing)
{
    state::ModelDesign design = afterNew(0);
    writeBytes(path("a.olr"), QByteArray(22, 'o') + "tail");
    design.order.notes = std::string(files::kMaxOrderPayload, 'n');
    const files::FileResult result = files::writeDesignRecord(0, design, path("a.olr"));
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.reason.isEmpty());
    EXPECT_EQ(fileBytes(path("a.olr")), QByteArray(22, 'o') + "tail");
}

} // namespace
