#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "geometry/geometry.h"
#include "geometry/vec3.h"

namespace sandbox {

/// Host peds' steps on foot, where walls are solid: a step that would take a ped's knee into a box he
/// is not in already is not taken, and he stands at the wall until his order lapses or changes.
///
/// Such a ped asks for the same step, from the same place towards the same point, every frame; the
/// last step stopped is remembered per ped slot and answered again without a look at the boxes.
class FootSteps {
public:
    explicit FootSteps(int slots) : held_(static_cast<std::size_t>(slots)) {}

    /// StepTowards(from, to, stride), or none when a wall stops it. `slot` is the ped's pool slot,
    /// below the `slots` given at construction.
    /// m above the feet: a box no higher than this is stepped onto, one that reaches it stops him.
    static constexpr float kKnee = 0.5f;

    std::optional<Step> Take(int slot, Vec3 from, Vec3 to, float stride, const Geometry& geometry) {
        // The answer depends on nothing but these and the boxes; numbers that compare equal (0 and
        // -0 included) give the same step and compare alike with every box face.
        Held& held = held_[static_cast<std::size_t>(slot)];
        if (held.boxes == geometry.BoxRevision() && held.from == from && held.to == to &&
            held.stride == stride)
            return std::nullopt;
        const Step step = StepTowards(from, to, stride);
        const Vec3 knee{0.0f, 0.0f, kKnee};
        if (!geometry.InsideBox(step.next + knee) || geometry.InsideBox(from + knee)) return step;
        held = {from, to, stride, geometry.BoxRevision()};
        return std::nullopt;
    }

private:
    struct Held {
        Vec3 from;
        Vec3 to;
        float stride = 0.0f;
        std::uint32_t boxes = 0;  ///< the geometry's box revision then; 0: none held
    };
    std::vector<Held> held_;
};

}  // namespace sandbox
