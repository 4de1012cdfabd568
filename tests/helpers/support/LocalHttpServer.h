#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace hctest {

// A tiny HTTP server on 127.0.0.1 at a free port: answers GET requests for the given paths with the given
// status and body, and 404 for every other path. One connection at a time, closed after each answer.
class LocalHttpServer {
public:
    struct Response {
        int status = 200;
        std::string body;
        std::string contentType = "text/plain";
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool IsListening() const { return port_ != 0; }
    unsigned short Port() const { return port_; }
    // "http://127.0.0.1:<port><path>"
    std::wstring Url(const std::string& path) const;
    void Serve(const std::string& path, Response response);
    int RequestCount() const;

private:
    void AcceptLoop();
    void Answer(std::uintptr_t client);

    std::uintptr_t listener_;
    unsigned short port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, Response> responses_;
    int requests_ = 0;
    std::thread thread_;
};

}  // namespace hctest
