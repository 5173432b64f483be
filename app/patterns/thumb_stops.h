// The 100 stops of the scroll-bar thumb over a string key component: evenly spaced texts from
// the lowest to the highest value in range, built on the common prefix of the two and the next
// four characters of each counted in the alphabet of upper-case letters.
#pragma once

#include <string>
#include <vector>

namespace carelog::app {

// `count` stops; the first is the low text's tail after the common prefix, the last the high
// text's, each with the prefix in front.
std::vector<std::string> TextThumbStops(const std::string& low, const std::string& high, int count);

}  // namespace carelog::app
