#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fwup {

// What the simulated printer answers to the vendor request: a record it builds itself from the
// security byte (with a correct check value unless a fault says otherwise), or bytes given as-is.
struct SecuritySource {
    bool raw = false;
    // Built record: the security byte (bit 0x20 asks for encrypted firmware), how many bytes the
    // printer returns, and whether the check value's two bytes are made equal so the reader must
    // fall back to its fixed descrambling mask.
    std::uint8_t security = 0;
    std::size_t length = 172;
    bool crcBytesEqual = false;
    // Raw record: returned exactly as given.
    std::vector<std::uint8_t> rawBytes;
};

// Faults injected into the channel. Absent optionals mean "behave like a healthy printer".
struct SimFaults {
    // Write direction.
    std::optional<std::size_t> maxWriteBytes;      // each write accepts at most this many bytes
    std::optional<std::uint64_t> zeroWriteAtByte;  // the first write covering this offset takes 0
    std::optional<std::uint64_t> unplugAtByte;     // the printer is pulled at this offset
    std::uint32_t failWrites = 0;                  // the first writes fail outright
    std::optional<std::uint64_t> linkBytesPerSecond;  // each write costs clock time
    // Read direction.
    std::uint32_t failReads = 0;          // the first reads fail outright
    std::uint32_t silentReadSeconds = 0;  // a reply is held back this long after its first read
    std::optional<std::size_t> replyPieceBytes;  // a read delivers at most this much of a reply
    std::optional<std::uint16_t> replyPrefix;    // replaces the prefix of every reply header
    std::optional<std::uint16_t> replyCmdId;     // replaces the echoed cmdID
    std::uint16_t replyCmdStatus = 0;            // the cmdStatus word of every reply
    std::optional<std::uint16_t> versionLength;  // N of the version reply; the data is cut/padded
    bool versionDataWithheld = false;            // the version reply is its header alone
    // Vendor request.
    bool badCrc = false;                       // the built record's check value is off by one
    std::optional<std::uint32_t> vendorError;  // the first vendor request fails with this error
    bool vendorReturnsNothing = false;         // every vendor request succeeds with 0 bytes
};

// What the printer does once it has taken a whole firmware job, as a real one flashing it does:
// it leaves the bus for a while and comes back, on the new firmware or not.
struct AfterFirmware {
    std::uint32_t awaySeconds = 0;
    std::optional<std::string> version;  // the version it answers with afterwards; none: unchanged
};

// When a printer joins or leaves the interface list, counted over the whole scenario: the channels
// the host has opened on any of its printers, or the bytes they have accepted together, or the
// clock time since the interface source was made (so a window left idle sees printers come and
// go). None set: it never does.
struct HotplugTrigger {
    std::optional<std::uint32_t> afterOpens;
    std::optional<std::uint64_t> atByte;
    std::optional<std::uint32_t> afterSeconds;

    bool set() const {
        return afterOpens.has_value() || atByte.has_value() || afterSeconds.has_value();
    }
    bool Due(std::uint64_t opens, std::uint64_t bytes, std::int64_t elapsedMs) const {
        return (afterOpens && opens >= *afterOpens) || (atByte && bytes >= *atByte) ||
               (afterSeconds && elapsedMs >= std::int64_t{*afterSeconds} * 1000);
    }
};

struct PrinterScenario {
    std::wstring instanceId;
    std::wstring interfacePath;
    std::optional<std::uint32_t> portNumber;  // none: the interface has no port number
    std::uint8_t status = 0;
    std::string version = "V2.10.8";  // reply data of the version query, byte for byte
    SecuritySource security;
    // The driver's read time-out: what a read that finds nothing to deliver costs in clock time.
    std::uint32_t readTimeoutMs = 1000;
    // Opens beyond this many are refused, as when another program holds the interface.
    std::optional<std::uint32_t> openLimit;
    HotplugTrigger appears;  // set: not connected at first, plugged in when due
    HotplugTrigger leaves;   // set: pulled when due
    SimFaults faults;
    std::optional<AfterFirmware> afterFirmware;  // none: it stays, on the same version
};

// A print queue of the simulated machine's spooler.
struct QueueScenario {
    std::wstring portName;
    std::uint32_t jobs = 0;
};

struct Scenario {
    std::vector<PrinterScenario> printers;
    // The spooler's queues, when the scenario names them; otherwise the host's spooler is asked.
    std::optional<std::vector<QueueScenario>> printQueues;
    // Port numbers as Linux gives them: each present interface's 1-based position in the list,
    // so that a printer plugged in or pulled ahead of another renumbers it. Otherwise each
    // printer keeps its own portNumber, as on Windows.
    bool portNumbersByPosition = false;
    // The platform's device listing fails outright (as when libusb_get_device_list fails).
    bool listFails = false;
    // Where the printers remember their firmware version between program runs, so that a printer
    // flashed by one run answers the next with the new version. None: each run starts afresh.
    std::optional<std::filesystem::path> stateFile;
};

}  // namespace fwup
