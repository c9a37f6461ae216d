#include "platform/local_time.h"

namespace mirudana {

std::string localTimeText(std::time_t seconds) {
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &seconds) != 0) return {};
#else
    if (localtime_r(&seconds, &local) == nullptr) return {};
#endif
    char text[32];
    return std::string(text, std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local));
}

}  // namespace mirudana
