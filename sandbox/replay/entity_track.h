#pragma once

#include <bit>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "geometry/vec3.h"
#include "replay/spill_text.h"

namespace sandbox {

/// Values that change now and then (a state, a target), written only when they change: one item
/// [sample, entity, field, value] per change, the value as JSON text.
///
/// Nearly every value asked for is the one written last, so besides plain text a value may come
/// as what its text is made from (a number, a code, a raw string), and its text is built only when
/// that differs from the last.
class ChangeLog {
public:
    explicit ChangeLog(std::vector<std::string> fields) : fields_(std::move(fields)) {}
    /// Notes the value of one field of one entity at this sample; written only when it differs
    /// from the last value written for them (a new entity starts with every field unwritten).
    void Set(int sample, int entity, int field, std::string_view value);
    /// The same for a number (null when not finite), formatted only when it differs from the last.
    void SetNumber(int sample, int entity, int field, double value) {
        // Equal bits are an equal text; numbers equal in text but not in bits (0 and -0) are
        // caught by the comparison of the text.
        const std::size_t slot = Slot(entity, field);
        const auto bits = std::bit_cast<std::uint64_t>(value);
        if (kind_[slot] != kNumber || codes_[slot] != bits) WriteNumber(sample, entity, field, slot, value);
    }
    /// The same for a value whose text follows from `code` alone (a flag, a kind, a journal
    /// place): `text` appends that text to the string it is given, and runs only when the code
    /// differs from the one last noted for this field. Codes of one field must mean one text each.
    template <class Text>
    void SetCoded(int sample, int entity, int field, std::uint64_t code, Text&& text) {
        const std::size_t slot = Slot(entity, field);
        if (kind_[slot] == kCoded && codes_[slot] == code) return;
        scratch_.clear();
        text(scratch_);
        Write(sample, entity, field, slot, scratch_);
        kind_[slot] = kCoded;
        codes_[slot] = code;
    }
    /// The same for a JSON string (null without one), escaped only when the raw text changes.
    void SetString(int sample, int entity, int field, std::optional<std::string_view> raw) {
        if (!raw) {
            SetNull(sample, entity, field);
            return;
        }
        const std::size_t slot = Slot(entity, field);
        if (kind_[slot] != kRaw || raws_[slot] != *raw) WriteString(sample, entity, field, slot, *raw);
    }
    /// The same for a point [x, y, z] (null without one), formatted only when it moves.
    void SetPoint(int sample, int entity, int field, std::optional<Vec3> point) {
        if (!point) {
            SetNull(sample, entity, field);
            return;
        }
        // Equal coordinates are an equal text (0 and -0 included).
        const std::size_t slot = Slot(entity, field);
        if (kind_[slot] != kPoint || !(points_[slot] == *point))
            WritePoint(sample, entity, field, slot, *point);
    }
    void SetNull(int sample, int entity, int field) {
        const std::size_t slot = Slot(entity, field);
        if (kind_[slot] == kNull) return;
        Write(sample, entity, field, slot, "null");
        kind_[slot] = kNull;
    }
    /// {"fields": [...], "changes": [...]}, without the braces.
    void WriteMembers(std::ostream& out) const;
    /// "changes": [...] with the changes since the marks, which it moves on.
    void WriteSince(std::ostream& out, ColumnMarks& marks) const;
    void Settle() { changes_.Settle(); }

private:
    /// How the value last written to a slot was given, which says what its code means.
    enum Kind : char { kUnwritten, kText, kNumber, kCoded, kRaw, kNull, kPoint };

    /// The slot of one field of one entity, made on first use.
    std::size_t Slot(int entity, int field) {
        const std::size_t slot =
            static_cast<std::size_t>(entity) * fields_.size() + static_cast<std::size_t>(field);
        if (slot >= kind_.size()) Grow(entity);
        return slot;
    }
    void Grow(int entity);
    /// Writes `value` unless it is the text last written to the slot; leaves the slot's kind as text.
    void Write(int sample, int entity, int field, std::size_t slot, std::string_view value);
    void WriteNumber(int sample, int entity, int field, std::size_t slot, double value);
    void WriteString(int sample, int entity, int field, std::size_t slot, std::string_view raw);
    void WritePoint(int sample, int entity, int field, std::size_t slot, Vec3 point);

    std::vector<std::string> fields_;
    /// By entity then field, in one row per entity: asked for every field of every cop each sample.
    std::vector<std::string> last_;
    std::vector<Kind> kind_;
    std::vector<std::uint64_t> codes_;  ///< a number's bits, or the caller's code
    std::vector<std::string> raws_;     ///< the raw text of a string value
    std::vector<Vec3> points_;          ///< the coordinates of a point value
    std::string scratch_;
    SpillText changes_;
};

/// The cops or the vehicles of a run, stored by column: who is present in each sample (written
/// when that changes), where each one is (as the change from his previous sample, in hundredths of
/// a metre and whole degrees, so that one who stands costs a few bytes), and his other fields as
/// changes. The viewer rebuilds any sample from these.
class EntityTrack {
public:
    explicit EntityTrack(std::vector<std::string> fields) : changes_(std::move(fields)) {}

    /// The entity's index for a host handle, added (with its description, a JSON object) at first sight.
    int Enter(int handle, const std::string& description);
    /// The entity's index for a host handle, or -1 before it was entered: lets the caller build the
    /// description only once.
    int Find(int handle) const;
    /// He is present in this sample at this place and heading (degrees).
    void Row(int entity, Vec3 pos, double headingDegrees);
    void Set(int sample, int entity, int field, std::string_view value) {
        changes_.Set(sample, entity, field, value);
    }
    void SetNumber(int sample, int entity, int field, double value) {
        changes_.SetNumber(sample, entity, field, value);
    }
    template <class Text>
    void SetCoded(int sample, int entity, int field, std::uint64_t code, Text&& text) {
        changes_.SetCoded(sample, entity, field, code, std::forward<Text>(text));
    }
    void SetString(int sample, int entity, int field, std::optional<std::string_view> raw) {
        changes_.SetString(sample, entity, field, raw);
    }
    void SetPoint(int sample, int entity, int field, std::optional<Vec3> point) {
        changes_.SetPoint(sample, entity, field, point);
    }
    void SetNull(int sample, int entity, int field) { changes_.SetNull(sample, entity, field); }
    /// Closes the sample: writes who is present if that changed, and moves long text to disk.
    void EndSample(int sample);
    /// "name": {...} with every column.
    void Write(std::ostream& out, const char* name) const;
    /// "name": {...} with what each column gained since the marks, which it moves on.
    void WriteSince(std::ostream& out, const char* name, ColumnMarks& marks) const;

private:
    /// The bits of a row's place and heading as given.
    struct Raw {
        std::uint32_t x = 0;
        std::uint32_t y = 0;
        std::uint64_t heading = 0;
        bool operator==(const Raw&) const = default;
    };
    struct Last {
        std::int64_t x = 0;
        std::int64_t y = 0;
        std::int64_t heading = 0;
        std::optional<Raw> raw;  ///< none before his first row
    };
    std::unordered_map<int, int> byHandle_;
    std::vector<std::string> descriptions_;
    std::vector<Last> last_;
    std::vector<int> present_;
    std::vector<int> lastPresent_;
    bool anySample_ = false;
    SpillText rosters_;
    SpillText motion_;
    ChangeLog changes_;
};

}  // namespace sandbox
