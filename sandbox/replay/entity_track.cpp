#include "replay/entity_track.h"

#include <cmath>

#include "replay/json_text.h"

namespace sandbox {

namespace {

void WriteArray(std::ostream& out, const char* name, const SpillText& items) {
    out << '"' << name << "\":[";
    items.CopyTo(out);
    out << ']';
}

std::int64_t WholeDegrees(double degrees) {
    if (!std::isfinite(degrees)) return 0;
    const double d = std::fmod(std::round(degrees), 360.0);
    return static_cast<std::int64_t>(d < 0 ? d + 360.0 : d);
}

}  // namespace

void ChangeLog::Set(int sample, int entity, int field, std::string_view value) {
    const std::size_t slot =
        static_cast<std::size_t>(entity) * fields_.size() + static_cast<std::size_t>(field);
    if (slot >= last_.size()) {
        const std::size_t size = (static_cast<std::size_t>(entity) + 1) * fields_.size();
        last_.resize(size);
        written_.resize(size, 0);
        lastNumber_.resize(size, std::nan(""));
    }
    if (written_[slot] && last_[slot] == value) return;
    lastNumber_[slot] = std::nan("");
    written_[slot] = 1;
    last_[slot] = value;
    std::string& out = changes_.Item();
    out += '[';
    AppendInt(out, sample);
    out += ',';
    AppendInt(out, entity);
    out += ',';
    AppendInt(out, field);
    out += ',';
    out += value;
    out += ']';
}

void ChangeLog::SetNumber(int sample, int entity, int field, double value) {
    const std::size_t slot =
        static_cast<std::size_t>(entity) * fields_.size() + static_cast<std::size_t>(field);
    // Most numbers (health, height) stay the same from one sample to the next.
    if (slot < written_.size() && written_[slot] && lastNumber_[slot] == value) return;
    scratch_.clear();
    AppendNumber(scratch_, value);
    Set(sample, entity, field, scratch_);
    lastNumber_[slot] = value;
}

void ChangeLog::WriteMembers(std::ostream& out) const {
    out << "\"fields\":[";
    for (std::size_t i = 0; i < fields_.size(); ++i) out << (i ? ",\"" : "\"") << fields_[i] << '"';
    out << "],";
    WriteArray(out, "changes", changes_);
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
    const Last now{Hundredths(pos.x), Hundredths(pos.y), WholeDegrees(headingDegrees)};
    // The heading's change the short way round, so that turning through north costs nothing extra.
    std::int64_t turn = now.heading - last.heading;
    if (turn > 180) turn -= 360;
    if (turn < -180) turn += 360;
    std::string& out = motion_.Item();
    AppendInt(out, now.x - last.x);
    out += ',';
    AppendInt(out, now.y - last.y);
    out += ',';
    AppendInt(out, turn);
    last = now;
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

}  // namespace sandbox
