#include "replay/entity_track.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

#include "replay/json_text.h"

namespace sandbox {

namespace {

void WriteArray(std::ostream& out, const char* name, const SpillText& items) {
    out << '"' << name << "\":[";
    items.CopyTo(out);
    out << ']';
}

// The room for a change item put together on the stack: a comma, its head and a short value.
constexpr std::size_t kShortItem = 160;

// Beyond this a heading is nonsense anyway; below it the whole degrees fit an integer exactly.
constexpr double kLargestDegrees = 1e15;

std::int64_t WholeDegrees(double degrees) {
    if (!std::isfinite(degrees)) return 0;
    if (std::fabs(degrees) >= kLargestWhole) {
        const double whole = std::round(degrees);
        if (std::fabs(whole) > kLargestDegrees) {
            const double d = std::fmod(whole, 360.0);
            return static_cast<std::int64_t>(d < 0 ? d + 360.0 : d);
        }
        const std::int64_t d = static_cast<std::int64_t>(whole) % 360;
        return d < 0 ? d + 360 : d;
    }
    const std::int64_t d = NearestWhole(degrees) % 360;
    return d < 0 ? d + 360 : d;
}

}  // namespace

void ChangeLog::Grow(int entity) {
    const std::size_t size = (static_cast<std::size_t>(entity) + 1) * fields_.size();
    last_.resize(size);
    kind_.resize(size, kUnwritten);
    codes_.resize(size, 0);
    raws_.resize(size);
    points_.resize(size);
}

void ChangeLog::Write(int sample, int entity, int field, std::size_t slot, std::string_view value) {
    const bool same = kind_[slot] != kUnwritten && last_[slot] == value;
    kind_[slot] = kText;
    if (same) return;
    last_[slot] = value;
    // "[sample,entity,field,value]" put together before one append when the value is short, as
    // nearly all are.
    char text[kShortItem];
    char* at = text + 1;
    *at++ = '[';
    for (const int number : {sample, entity, field}) {
        at = std::to_chars(at, at + 11, number).ptr;
        *at++ = ',';
    }
    if (value.size() < static_cast<std::size_t>(text + sizeof text - at)) {
        at = std::copy(value.begin(), value.end(), at);
        *at++ = ']';
        changes_.AddItem(text, static_cast<std::size_t>(at - text));
        return;
    }
    std::string& out = changes_.Item();
    out.append(text + 1, static_cast<std::size_t>(at - text - 1));
    out += value;
    out += ']';
}

void ChangeLog::Set(int sample, int entity, int field, std::string_view value) {
    Write(sample, entity, field, Slot(entity, field), value);
}

void ChangeLog::WriteNumber(int sample, int entity, int field, std::size_t slot, double value) {
    scratch_.clear();
    AppendNumber(scratch_, value);
    Write(sample, entity, field, slot, scratch_);
    kind_[slot] = kNumber;
    codes_[slot] = std::bit_cast<std::uint64_t>(value);
}

void ChangeLog::WriteString(int sample, int entity, int field, std::size_t slot, std::string_view raw) {
    scratch_.clear();
    AppendString(scratch_, raw);
    Write(sample, entity, field, slot, scratch_);
    kind_[slot] = kRaw;
    raws_[slot] = raw;
}

void ChangeLog::WritePoint(int sample, int entity, int field, std::size_t slot, Vec3 point) {
    scratch_.clear();
    AppendPoint(scratch_, point);
    Write(sample, entity, field, slot, scratch_);
    kind_[slot] = kPoint;
    points_[slot] = point;
}

void ChangeLog::WriteMembers(std::ostream& out) const {
    out << "\"fields\":[";
    for (std::size_t i = 0; i < fields_.size(); ++i) out << (i ? ",\"" : "\"") << fields_[i] << '"';
    out << "],";
    WriteArray(out, "changes", changes_);
}

void ChangeLog::WriteSince(std::ostream& out, ColumnMarks& marks) const {
    changes_.WriteSince(out, "changes", marks.Next());
}

int EntityTrack::Find(int handle) const {
    const auto it = byHandle_.find(handle);
    return it == byHandle_.end() ? -1 : it->second;
}

int EntityTrack::Enter(int handle, const std::string& description) {
    const auto [it, added] = byHandle_.try_emplace(handle, static_cast<int>(descriptions_.size()));
    if (added) {
        descriptions_.push_back(description);
        last_.emplace_back();
    }
    return it->second;
}

void EntityTrack::Row(int entity, Vec3 pos, double headingDegrees) {
    present_.push_back(entity);
    Last& last = last_[static_cast<std::size_t>(entity)];
    // The very same place and heading as before need no rounding: he stands.
    const Raw raw{std::bit_cast<std::uint32_t>(pos.x), std::bit_cast<std::uint32_t>(pos.y),
                  std::bit_cast<std::uint64_t>(headingDegrees)};
    if (last.raw && *last.raw == raw) {
        motion_.Item() += "0,0,0";
        return;
    }
    last.raw = raw;
    const std::int64_t x = Hundredths(pos.x);
    const std::int64_t y = Hundredths(pos.y);
    const std::int64_t heading = WholeDegrees(headingDegrees);
    // The heading's change the short way round, so that turning through north costs nothing extra.
    std::int64_t turn = heading - last.heading;
    if (turn > 180) turn -= 360;
    if (turn < -180) turn += 360;
    if (x == last.x && y == last.y && turn == 0) {
        motion_.Item() += "0,0,0";  // he stands: the commonest row of all
    } else {
        // Three numbers of at most 20 characters each and their commas, put together before one
        // append.
        char text[1 + 3 * 21];
        char* at = std::to_chars(text + 1, text + 22, x - last.x).ptr;
        *at++ = ',';
        at = std::to_chars(at, at + 20, y - last.y).ptr;
        *at++ = ',';
        at = std::to_chars(at, at + 20, turn).ptr;
        motion_.AddItem(text, static_cast<std::size_t>(at - text));
    }
    last.x = x;
    last.y = y;
    last.heading = heading;
}

void EntityTrack::EndSample(int sample) {
    if (!anySample_ || present_ != lastPresent_) {
        std::string& out = rosters_.Item();
        out += '[';
        AppendInt(out, sample);
        out += ",[";
        for (std::size_t i = 0; i < present_.size(); ++i) {
            if (i) out += ',';
            AppendInt(out, present_[i]);
        }
        out += "]]";
        lastPresent_ = present_;
        anySample_ = true;
    }
    present_.clear();
    rosters_.Settle();
    motion_.Settle();
    changes_.Settle();
}

void EntityTrack::Write(std::ostream& out, const char* name) const {
    out << '"' << name << "\":{\"entities\":[";
    for (std::size_t i = 0; i < descriptions_.size(); ++i) out << (i ? "," : "") << descriptions_[i];
    out << "],";
    WriteArray(out, "rosters", rosters_);
    out << ',';
    WriteArray(out, "motion", motion_);
    out << ',';
    changes_.WriteMembers(out);
    out << '}';
}

void EntityTrack::WriteSince(std::ostream& out, const char* name, ColumnMarks& marks) const {
    std::size_t& entities = marks.Next();
    out << '"' << name << "\":{\"entities\":[";
    for (std::size_t i = entities; i < descriptions_.size(); ++i)
        out << (i > entities ? "," : "") << descriptions_[i];
    entities = descriptions_.size();
    out << "],";
    rosters_.WriteSince(out, "rosters", marks.Next());
    out << ',';
    motion_.WriteSince(out, "motion", marks.Next());
    out << ',';
    changes_.WriteSince(out, marks);
    out << '}';
}

}  // namespace sandbox
