#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace db {

// A date and time as the system counts it: whole days since 30 December 1899 and the time
// of day in ten-thousandths of a second, Firebird's own resolution.
struct DateTime {
    std::int32_t day = 0;
    std::uint32_t time = 0;

    static constexpr std::uint32_t kTicksPerDay = 864'000'000;

    // Days since 30 December 1899 with the time of day as the fraction.
    double serial() const { return day + static_cast<double>(time) / kTicksPerDay; }
    static DateTime fromCivil(int year, int month, int dayOfMonth, int hour = 0, int minute = 0, int second = 0);
    void toCivil(int& year, int& month, int& dayOfMonth) const;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// The current local date and time.
DateTime localNow();

// A text read as a 32-bit integer: optional leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x", "X" or "0x". Anything else, trailing blanks
// included, or a value outside the 32-bit range gives no value.
std::optional<std::int32_t> parseInteger(std::string_view text);

// The failure raised when a text read as an integer is not one.
[[noreturn]] void throwNotAnInteger(std::string_view text);

// value ÷ divisor (divisor > 0) rounded to a whole number, a half going to the even neighbour.
std::int64_t divideRoundingHalfToEven(std::int64_t value, std::int64_t divisor);

// How numbers and dates are written and read as text in the region the program serves. The
// access layer has none of its own: the program gives its attachments theirs.
struct RegionalFormat {
    char decimalSeparator;
    // printf layouts: day, month, year; hours, minutes, seconds.
    const char* dateLayout;
    const char* timeLayout;
    // sscanf layout of a date with an optional time: day, month, year, [end], hours, minutes,
    // seconds, [end].
    const char* dateTimeScan;
};

// A scaled integer (value × 10^scale, scale ≤ 0) rounded to a whole number, a half going to
// the even neighbour. Throws when the result is outside the 32-bit range, naming the value as
// the format writes it.
std::int32_t roundScaled(std::int64_t value, int scale, const RegionalFormat& format);

// A floating-point number rounded to a whole number, a half going to the even neighbour.
// Not-a-number and the infinities fail like a text that is not an integer.
std::int32_t roundDouble(double value, const RegionalFormat& format);

// A scaled integer (value × 10^scale) as the double nearest to that decimal.
double scaledToDouble(std::int64_t value, int scale);

// Texts of numbers and dates in a regional format.
std::string formatScaled(std::int64_t value, int scale, const RegionalFormat& format);
std::string formatDouble(double value, const RegionalFormat& format);
std::string formatDate(const DateTime& value, const RegionalFormat& format);
std::string formatTime(const DateTime& value, const RegionalFormat& format);
std::string formatTimestamp(const DateTime& value, const RegionalFormat& format);

// A text read as a number or a date in a regional format (used for text columns). A number
// is an optional sign, digits with at most one regional decimal separator among or after
// them, and an optional exponent ("E" or "e", an optional sign, digits); blanks around it are
// ignored. The process's locale plays no part.
double parseDouble(std::string_view text, const RegionalFormat& format);
DateTime parseDateTime(std::string_view text, const RegionalFormat& format);

}  // namespace db
