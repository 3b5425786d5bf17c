#include <limits.h>
#include <unistd.h>

#include "base/computer_name.h"
#include "base/wide_text.h"

namespace fwup {

std::string HostComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return ValidUtf8(name);
}

}  // namespace fwup
