#pragma once

namespace tavil::mainwin {

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 1;

} // namespace tavil::mainwin
