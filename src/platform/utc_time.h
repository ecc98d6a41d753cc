// Points in time for records that outlive the run: UTC in ISO 8601, to the second.
#pragma once

#include <chrono>
#include <string>

namespace quenda {

// "2026-12-08T21:32:15Z" for `at`.
std::string UtcText(std::chrono::system_clock::time_point at);
// UtcText of now.
std::string UtcNowText();

}  // namespace quenda
