#include "values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "database_error.h"
#include "local_time.h"
#include "text.h"

namespace db {

namespace {

constexpr std::int64_t kDaysFrom1899To1970 = 25569;

// Days since 1 January 1970 of a civil date (proleptic Gregorian calendar).
std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153u * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2u) / 5u + static_cast<unsigned>(d) - 1u;
    const unsigned doe = yoe * 365u + yoe / 4u - yoe / 100u + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::int32_t checkedInt32(long double value, std::string_view shown) {
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throwNotAnInteger(shown);
    return static_cast<std::int32_t>(value);
}

}  // namespace

DateTime DateTime::fromCivil(int year, int month, int dayOfMonth, int hour, int minute, int second) {
    DateTime dt;
    dt.day = static_cast<std::int32_t>(daysFromCivil(year, month, dayOfMonth) + kDaysFrom1899To1970);
    dt.time = static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 10000);
    return dt;
}

void DateTime::toCivil(int& year, int& month, int& dayOfMonth) const {
    civilFromDays(day - kDaysFrom1899To1970, year, month, dayOfMonth);
}

DateTime localNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = platform::localTime(now);
    return DateTime::fromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                               local.tm_sec);
}

std::optional<std::int32_t> parseInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0 || digit >= base) return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > std::int64_t{1} << 32) return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

void throwNotAnInteger(std::string_view text) {
    throw DatabaseError("''" + std::string(text) + "'' is not a valid integer value");
}

std::int64_t divideRoundingHalfToEven(std::int64_t value, std::int64_t divisor) {
    std::int64_t quotient = value / divisor;
    const std::int64_t remainder = value % divisor;
    const std::int64_t twice = 2 * (remainder < 0 ? -remainder : remainder);
    if (twice > divisor || (twice == divisor && quotient % 2 != 0)) quotient += value < 0 ? -1 : 1;
    return quotient;
}

std::int32_t roundScaled(std::int64_t value, int scale, const RegionalFormat& format) {
    if (scale >= 0) {
        long double widened = static_cast<long double>(value) * std::pow(10.0L, scale);
        return checkedInt32(widened, formatScaled(value, scale, format));
    }
    std::int64_t divisor = 1;
    for (int k = 0; k < -scale; ++k) divisor *= 10;
    return checkedInt32(static_cast<long double>(divideRoundingHalfToEven(value, divisor)),
                        formatScaled(value, scale, format));
}

std::int32_t roundDouble(double value, const RegionalFormat& format) {
    if (!std::isfinite(value)) throwNotAnInteger(formatDouble(value, format));
    // The default floating-point rounding mode rounds a half to the even neighbour.
    return checkedInt32(static_cast<long double>(std::nearbyint(value)), formatDouble(value, format));
}

double scaledToDouble(std::int64_t value, int scale) {
    // Powers of ten up to 10^22 are exact doubles, and so is every integer up to 2^53: one
    // division of two exact operands then gives the nearest double.
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr std::int64_t kExactInteger = std::int64_t{1} << 53;
    const int places = -scale;
    if (places >= 0 && places <= 22 && value <= kExactInteger && value >= -kExactInteger)
        return static_cast<double>(value) / kPowersOfTen[places];
    // Otherwise the decimal itself is read, which rounds once.
    const std::string decimal = std::to_string(value) + "e" + std::to_string(scale);
    double result = 0;
    std::from_chars(decimal.data(), decimal.data() + decimal.size(), result);
    return result;
}

std::string formatScaled(std::int64_t value, int scale, const RegionalFormat& format) {
    if (scale >= 0) {
        std::string digits = std::to_string(value);
        if (value != 0) digits.append(static_cast<std::size_t>(scale), '0');
        return digits;
    }
    const bool negative = value < 0;
    const auto raw = static_cast<unsigned long long>(value);
    std::string digits = std::to_string(negative ? 0ULL - raw : raw);
    const auto places = static_cast<std::size_t>(-scale);
    if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - places);
    std::string fraction = digits.substr(digits.size() - places);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    std::string out = negative ? "-" + whole : whole;
    if (!fraction.empty()) out += format.decimalSeparator + fraction;
    return out;
}

std::string formatDouble(double value, const RegionalFormat& format) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string out = buffer;
    for (char& c : out)
        if (c == '.') c = format.decimalSeparator;
    return out;
}

std::string formatDate(const DateTime& value, const RegionalFormat& format) {
    int y = 0, m = 0, d = 0;
    value.toCivil(y, m, d);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format.dateLayout, d, m, y);
    return buffer;
}

std::string formatTime(const DateTime& value, const RegionalFormat& format) {
    const std::uint32_t seconds = value.time / 10000;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format.timeLayout, seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

std::string formatTimestamp(const DateTime& value, const RegionalFormat& format) {
    return formatDate(value, format) + " " + formatTime(value, format);
}

double parseDouble(std::string_view text, const RegionalFormat& format) {
    const std::string trimmed = trimBlanks(text);
    // The number is checked against the regional format here, then read by from_chars, which
    // follows no locale and rounds correctly.
    std::string number;
    std::size_t i = 0;
    auto digitsFrom = [&](std::size_t& at) {
        const std::size_t begin = at;
        while (at < trimmed.size() && trimmed[at] >= '0' && trimmed[at] <= '9') number += trimmed[at++];
        return at - begin;
    };
    const bool negative = i < trimmed.size() && trimmed[i] == '-';
    if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+')) ++i;
    std::size_t digits = digitsFrom(i);
    if (i < trimmed.size() && trimmed[i] == format.decimalSeparator) {
        number += '.';
        ++i;
        digits += digitsFrom(i);
    }
    bool valid = digits > 0;
    if (valid && i < trimmed.size() && (trimmed[i] == 'e' || trimmed[i] == 'E')) {
        number += 'e';
        ++i;
        if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+')) number += trimmed[i++];
        valid = digitsFrom(i) > 0;
    }
    double value = 0;
    if (valid && i == trimmed.size()) {
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        valid = error == std::errc() && end == number.data() + number.size();
    } else {
        valid = false;
    }
    if (!valid) throw DatabaseError("''" + std::string(text) + "'' is not a valid floating point value");
    return negative ? -value : value;
}

DateTime parseDateTime(std::string_view text, const RegionalFormat& format) {
    const std::string trimmed = trimBlanks(text);
    int d = 0, m = 0, y = 0, hh = 0, mm = 0, ss = 0, used = 0;
    const int fields = std::sscanf(trimmed.c_str(), format.dateTimeScan, &d, &m, &y, &used, &hh, &mm, &ss, &used);
    const bool dateOnly = fields == 3 && static_cast<std::size_t>(used) == trimmed.size();
    const bool withTime = fields == 6 && static_cast<std::size_t>(used) == trimmed.size();
    if (!(dateOnly || withTime) || m < 1 || m > 12 || d < 1 || d > 31)
        throw DatabaseError("''" + std::string(text) + "'' is not a valid date and time");
    return DateTime::fromCivil(y, m, d, hh, mm, ss);
}

}  // namespace db
