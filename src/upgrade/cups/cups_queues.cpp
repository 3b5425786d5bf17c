#include "upgrade/cups/cups_queues.h"

#include <cups/cups.h>

#include <iterator>
#include <memory>
#include <string>

namespace fwup {
namespace cups {
namespace {

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};
struct IppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using UniqueHttp = std::unique_ptr<http_t, HttpClose>;
using UniqueIpp = std::unique_ptr<ipp_t, IppDelete>;

// The upgrade worker has no terminal to ask on; libcups's default would read one.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*) {
    return nullptr;
}

// Called when a wait for the server passes the connection's time-out: give up instead of
// waiting again, which is libcups's default for a blocking connection.
int GiveUp(http_t*, void*) {
    return 0;
}

struct NamedQueue {
    std::string name;
    std::string deviceUri;
};

// CUPS-Get-Printers for the name and device URI of every queue, in the server's (name) order.
// Raw IPP rather than cupsGetDests2: no lpoptions instances and no discovered network printers,
// only the queues the server really has.
std::optional<std::vector<NamedQueue>> ServerQueues(http_t* http) {
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    static const char* const kAttributes[] = {"printer-name", "device-uri"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    const UniqueIpp response(cupsDoRequest(http, request, "/"));  // takes the request
    if (!response) {
        return std::nullopt;
    }
    const ipp_status_t status = ippGetStatusCode(response.get());
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        return std::vector<NamedQueue>{};  // the server's answer when it has no queues
    }
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE) {
        return std::nullopt;
    }
    std::vector<NamedQueue> queues;
    NamedQueue current;
    const auto flush = [&] {
        if (!current.name.empty()) {
            queues.push_back(std::move(current));
        }
        current = {};
    };
    for (ipp_attribute_t* attribute = ippFirstAttribute(response.get()); attribute != nullptr;
         attribute = ippNextAttribute(response.get())) {
        const char* name = ippGetName(attribute);
        if (name == nullptr) {
            flush();  // a separator: the next printer's attributes follow
            continue;
        }
        if (ippGetGroupTag(attribute) != IPP_TAG_PRINTER) {
            continue;
        }
        const char* value = ippGetString(attribute, 0, nullptr);
        if (value == nullptr) {
            continue;
        }
        const std::string_view attributeName(name);
        if (attributeName == "printer-name") {
            current.name = value;
        } else if (attributeName == "device-uri") {
            current.deviceUri = value;
        }
    }
    flush();
    return queues;
}

}  // namespace

std::optional<std::vector<PrintQueue>> CupsQueueSource::ListQueues() {
    // Per thread in libcups, so this affects only the calling (worker) thread.
    cupsSetPasswordCB2(NoPassword, nullptr);
    const UniqueHttp http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC,
                                       cupsEncryption(), 1, kServerTimeoutMs, nullptr));
    if (!http) {
        return std::nullopt;
    }
    httpSetTimeout(http.get(), kServerTimeoutMs / 1000.0, GiveUp, nullptr);

    const std::optional<std::vector<NamedQueue>> named = ServerQueues(http.get());
    if (!named) {
        return std::nullopt;
    }
    std::vector<PrintQueue> queues;
    queues.reserve(named->size());
    for (const NamedQueue& namedQueue : *named) {
        PrintQueue queue;
        queue.portName = portOfUri_(namedQueue.deviceUri);
        if (!queue.portName.empty()) {
            cups_job_t* jobs = nullptr;
            const int count =
                cupsGetJobs2(http.get(), &jobs, namedQueue.name.c_str(), 0, CUPS_WHICHJOBS_ACTIVE);
            cupsFreeJobs(count < 0 ? 0 : count, jobs);
            if (count < 0) {
                return std::nullopt;
            }
            queue.jobs = static_cast<std::uint32_t>(count);
        }
        queues.push_back(std::move(queue));
    }
    return queues;
}

}  // namespace cups

std::unique_ptr<PrintQueueSource> MakeHostPrintQueueSource() {
    return std::make_unique<cups::CupsQueueSource>();
}

}  // namespace fwup
