#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/common/program_services.h"
#include "base/fnv1a.h"
#include "device/interface_source.h"
#include "emulation/scenario_parser.h"
#include "emulation/sim_interface_source.h"
#include "protocol/firmware_resource.h"
#include "protocol/package_digest.h"

namespace fwup::testing {

// Resources a test hands out instead of the executable's, installed while the object lives.
class FakeResourceSource final : public ResourceSource {
  public:
    FakeResourceSource() = default;
    FakeResourceSource(const FakeResourceSource&) = delete;
    FakeResourceSource& operator=(const FakeResourceSource&) = delete;

    std::optional<std::uint32_t> Size(int id) override {
        const auto found = resources.find(id);
        if (found == resources.end()) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(found->second.size());
    }
    std::optional<std::span<const std::uint8_t>> Bytes(int id) override {
        const auto found = resources.find(id);
        if (found == resources.end() || unreadable) {
            return std::nullopt;
        }
        return std::span<const std::uint8_t>(found->second);
    }
    // As if the build had recorded the digest of the bytes held, unless `digests` says otherwise.
    std::optional<PackageDigest> RecordedDigest(int id) override {
        if (const auto given = digests.find(id); given != digests.end()) {
            return given->second;
        }
        const auto found = resources.find(id);
        if (found == resources.end()) {
            return std::nullopt;
        }
        return DigestOf(found->second);
    }
    void Release(std::span<const std::uint8_t> bytes) override {
        if (onRelease) {
            onRelease(bytes);
        }
    }

    std::map<int, std::vector<std::uint8_t>> resources;
    std::map<int, std::optional<PackageDigest>> digests;
    bool unreadable = false;  // found and sized, but the bytes cannot be reached
    std::function<void(std::span<const std::uint8_t>)> onRelease;

  private:
    const InstalledServices installed_{{.resources = this}};
};

// The package the executable embeds under `id`; fails the test when it is not there.
inline std::span<const std::uint8_t> EmbeddedPackage(int id) {
    std::span<const std::uint8_t> bytes;
    std::uint32_t size = 0;
    EXPECT_EQ(LoadBinaryResource(&bytes, &size, id), 1) << "resource " << id;
    return bytes;
}

// One simulated printer on USB001 with the given "faults" object, installed as the active
// interface source while the object lives.
class SimulatedPrinter {
  public:
    explicit SimulatedPrinter(const std::string& faultsJson = "{}") {
        const std::string json =
            R"({"printers": [{"instanceId": "USB\\VID_5A7C&PID_B101\\SER0001", "portNumber": 1,)"
            R"( "faults": )" +
            faultsJson + "}]}";
        Scenario scenario;
        std::string error;
        EXPECT_TRUE(ParseScenario(json, scenario, error)) << error;
        source_ = std::make_unique<SimInterfaceSource>(std::move(scenario));
        installed_.emplace(ProgramServices{.interfaces = source_.get()});
    }
    SimulatedPrinter(const SimulatedPrinter&) = delete;
    SimulatedPrinter& operator=(const SimulatedPrinter&) = delete;

    SimPrinter& printer() { return *source_->printer(0); }

    // The firmware jobs the printer took whole.
    std::vector<ReceivedJob> FirmwareJobs() {
        std::vector<ReceivedJob> jobs;
        for (const ReceivedJob& job : printer().Jobs()) {
            if (job.kind == JobKind::kFirmware) {
                jobs.push_back(job);
            }
        }
        return jobs;
    }

    int Count(SimEventKind kind) {
        int count = 0;
        for (const SimEvent& event : printer().Events()) {
            count += event.kind == kind ? 1 : 0;
        }
        return count;
    }

  private:
    std::unique_ptr<SimInterfaceSource> source_;
    std::optional<InstalledServices> installed_;
};

// What the printer must have received to hold `package` whole, in order.
inline ReceivedJob FirmwareJobOf(std::span<const std::uint8_t> package) {
    ReceivedJob job;
    job.kind = JobKind::kFirmware;
    job.cmdID = 0x000F;
    job.byteCount = package.size();
    job.digest = Fnv1a64Digest(package);
    return job;
}

}  // namespace fwup::testing
