#include "platform/win32/http.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "platform/win32/system_library.h"

namespace inkmoss {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kAcceptAnything[] = "Accept: */*";
constexpr std::size_t kChunk = 4096;

// WinInet and the libraries it binds are loaded by the first use, not with
// the program.
struct WinInet {
    SystemLibrary library{"wininet.dll"};
    decltype(&InternetOpenA) open = library.function<decltype(InternetOpenA)>("InternetOpenA");
    decltype(&InternetConnectA) connect = library.function<decltype(InternetConnectA)>("InternetConnectA");
    decltype(&InternetSetOptionA) setOption = library.function<decltype(InternetSetOptionA)>("InternetSetOptionA");
    decltype(&HttpOpenRequestA) openRequest = library.function<decltype(HttpOpenRequestA)>("HttpOpenRequestA");
    decltype(&HttpSendRequestA) sendRequest = library.function<decltype(HttpSendRequestA)>("HttpSendRequestA");
    decltype(&InternetQueryDataAvailable) queryDataAvailable =
        library.function<decltype(InternetQueryDataAvailable)>("InternetQueryDataAvailable");
    decltype(&InternetReadFile) readFile = library.function<decltype(InternetReadFile)>("InternetReadFile");
    decltype(&InternetCloseHandle) closeHandle = library.function<decltype(InternetCloseHandle)>("InternetCloseHandle");

    bool complete() const {
        return open && connect && setOption && openRequest && sendRequest && queryDataAvailable && readFile &&
               closeHandle;
    }
};

const WinInet& winInet() {
    static const WinInet functions;
    return functions;
}

struct CloseInternetHandle {
    void operator()(HINTERNET handle) const { winInet().closeHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, CloseInternetHandle>;

// Opened once, by whichever thread gets there first, and kept until the
// program ends; null when WinInet cannot be had.
HINTERNET session() {
    static const HINTERNET handle =
        winInet().complete() ? winInet().open(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0) : nullptr;
    return handle;
}

DWORD millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<DWORD>(std::max<long long>(left, 1));
}

// Wine ignores the connect time-out and honours the others only on the
// connect and request handles. They let a stalled worker end near the
// deadline; the caller's wait is what actually bounds a lookup.
void limitWaits(HINTERNET handle, Clock::time_point deadline) {
    DWORD ms = millisecondsUntil(deadline);
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        winInet().setOption(handle, option, &ms, sizeof ms);
    }
}

// Each read asks only for what has already arrived: Wine's InternetReadFile
// otherwise waits until the whole buffer is filled, which a trickling server
// can stretch far past the deadline.
std::string readBody(HINTERNET request, Clock::time_point deadline) {
    std::string body;
    char chunk[kChunk];
    DWORD available = 0;
    DWORD got = 0;
    while (body.size() < Backend::kMaxReply && Clock::now() < deadline &&
           winInet().queryDataAvailable(request, &available, 0, 0) && available > 0) {
        const std::size_t wanted = std::min({std::size_t{available}, kChunk, Backend::kMaxReply - body.size()});
        if (!winInet().readFile(request, chunk, static_cast<DWORD>(wanted), &got) || got == 0) {
            break;
        }
        body.append(chunk, got);
    }
    return body;
}

std::string fetch(const Backend::HttpRequest& request, Clock::time_point deadline) {
    const HINTERNET opened = session();
    if (!opened) {
        return {};
    }
    const WinInet& api = winInet();
    // Declared in this order so the request handle is closed before its connection.
    const InternetHandle connection(api.connect(opened, request.host.c_str(), static_cast<INTERNET_PORT>(request.port),
                                                nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        return {};
    }
    limitWaits(connection.get(), deadline);
    const InternetHandle get(api.openRequest(connection.get(), "GET", request.target.c_str(), "HTTP/1.0", nullptr,
                                             nullptr, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (!get) {
        return {};
    }
    limitWaits(get.get(), deadline);
    if (!api.sendRequest(get.get(), kAcceptAnything, static_cast<DWORD>(-1), nullptr, 0)) {
        return {};
    }
    return readBody(get.get(), deadline);
}

// Shared by the caller and its workers, so a worker that is still running
// when the caller stops waiting has somewhere to drop its late answer.
struct Batch {
    std::mutex mutex;
    std::condition_variable settled;
    std::vector<std::optional<std::string>> results;  // no value while its worker runs

    void settle(std::size_t index, std::string body) {
        const std::lock_guard lock(mutex);
        results[index] = std::move(body);
        settled.notify_all();
    }
};

}  // namespace

std::vector<std::string> winInetGet(const std::vector<Backend::HttpRequest>& requests, int deadlineMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(deadlineMs);
    const auto batch = std::make_shared<Batch>();
    batch->results.resize(requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        try {
            std::thread([batch, i, request = requests[i], deadline] {
                batch->settle(i, fetch(request, deadline));
            }).detach();
        } catch (const std::system_error&) {
            batch->settle(i, {});
        }
    }

    std::unique_lock lock(batch->mutex);
    batch->settled.wait_until(lock, deadline, [&] {
        return std::all_of(batch->results.begin(), batch->results.end(), [](const auto& r) { return r.has_value(); });
    });
    std::vector<std::string> bodies;
    bodies.reserve(requests.size());
    for (auto& result : batch->results) {
        bodies.push_back(result ? std::move(*result) : std::string());
    }
    return bodies;
}

}  // namespace inkmoss
