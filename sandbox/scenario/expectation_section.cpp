#include "scenario/expectation_section.h"

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "scenario/fields.h"
#include "scenario/probe_name.h"
#include "scenario/value_readers.h"

namespace sandbox::loader {

namespace {

const std::vector<std::pair<std::string_view, ExpectKind>>& ExpectForms() {
    static const std::vector<std::pair<std::string_view, ExpectKind>> forms = {
        {"log", ExpectKind::log},           {"noLog", ExpectKind::noLog}, {"logCount", ExpectKind::logCount},
        {"logOrder", ExpectKind::logOrder}, {"probe", ExpectKind::probe},
    };
    return forms;
}

void ReadProbeCheck(const Fields& f, Expectation& expectation) {
    bool hasRange = f.Has("min") || f.Has("max");
    int checks = int{f.Has("eq")} + int{f.Has("near")} + int{hasRange};
    if (checks != 1) {
        Fail(f.Path(), "a probe needs exactly one of eq, near (with tol), or min and/or max");
    }
    if (f.Has("tol") != f.Has("near")) {
        Fail(f.PathOf(f.Has("tol") ? "tol" : "near"), "near and tol go together");
    }
    if (expectation.probe.IsText()) {
        if (!f.Has("eq")) {
            Fail(f.Path(), expectation.probeText + " is text: only eq applies");
        }
        expectation.eqText = f.Req("eq", ReadString);
        return;
    }
    // Doubles, not floats: a tolerance of 0.1 should mean exactly that.
    auto number = [](const Json& v, const std::string& p) {
        if (!v.is_number()) {
            Fail(p, "expected a number");
        }
        return v.get<double>();
    };
    if (const Json* eq = f.Optional("eq")) {
        // true/false read naturally for the 0/1 probes.
        expectation.eq = eq->is_boolean() ? (eq->get<bool>() ? 1.0 : 0.0) : number(*eq, f.PathOf("eq"));
    }
    if (f.Has("near")) {
        expectation.nearValue = f.Req("near", number);
        expectation.tol = f.Req("tol", number);
        if (expectation.tol < 0.0) {
            Fail(f.PathOf("tol"), "expected a number of at least 0");
        }
    }
    ReadMinMax(f, expectation.min, expectation.max, number);
}

Expectation ReadProbe(const Fields& f, Expectation expectation, const IdRegistry& ids) {
    f.Allow({"probe", "at", "eq", "min", "max", "near", "tol"});
    expectation.atMs = f.Req("at", ReadMs);
    expectation.probeText = f.Req("probe", ReadString);
    try {
        expectation.probe = ParseProbeName(expectation.probeText);
    } catch (const std::invalid_argument& error) {
        Fail(f.PathOf("probe"), error.what());
    }
    ProbeKind kind = expectation.probe.kind;
    if (kind == ProbeKind::ped || kind == ProbeKind::vehicle) {
        RefKind refKind = kind == ProbeKind::ped ? RefKind::pedOrPlayer : RefKind::vehicle;
        ids.Check({f.PathOf("probe"), expectation.probe.id, refKind}, false);
    }
    ReadProbeCheck(f, expectation);
    return expectation;
}

// log, noLog, logCount and logOrder: patterns of log lines, within an optional time window.
Expectation ReadLogCheck(const Fields& f, std::string_view formName, Expectation expectation) {
    std::vector<std::string_view> allowed = {formName, "by", "after"};
    if (expectation.kind == ExpectKind::logCount) {
        allowed.insert(allowed.end(), {"min", "max"});
    }
    f.Allow(allowed);
    if (expectation.kind == ExpectKind::logOrder) {
        ForEachElement(f.Required(formName), f.PathOf(formName),
                       [&](const Json& p, const std::string& pPath) {
                           expectation.patterns.push_back(ReadString(p, pPath));
                       });
        if (expectation.patterns.empty()) {
            Fail(f.PathOf(formName), "expected at least one pattern");
        }
    } else {
        expectation.patterns.push_back(f.Req(formName, ReadString));
    }
    expectation.byMs = f.Maybe("by", ReadMs);
    expectation.afterMs = f.Maybe("after", ReadMs);
    if (expectation.byMs && expectation.afterMs && *expectation.afterMs > *expectation.byMs) {
        Fail(f.PathOf("after"), "later than by, so the window is empty");
    }
    if (expectation.kind == ExpectKind::logCount) {
        auto count = [](const Json& v, const std::string& p) {
            return static_cast<uint32_t>(ReadWhole(v, p, 0, std::numeric_limits<uint32_t>::max()));
        };
        ReadMinMax(f, expectation.minCount, expectation.maxCount, count);
        if (!expectation.minCount && !expectation.maxCount) {
            Fail(f.Path(), "logCount needs min or max");
        }
    }
    return expectation;
}

}  // namespace

Expectation ReadExpectation(const Json& value, const std::string& path, const IdRegistry& ids) {
    Fields f(value, path);
    Expectation expectation;
    std::string_view formName;
    for (const auto& [name, kind] : ExpectForms()) {
        if (!f.Has(name)) {
            continue;
        }
        if (!formName.empty()) {
            Fail(path, "give only one of log, noLog, logCount, logOrder, probe (found " +
                           std::string(formName) + " and " + std::string(name) + ")");
        }
        formName = name;
        expectation.kind = kind;
    }
    if (formName.empty()) {
        Fail(path, "expected one of log, noLog, logCount, logOrder or probe");
    }
    if (expectation.kind == ExpectKind::probe) {
        return ReadProbe(f, std::move(expectation), ids);
    }
    return ReadLogCheck(f, formName, std::move(expectation));
}

}  // namespace sandbox::loader
