#include "LocalHttpServer.h"

#include <winsock2.h>
#include <windows.h>

namespace hctest {

namespace {
std::string StatusText(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

bool SendAll(SOCKET s, const char* data, size_t size) {
    while (size > 0) {
        const int sent = send(s, data, static_cast<int>(size), 0);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}
}  // namespace

LocalHttpServer::LocalHttpServer() {
    WSADATA data{};
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof(address);
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(s, 16) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(s);
        return;
    }
    listener_ = s;
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LocalHttpServer::~LocalHttpServer() {
    stopping_ = true;
    Release();
    if (IsListening()) closesocket(static_cast<SOCKET>(listener_));
    if (acceptor_.joinable()) acceptor_.join();
    for (std::thread& connection : connections_)
        if (connection.joinable()) connection.join();
    WSACleanup();
}

std::wstring LocalHttpServer::Origin() const { return L"http://127.0.0.1:" + std::to_wstring(port_); }

void LocalHttpServer::Serve(const std::string& path, Response response) {
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(response);
}

void LocalHttpServer::Serve(const std::string& path, const std::string& body, int status) {
    Response response;
    response.status = status;
    response.body = body;
    Serve(path, std::move(response));
}

int LocalHttpServer::Requests(const std::string& path) {
    std::lock_guard lock(mutex_);
    return requests_[path];
}

int LocalHttpServer::RequestCount() {
    std::lock_guard lock(mutex_);
    return requestCount_;
}

void LocalHttpServer::Release() {
    {
        std::lock_guard lock(mutex_);
        releasedFlag_ = true;
    }
    released_.notify_all();
}

unsigned short LocalHttpServer::ClosedPort() {
    // Bound and released again: nothing listens there afterwards.
    LocalHttpServer probe;
    return probe.Port();
}

void LocalHttpServer::AcceptLoop() {
    while (!stopping_) {
        const SOCKET connection = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
        if (connection == INVALID_SOCKET) return;
        std::lock_guard lock(mutex_);
        connections_.emplace_back([this, connection] { Handle(connection); });
    }
}

void LocalHttpServer::Handle(unsigned long long connectionValue) {
    const auto connection = static_cast<SOCKET>(connectionValue);
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int got = recv(connection, buffer, sizeof(buffer), 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<size_t>(got));
    }
    const size_t pathStart = request.find(' ');
    const size_t pathEnd = pathStart == std::string::npos ? pathStart : request.find(' ', pathStart + 1);
    const std::string path =
        pathEnd == std::string::npos ? std::string() : request.substr(pathStart + 1, pathEnd - pathStart - 1);

    Response response;
    {
        std::unique_lock lock(mutex_);
        ++requests_[path];
        ++requestCount_;
        const auto route = routes_.find(path);
        if (route != routes_.end()) {
            response = route->second;
        } else {
            response.status = 404;
            response.body = "<html><body>Not Found</body></html>";
            response.contentType = "text/html";
        }
        if (response.held) released_.wait(lock, [this] { return releasedFlag_; });
    }
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + StatusText(response.status) +
                       "\r\nContent-Type: " + response.contentType + "\r\n";
    if (!response.omitLength) head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    size_t toSend = response.body.size();
    if (response.cutAfter >= 0 && static_cast<size_t>(response.cutAfter) < toSend)
        toSend = static_cast<size_t>(response.cutAfter);
    bool ok = SendAll(connection, head.data(), head.size());
    const size_t chunk = response.chunkSize ? response.chunkSize : (toSend ? toSend : 1);
    for (size_t at = 0; ok && at < toSend && !stopping_; at += chunk) {
        ok = SendAll(connection, response.body.data() + at, std::min(chunk, toSend - at));
        if (ok && response.pauseMs) Sleep(response.pauseMs);  // the slow server's own pace, not a test wait
    }
    shutdown(connection, SD_SEND);
    closesocket(connection);
}

}  // namespace hctest
