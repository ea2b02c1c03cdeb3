#include "scenario/json_text.h"

#include <algorithm>
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
    // No scenario nests deeper than a handful of levels; past that the text is refused at once.
    static constexpr std::size_t kMaxDepth = 32;

    bool null() override { return Element(); }
    bool boolean(bool) override { return Element(); }
    bool number_integer(number_integer_t) override { return Element(); }
    bool number_unsigned(number_unsigned_t) override { return Element(); }
    bool number_float(number_float_t, const string_t&) override { return Element(); }
    bool string(string_t&) override { return Element(); }
    bool binary(binary_t&) override { return Element(); }
    bool start_object(std::size_t) override {
        Element();
        Open(false);
        return true;
    }
    bool key(string_t& key) override {
        Frame& frame = frames_.back();
        frame.key = key;
        if (!frame.Add(key)) {
            Fail(CurrentPath(), "duplicate key");
        }
        if (frame.count > kMaxKeysPerObject) {
            Fail(CurrentPath(), "more than " + std::to_string(kMaxKeysPerObject) + " keys in one object");
        }
        return true;
    }
    bool end_object() override { return End(); }
    bool start_array(std::size_t) override {
        Element();
        Open(true);
        return true;
    }
    bool end_array() override { return End(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    struct Frame {
        bool isArray;
        std::size_t count;  // elements begun so far (arrays), keys so far (objects)
        std::string key;    // the key being read (objects)
        // An object's keys: a short list looked through, as most objects have a handful, and a
        // hash set past that.
        std::vector<std::string> fewKeys;
        std::unordered_set<std::string> manyKeys;

        // False when the object already has the key.
        bool Add(const std::string& name) {
            static constexpr std::size_t kFew = 16;
            if (count < kFew) {
                if (std::find(fewKeys.begin(), fewKeys.end(), name) != fewKeys.end()) return false;
                fewKeys.push_back(name);
            } else {
                if (count == kFew) manyKeys.insert(fewKeys.begin(), fewKeys.end());
                if (!manyKeys.insert(name).second) return false;
            }
            ++count;
            return true;
        }
    };

    bool Element() {
        if (!frames_.empty() && frames_.back().isArray && ++frames_.back().count > kMaxElementsPerArray) {
            Fail(CurrentPath(),
                 "more than " + std::to_string(kMaxElementsPerArray) + " elements in one array");
        }
        return true;
    }
    void Open(bool isArray) {
        if (frames_.size() >= kMaxDepth) {
            Fail(CurrentPath(), "nested more than " + std::to_string(kMaxDepth) + " levels deep");
        }
        frames_.push_back({isArray, 0, {}, {}, {}});
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
    // The parser takes a NUL byte for the end of the text and would ignore what follows it, so a
    // NUL anywhere is refused like any other text after the value.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        const std::string_view before = text.substr(0, nul);
        const std::size_t lineStart = before.rfind('\n');
        const auto line = std::count(before.begin(), before.end(), '\n') + 1;
        const std::size_t column = nul - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
        Fail("", "invalid JSON: a NUL byte at line " + std::to_string(line) + ", column " +
                     std::to_string(column) + "; a scenario is text");
    }
    KeyCheck keyCheck;
    Json::sax_parse(text.begin(), text.end(), &keyCheck);
    return Json::parse(text.begin(), text.end());
}

std::string LibraryMessage(const nlohmann::json::exception& error) {
    std::string message = error.what();
    std::size_t end = message.find("] ");
    message = end == std::string::npos ? message : message.substr(end + 2);
    // The library quotes the token it stopped at, which may be a whole megabyte of digits.
    constexpr std::size_t kLongest = 300;
    if (message.size() > kLongest) message = message.substr(0, kLongest) + "...";
    return message;
}

}  // namespace sandbox::loader
