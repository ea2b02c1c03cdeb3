#include "scenario/value_readers.h"

#include <cmath>
#include <optional>
#include <sstream>

#include "scenario/scenario.h"

namespace sandbox::loader {

float ReadReal(const Json& value, const std::string& path, double lo, double hi) {
    if (!value.is_number()) {
        Fail(path, "expected a number");
    }
    double number = value.get<double>();
    if (number < lo || number > hi) {
        std::ostringstream range;
        if (lo == -FLT_MAX && hi == FLT_MAX) {
            range << "expected a number within the range of a float";
        } else if (hi == FLT_MAX) {
            range << "expected a number of at least " << lo;
        } else {
            range << "expected a number from " << lo << " to " << hi;
        }
        Fail(path, range.str());
    }
    return static_cast<float>(number);
}

float ReadPositive(const Json& value, const std::string& path) {
    float number = ReadReal(value, path);
    if (!(number > 0.0f)) {
        Fail(path, "expected a number greater than 0");
    }
    return number;
}

int64_t ReadWhole(const Json& value, const std::string& path, int64_t lo, int64_t hi) {
    std::optional<int64_t> whole;
    if (value.is_number_unsigned()) {
        uint64_t number = value.get<uint64_t>();
        if (number <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
            whole = static_cast<int64_t>(number);
        }
    } else if (value.is_number_integer()) {
        whole = value.get<int64_t>();
    } else if (value.is_number_float()) {
        double number = value.get<double>();
        if (std::trunc(number) == number && std::fabs(number) < 9.0e18) {
            whole = static_cast<int64_t>(number);
        }
    }
    if (!whole || *whole < lo || *whole > hi) {
        std::string range = hi == std::numeric_limits<int32_t>::max() && lo == 0
                                ? "a whole number of at least 0"
                                : "a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
        Fail(path, "expected " + range);
    }
    return *whole;
}

int ReadInt(const Json& value, const std::string& path, int64_t lo, int64_t hi) {
    return static_cast<int>(ReadWhole(value, path, lo, hi));
}

uint32_t ReadMs(const Json& value, const std::string& path) {
    if (!value.is_number()) {
        Fail(path, "expected a whole number of milliseconds");
    }
    return static_cast<uint32_t>(ReadWhole(value, path, 0, std::numeric_limits<uint32_t>::max()));
}

bool ReadBool(const Json& value, const std::string& path) {
    if (!value.is_boolean()) {
        Fail(path, "expected true or false");
    }
    return value.get<bool>();
}

std::string ReadString(const Json& value, const std::string& path) {
    if (!value.is_string()) {
        Fail(path, "expected a string");
    }
    return value.get<std::string>();
}

// Ids appear in messages, log lines and probe names, so keep them printable.
std::string ReadId(const Json& value, const std::string& path) {
    std::string id = ReadString(value, path);
    if (id.empty() || HasControlCharacter(id)) {
        Fail(path, "expected a non-empty id without control characters");
    }
    return id;
}

std::vector<float> ReadNumbers(const Json& value, const std::string& path, std::size_t count, double lo,
                               double hi) {
    const std::string expected = "expected an array of " + std::to_string(count) + " numbers";
    if (!value.is_array() || value.size() != count) {
        Fail(path, expected);
    }
    std::vector<float> numbers;
    for (const Json& element : value) {
        if (!element.is_number()) {
            Fail(path, expected);
        }
        numbers.push_back(ReadReal(element, path, lo, hi));
    }
    return numbers;
}

Vec3 ReadVec3(const Json& value, const std::string& path) {
    std::vector<float> n = ReadNumbers(value, path, 3, -kMaxCoordinate, kMaxCoordinate);
    return {n[0], n[1], n[2]};
}

int ReadSeat(const Json& value, const std::string& path) {
    if (value.is_string() && value.get<std::string>() == "driver") {
        return kDriverSeat;
    }
    if (value.is_number()) {
        return ReadInt(value, path, 0, 7);
    }
    Fail(path, "expected \"driver\" or a passenger seat 0 to 7");
}

}  // namespace sandbox::loader
