#pragma once

#include <array>

namespace tavil::engine {

struct RunContext;

// The attribute tab: for k = 0 read-only, 1 archive, 2 hidden, 3 system,
// AttributeChange(k) says whether attribute k is changed at all and
// AttributeValue(k) whether it is set (True, "設定") or cleared ("解除").
struct SetAttributeParams {
    std::array<bool, 4> AttributeChange{};
    std::array<bool, 4> AttributeValue{true, true, true, true};
};

// True when the run must stop (abort or a stopping error); a name clash in
// the output folder never stops it. A symbolic link is counted and logged as
// an error and left unchanged, and so is what it points at.
bool SetAttribute(RunContext& ctx, const SetAttributeParams& params);

} // namespace tavil::engine
