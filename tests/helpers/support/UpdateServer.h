#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hctest {

// A small HTTP server on 127.0.0.1 that a test starts: it serves the paths it was given and 404 for the rest.
class UpdateServer {
public:
    struct Response {
        int status = 200;
        std::string body;
        // Sent in pieces of this size with a pause after each; 0 sends the body at once.
        size_t chunkSize = 0;
        unsigned pauseMs = 0;
        // Announces the whole body but sends only this many bytes, then closes; -1 sends all.
        long long cutAfter = -1;
    };

    UpdateServer();  // listens on a free port at once
    ~UpdateServer();
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    bool IsListening() const { return listener_ != ~0ull; }
    unsigned short Port() const { return port_; }
    // "http://127.0.0.1:port"
    std::wstring Origin() const;
    void Serve(const std::string& path, Response response);
    void Serve(const std::string& path, const std::string& body, int status = 200);
    // How many requests asked for the path.
    int Requests(const std::string& path);

    // A local port nobody listens on.
    static unsigned short ClosedPort();

private:
    void AcceptLoop();
    void Handle(unsigned long long connection);

    unsigned long long listener_ = ~0ull;
    unsigned short port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::map<std::string, Response> routes_;
    std::map<std::string, int> requests_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

// Points the update check at a server for the lifetime of the object (HUSHCLOAK_UPDATE_SERVER).
class ScopedUpdateServerVariable {
public:
    explicit ScopedUpdateServerVariable(const std::wstring& origin);
    ~ScopedUpdateServerVariable();
    ScopedUpdateServerVariable(const ScopedUpdateServerVariable&) = delete;
    ScopedUpdateServerVariable& operator=(const ScopedUpdateServerVariable&) = delete;
};

}  // namespace hctest
