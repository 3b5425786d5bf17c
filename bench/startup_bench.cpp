// Start-up: from starting the program to its idle look on screen, with both full-size packages
// linked in, against the same program with 1 MiB packages. Each iteration starts the probe
// program (startup_probe.cpp) afresh, with the simulated printer, the offscreen display and a
// runtime directory of its own, so no earlier instance is found.

#include "startup_bench.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "benchmark_names.h"
#include "paired_runs.h"

extern char** environ;

namespace fwup::bench {
namespace {

// The time to the idle look in seconds, or a negative number when the probe failed.
double StartOnce(const std::string& program, const std::filesystem::path& runtimeDir) {
    std::filesystem::remove_all(runtimeDir);
    std::filesystem::create_directory(runtimeDir);
    std::filesystem::permissions(runtimeDir, std::filesystem::perms::owner_all);

    std::vector<std::string> settings;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string setting = *entry;
        if (setting.rfind("QT_QPA_PLATFORM=", 0) != 0 &&
            setting.rfind("VIRUZU_FWUP_EMULATE=", 0) != 0 &&
            setting.rfind("XDG_RUNTIME_DIR=", 0) != 0) {
            settings.push_back(setting);
        }
    }
    settings.push_back("QT_QPA_PLATFORM=offscreen");
    settings.push_back("VIRUZU_FWUP_EMULATE=" FWUP_SOURCE_DIR "/scenarios/one-printer-ready.json");
    settings.push_back("XDG_RUNTIME_DIR=" + runtimeDir.string());
    std::vector<char*> environment;
    for (std::string& setting : settings) {
        environment.push_back(setting.data());
    }
    environment.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string programCopy = program;
    char* arguments[] = {programCopy.data(), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return -1;
    }
    std::string output;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0 && output.size() < 4096) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);

    long long idleNs = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(output.c_str(), "idle-look %lld", &idleNs) != 1) {
        return -1;
    }
    const auto idle = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(idleNs));
    return std::chrono::duration<double>(idle - start).count();
}

void FullAgainstSmallPackages(benchmark::State& state, const std::string& full,
                              const std::string& small) {
    const std::filesystem::path runtimeDir =
        std::filesystem::temp_directory_path() / ("fwup-startup-bench-" + std::to_string(getpid()));
    // The first start reads the executable into the page cache; users start from there too
    // only the second time, so it is not counted.
    for (const std::string& program : {full, small}) {
        if (StartOnce(program, runtimeDir) < 0) {
            state.SkipWithError(("could not start " + program).c_str());
            std::filesystem::remove_all(runtimeDir);
            return;
        }
    }
    const auto start = [&](const std::string& program) {
        const double seconds = StartOnce(program, runtimeDir);
        if (seconds < 0) {
            std::fprintf(stderr, "bench: could not start %s\n", program.c_str());
        }
        return seconds;
    };
    RunPairs(
        state, "full", [&] { return start(full); }, "1MiB", [&] { return start(small); },
        [](double fullSeconds, double smallSeconds) { return fullSeconds / smallSeconds; });
    std::filesystem::remove_all(runtimeDir);
}

}  // namespace

void RegisterStartupBenchmarks(const std::filesystem::path& programDir, int repetitions) {
    const std::string full = (programDir / "fwup_startup_probe_full").string();
    const std::string small = (programDir / "fwup_startup_probe_1mib").string();
    benchmark::RegisterBenchmark(
        kStartupBenchmark,
        [full, small](benchmark::State& state) { FullAgainstSmallPackages(state, full, small); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10)
        ->Repetitions(repetitions);
}

}  // namespace fwup::bench
