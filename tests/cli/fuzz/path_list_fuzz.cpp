// libFuzzer entry point for the lists of --files-from, on any bytes: a list is
// either refused with a reason and no paths, or gives at most the limit of paths,
// none empty, none holding a NUL byte or a line break, none longer than a line may be.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "cli/path_list.h"

namespace {

void check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kLimit = 64;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const mirudana::cli::PathList list = mirudana::cli::readPathList(in, kLimit);
    check(list.problem.empty() || list.paths.empty());
    check(list.paths.size() <= kLimit);
    for (const std::string& path : list.paths) {
        check(!path.empty() && path.size() <= mirudana::cli::kMaxListLineBytes);
        check(path.find_first_of(std::string("\0\n", 2)) == std::string::npos);
    }
    return 0;
}
