#include "LocalHttpServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace hctest {

namespace {
const char* Reason(int status) {
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
}  // namespace

LocalHttpServer::LocalHttpServer() : listener_(INVALID_SOCKET) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof(address);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(listener, 8) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return;
    }
    listener_ = listener;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { AcceptLoop(); });
}

LocalHttpServer::~LocalHttpServer() {
    if (listener_ != INVALID_SOCKET) closesocket(listener_);  // ends the accept loop
    if (thread_.joinable()) thread_.join();
    WSACleanup();
}

std::wstring LocalHttpServer::Url(const std::string& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(port_) + std::wstring(path.begin(), path.end());
}

void LocalHttpServer::Serve(const std::string& path, Response response) {
    std::lock_guard lock(mutex_);
    responses_[path] = std::move(response);
}

int LocalHttpServer::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void LocalHttpServer::AcceptLoop() {
    for (;;) {
        const SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) return;
        Answer(client);
        closesocket(client);
    }
}

void LocalHttpServer::Answer(std::uintptr_t client) {
    std::string request;
    char chunk[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
        const int got = recv(client, chunk, sizeof(chunk), 0);
        if (got <= 0) return;
        request.append(chunk, static_cast<size_t>(got));
    }
    // "GET /path HTTP/1.1"
    const size_t start = request.find(' ');
    const size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
    const std::string path = end == std::string::npos ? std::string() : request.substr(start + 1, end - start - 1);
    Response response{404, "not here", "text/plain"};
    {
        std::lock_guard lock(mutex_);
        ++requests_;
        if (auto found = responses_.find(path); found != responses_.end()) response = found->second;
    }
    const std::string text = "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) +
                             "\r\nContent-Type: " + response.contentType +
                             "\r\nContent-Length: " + std::to_string(response.body.size()) +
                             "\r\nCache-Control: max-age=3600\r\nConnection: close\r\n\r\n" + response.body;
    size_t sent = 0;
    while (sent < text.size()) {
        const int n = send(client, text.data() + sent, static_cast<int>(text.size() - sent), 0);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
    shutdown(client, SD_SEND);
}

}  // namespace hctest
