#include "base/write_fully.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fwup {
namespace {

// A file that takes what each call's script says: a count of bytes, or -1 with that errno.
struct ScriptedFile {
    struct Call {
        long result;
        int error = 0;
    };
    std::vector<Call> calls;
    std::size_t next = 0;
    std::string written;

    long Write(const char* data, std::size_t size) {
        const Call call = next < calls.size() ? calls[next++] : Call{static_cast<long>(size)};
        if (call.result < 0) {
            errno = call.error;
            return -1;
        }
        const std::size_t taken = std::min(size, static_cast<std::size_t>(call.result));
        written.append(data, taken);
        return static_cast<long>(taken);
    }
};

TEST(WriteFully, GoesOnAfterShortWritesAndSignalsAndStopsOnErrors) {
    const std::string line = "{\"event\": \"step\", \"step\": \"transfer\"}\n";
    struct Case {
        const char* name;
        std::vector<ScriptedFile::Call> calls;
        bool ok;
        std::size_t written;
    } const cases[] = {
        {"one write", {}, true, line.size()},
        {"short writes", {{5}, {1}, {7}}, true, line.size()},
        {"interrupted before and between",
         {{-1, EINTR}, {10}, {-1, EINTR}, {-1, EINTR}},
         true,
         line.size()},
        {"reader gone", {{3}, {-1, EPIPE}}, false, 3},
        {"nothing taken", {{0}}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedFile file;
        file.calls = c.calls;
        EXPECT_EQ(WriteFully(line, [&](const char* data,
                                       std::size_t size) { return file.Write(data, size); }),
                  c.ok);
        EXPECT_EQ(file.written, line.substr(0, c.written));
    }
}

}  // namespace
}  // namespace fwup
