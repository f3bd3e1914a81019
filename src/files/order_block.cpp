#include "files/order_block.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <array>
#include <cmath>
#include <cstring>

namespace files {

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = makeCrcTable();

std::uint32_t readLe32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void appendLe32(QByteArray& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>((value >> shift) & 0xFFU));
}

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string text(const QJsonObject& object, const char* key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isString() ? value.toString().toStdString() : std::string();
}

std::string date(const QJsonObject& object, const char* key)
{
    std::string value = text(object, key);
    return state::isIsoDate(value) ? value : std::string();
}

state::OrderParty party(const QJsonObject& object, const char* key)
{
    const QJsonObject inner = object.value(QLatin1String(key)).toObject();
    return {text(inner, "name"), text(inner, "address"), text(inner, "phone"), text(inner, "email")};
}

// The known key set to the field, or taken out when the field is not given
// now but was before; a stored value that gave no field stays.
void put(QJsonObject& object, const char* key, const QJsonValue& now, bool before)
{
    if (!now.isUndefined())
        object.insert(QLatin1String(key), now);
    else if (before)
        object.remove(QLatin1String(key));
}

QJsonValue textValue(const std::string& value)
{
    return value.empty() ? QJsonValue(QJsonValue::Undefined) : QJsonValue(qs(value));
}

void putParty(QJsonObject& object, const char* key, const state::OrderParty& now,
              const state::OrderParty& before)
{
    const QJsonValue stored = object.value(QLatin1String(key));
    if (!stored.isObject() && !stored.isUndefined() && now.empty())
        return; // not ours to drop
    QJsonObject inner = stored.toObject();
    put(inner, "name", textValue(now.name), !before.name.empty());
    put(inner, "address", textValue(now.address), !before.address.empty());
    put(inner, "phone", textValue(now.phone), !before.phone.empty());
    put(inner, "email", textValue(now.email), !before.email.empty());
    if (inner.isEmpty())
        object.remove(QLatin1String(key));
    else
        object.insert(QLatin1String(key), inner);
}

QJsonObject storedObject(const std::string& stored)
{
    if (stored.empty())
        return {};
    return QJsonDocument::fromJson(QByteArray::fromStdString(stored)).object();
}

} // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes)
{
    std::uint32_t c = 0xFFFFFFFFU;
    for (const std::uint8_t byte : bytes)
        c = kCrcTable[(c ^ byte) & 0xFFU] ^ (c >> 8);
    return c ^ 0xFFFFFFFFU;
}

state::OrderDetails orderFromJson(const QJsonObject& object, const QByteArray& asStored)
{
    state::OrderDetails details;
    details.orderNumber = text(object, "orderNumber");
    details.orderDate = date(object, "orderDate");
    details.deliveryDate = date(object, "deliveryDate");
    const QJsonValue quantity = object.value(QLatin1String("quantity"));
    if (quantity.isDouble()) {
        const double q = quantity.toDouble();
        if (q >= 1 && q <= state::kMaxQuantity && q == std::floor(q))
            details.quantity = static_cast<int>(q);
    }
    details.customer = party(object, "customer");
    details.dealer = party(object, "dealer");
    details.size = text(object, "size");
    const QString units = object.value(QLatin1String("units")).toString();
    if (units == QLatin1String("metric"))
        details.units = state::Units::Metric;
    else if (units == QLatin1String("imperial"))
        details.units = state::Units::Imperial;
    const QJsonObject measurements = object.value(QLatin1String("measurements")).toObject();
    for (int i = 0; i < state::kMeasureCount; ++i) {
        const QJsonValue value = measurements.value(qs(state::kMeasures[static_cast<std::size_t>(i)].key));
        if (value.isDouble() && std::isfinite(value.toDouble()))
            details.measurements[static_cast<std::size_t>(i)] = value.toDouble();
    }
    details.shoeSize = text(measurements, "shoeSize");
    details.notes = text(object, "notes");
    details.stored = asStored.isEmpty() ? QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString()
                                        : asStored.toStdString();
    return details;
}

QJsonObject orderToJson(const state::OrderDetails& details)
{
    QJsonObject object = storedObject(details.stored);
    const state::OrderDetails before = orderFromJson(object);
    put(object, "orderNumber", textValue(details.orderNumber), !before.orderNumber.empty());
    put(object, "orderDate", textValue(details.orderDate), !before.orderDate.empty());
    put(object, "deliveryDate", textValue(details.deliveryDate), !before.deliveryDate.empty());
    put(object, "quantity",
        details.quantity ? QJsonValue(*details.quantity) : QJsonValue(QJsonValue::Undefined),
        before.quantity.has_value());
    putParty(object, "customer", details.customer, before.customer);
    putParty(object, "dealer", details.dealer, before.dealer);
    put(object, "size", textValue(details.size), !before.size.empty());
    QJsonValue units(QJsonValue::Undefined);
    if (details.units)
        units =
            *details.units == state::Units::Metric ? QStringLiteral("metric") : QStringLiteral("imperial");
    put(object, "units", units, before.units.has_value());

    const QJsonValue storedMeasurements = object.value(QLatin1String("measurements"));
    if (storedMeasurements.isObject() || storedMeasurements.isUndefined() || details.anyMeasurement() ||
        !details.shoeSize.empty()) {
        QJsonObject inner = storedMeasurements.toObject();
        for (int i = 0; i < state::kMeasureCount; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const std::string key(state::kMeasures[at].key);
            const std::optional<double>& value = details.measurements[at];
            put(inner, key.c_str(), value ? QJsonValue(*value) : QJsonValue(QJsonValue::Undefined),
                before.measurements[at].has_value());
        }
        put(inner, "shoeSize", textValue(details.shoeSize), !before.shoeSize.empty());
        if (inner.isEmpty())
            object.remove(QLatin1String("measurements"));
        else
            object.insert(QLatin1String("measurements"), inner);
    }
    put(object, "notes", textValue(details.notes), !before.notes.empty());
    return object;
}

std::optional<QByteArray> orderBlock(const state::OrderDetails& details)
{
    if (details.empty())
        return QByteArray();
    const QJsonObject object = orderToJson(details);
    if (object.isEmpty())
        return QByteArray();
    const QByteArray payload = QJsonDocument(object).toJson(QJsonDocument::Compact);
    if (payload.size() > kMaxOrderPayload)
        return std::nullopt;
    QByteArray block;
    block.reserve(kOrderFrameSize + payload.size());
    block.append(kOrderMagic, kOrderMagicSize);
    appendLe32(block, static_cast<std::uint32_t>(payload.size()));
    block.append(payload);
    appendLe32(block, crc32({reinterpret_cast<const std::uint8_t*>(payload.constData()),
                             static_cast<std::size_t>(payload.size())}));
    return block;
}

std::optional<FoundBlock> findOrderBlock(std::span<const std::uint8_t> after)
{
    if (after.size() < static_cast<std::size_t>(kOrderFrameSize) ||
        std::memcmp(after.data(), kOrderMagic, kOrderMagicSize) != 0)
        return std::nullopt;
    const std::uint32_t length = readLe32(after.data() + kOrderMagicSize);
    if (length > static_cast<std::uint32_t>(kMaxOrderPayload) ||
        after.size() < static_cast<std::size_t>(kOrderFrameSize) + length)
        return std::nullopt;
    const std::span<const std::uint8_t> payload = after.subspan(kOrderMagicSize + 4, length);
    if (crc32(payload) != readLe32(payload.data() + length))
        return std::nullopt;
    FoundBlock found;
    found.payload = QByteArray(reinterpret_cast<const char*>(payload.data()), static_cast<qsizetype>(length));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(found.payload, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    found.object = document.object();
    found.size = kOrderFrameSize + static_cast<qsizetype>(length);
    return found;
}

} // namespace files
