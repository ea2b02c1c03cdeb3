#include "scenario/json_text.h"

#include <cstddef>
#include <unordered_set>
#include <vector>

namespace sandbox::loader {

namespace {

// Walks the text once before it is parsed into values: duplicate keys are an error at their path,
// and so is an object with more keys than any scenario needs (an ordered object is slow to fill
// with very many). Syntax errors are left to the parse that follows, which words them better.
class KeyCheck final : public nlohmann::json_sax<Json> {
public:
    static constexpr std::size_t kMaxKeysPerObject = 10000;

    bool null() override { return Element(); }
    bool boolean(bool) override { return Element(); }
    bool number_integer(number_integer_t) override { return Element(); }
    bool number_unsigned(number_unsigned_t) override { return Element(); }
    bool number_float(number_float_t, const string_t&) override { return Element(); }
    bool string(string_t&) override { return Element(); }
    bool binary(binary_t&) override { return Element(); }
    bool start_object(std::size_t) override {
        Element();
        frames_.push_back({false, 0, {}, {}});
        return true;
    }
    bool key(string_t& key) override {
        Frame& frame = frames_.back();
        frame.key = key;
        if (!frame.keys.insert(key).second) {
            Fail(CurrentPath(), "duplicate key");
        }
        if (frame.keys.size() > kMaxKeysPerObject) {
            Fail(CurrentPath(), "more than " + std::to_string(kMaxKeysPerObject) + " keys in one object");
        }
        return true;
    }
    bool end_object() override { return End(); }
    bool start_array(std::size_t) override {
        Element();
        frames_.push_back({true, 0, {}, {}});
        return true;
    }
    bool end_array() override { return End(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    struct Frame {
        bool isArray;
        std::size_t count;  // elements begun so far (arrays)
        std::string key;    // the key being read (objects)
        std::unordered_set<std::string> keys;
    };

    bool Element() {
        if (!frames_.empty() && frames_.back().isArray) {
            ++frames_.back().count;
        }
        return true;
    }

    bool End() {
        frames_.pop_back();
        return true;
    }

    std::string CurrentPath() const {
        std::string path;
        for (const Frame& frame : frames_) {
            path = frame.isArray ? ElementPath(path, frame.count - 1) : ChildPath(path, frame.key);
        }
        return path;
    }

    std::vector<Frame> frames_;
};

}  // namespace

Json ParseJsonText(std::string_view text) {
    KeyCheck keyCheck;
    Json::sax_parse(text.begin(), text.end(), &keyCheck);
    return Json::parse(text.begin(), text.end());
}

std::string LibraryMessage(const nlohmann::json::exception& error) {
    std::string message = error.what();
    std::size_t end = message.find("] ");
    return end == std::string::npos ? message : message.substr(end + 2);
}

}  // namespace sandbox::loader
