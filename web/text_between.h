#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace web {

// The bytes between the first `startMarker` at or after `startPosition` (1-based, below 1 counts
// as 1) and the first `endMarker` after it; empty when either is missing or nothing lies between.
std::string TextBetween(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker, std::optional<int> startPosition = {});

// The text before the first `marker` at or after `startPosition`; empty when it is missing.
// `ignoreCase` folds ASCII letters only.
std::string TextBefore(std::string_view text, std::string_view marker,
                       std::optional<int> startPosition = {}, std::optional<bool> ignoreCase = {});

}  // namespace web
