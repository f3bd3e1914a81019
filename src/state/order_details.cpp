#include "state/order_details.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace state {

namespace {

constexpr double kCentimetresPerInch = 2.54;
constexpr double kKilogramsPerPound = 0.45359237;

const MeasureInfo& info(Measure which)
{
    return kMeasures[static_cast<std::size_t>(which)];
}

double oneDecimal(double value)
{
    return std::round(value * 10.0) / 10.0;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

bool OrderDetails::empty() const
{
    return orderNumber.empty() && orderDate.empty() && deliveryDate.empty() && !quantity &&
           customer.empty() && dealer.empty() && size.empty() && !units && !anyMeasurement() &&
           shoeSize.empty() && notes.empty() && (stored.empty() || stored == "{}");
}

bool OrderDetails::anyMeasurement() const
{
    for (const std::optional<double>& value : measurements)
        if (value)
            return true;
    return false;
}

std::string_view unitName(Measure which, Units units)
{
    if (info(which).isWeight)
        return units == Units::Metric ? "kg" : "lb";
    return units == Units::Metric ? "cm" : "in";
}

double convertMeasure(Measure which, double value, Units from, Units to)
{
    if (from == to)
        return value;
    const double factor = info(which).isWeight ? kKilogramsPerPound : kCentimetresPerInch;
    return oneDecimal(from == Units::Metric ? value / factor : value * factor);
}

MeasureCheck checkMeasure(Measure which, Units units, std::string_view text)
{
    MeasureCheck check;
    text = trimmed(text);
    if (text.empty())
        return check;
    std::string number(text);
    for (char& c : number)
        if (c == ',')
            c = '.';
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        check.valid = false;
        check.message = "Not a number";
        return check;
    }
    check.value = value;
    const MeasureInfo& measure = info(which);
    const double low = convertMeasure(which, measure.metricLow, Units::Metric, units);
    const double high = convertMeasure(which, measure.metricHigh, Units::Metric, units);
    if (value < low || value > high)
        check.message = std::string(measure.label) + " is usually " + formatMeasure(low) + " to " +
                        formatMeasure(high) + " " + std::string(unitName(which, units));
    return check;
}

std::string formatMeasure(double value)
{
    char text[32];
    const double rounded = oneDecimal(value);
    if (rounded == std::floor(rounded))
        std::snprintf(text, sizeof text, "%.0f", rounded);
    else
        std::snprintf(text, sizeof text, "%.1f", rounded);
    return text;
}

bool isIsoDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (const std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (text[i] < '0' || text[i] > '9')
            return false;
    const auto number = [&](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

} // namespace state
