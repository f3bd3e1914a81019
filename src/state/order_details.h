#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The rest of an order, beside the colours: who orders, through whom, when,
// how many, and the measurements a maker cuts from. Plain values; an empty
// text or an absent number is a field not given.
namespace state {

struct OrderParty {
    std::string name;
    std::string address; // lines joined by "\n"
    std::string phone;
    std::string email;
    bool empty() const { return name.empty() && address.empty() && phone.empty() && email.empty(); }
    bool operator==(const OrderParty&) const = default;
};

enum class Units { Metric, Imperial };

// The measurements given as numbers, in the order the form and the sheet
// show them; the shoe size is text (sizes are written many ways).
enum class Measure {
    Height,
    Weight,
    Chest,
    Waist,
    Hips,
    Shoulders,
    ArmLength,
    Torso,
    Inseam,
    Bicep,
    Forearm,
    Thigh,
};
inline constexpr int kMeasureCount = 12;

struct MeasureInfo {
    std::string_view key;   // the stored key, also the form field's name
    std::string_view label; // as the form and the sheet show it
    bool isWeight;          // kilograms or pounds, else centimetres or inches
    double metricLow;       // the plausible range, in centimetres or kilograms
    double metricHigh;
};

// One row per Measure, in its order.
inline constexpr std::array<MeasureInfo, kMeasureCount> kMeasures{{
    {"height", "Height", false, 100, 230},
    {"weight", "Weight", true, 30, 200},
    {"chest", "Chest", false, 60, 160},
    {"waist", "Waist", false, 50, 160},
    {"hips", "Hips", false, 60, 170},
    {"shoulders", "Shoulders", false, 30, 65},
    {"armLength", "Arm length", false, 40, 95},
    {"torso", "Torso", false, 110, 210},
    {"inseam", "Inseam", false, 50, 110},
    {"bicep", "Bicep", false, 20, 60},
    {"forearm", "Forearm", false, 15, 45},
    {"thigh", "Thigh", false, 35, 95},
}};

inline constexpr int kMaxNotes = 1000; // characters, as the user counts them
inline constexpr int kMaxQuantity = 9999;

struct OrderDetails {
    std::string orderNumber;
    std::string orderDate;    // YYYY-MM-DD
    std::string deliveryDate; // YYYY-MM-DD
    std::optional<int> quantity;
    OrderParty customer;
    OrderParty dealer;
    std::string size; // a standard size; empty when made to measure
    std::optional<Units> units;
    std::array<std::optional<double>, kMeasureCount> measurements{};
    std::string shoeSize;
    std::string notes;
    // The object as the file held it (compact JSON), or empty: a save keeps
    // the keys this program does not know, and the values it could not take.
    std::string stored;

    // No field given and nothing stored to keep: no details to write.
    bool empty() const;
    bool anyMeasurement() const;
    std::optional<double> measurement(Measure which) const
    {
        return measurements[static_cast<std::size_t>(which)];
    }
    bool operator==(const OrderDetails&) const = default;
};

// The unit a measure is given in: "cm", "in", "kg" or "lb".
std::string_view unitName(Measure which, Units units);

// A value in the other system, rounded to one decimal (centimetres and
// inches, kilograms and pounds).
double convertMeasure(Measure which, double value, Units from, Units to);

// What the form says of a measurement as typed: the value when it is a
// number (a decimal comma is taken too), and a message when it is not one or
// lies outside the measure's plausible range. Empty text is no value and no
// message.
struct MeasureCheck {
    std::optional<double> value;
    bool valid = true; // false: not a number, no value
    std::string message;
};
MeasureCheck checkMeasure(Measure which, Units units, std::string_view text);

// A number as the form and the sheet write it: at most one decimal, no
// trailing zero ("82", "82.5").
std::string formatMeasure(double value);

// True for a real calendar date written YYYY-MM-DD.
bool isIsoDate(std::string_view text);

} // namespace state
