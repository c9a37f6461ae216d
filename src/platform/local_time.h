// Local date and time as the tool shows them: "2024/05/06 07:08:09".
#pragma once

#include <ctime>
#include <string>

namespace mirudana {

// `seconds` in the local time zone; empty when the system cannot convert it.
std::string localTimeText(std::time_t seconds);

}  // namespace mirudana
