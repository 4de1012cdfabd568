#pragma once
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hctest {

// The one HTTP server of the tests, on 127.0.0.1 at a free port: answers GET requests for the paths it was given,
// and 404 for the rest. Each connection has its own thread and is closed after its answer.
class LocalHttpServer {
public:
    struct Response {
        int status = 200;
        std::string body;
        std::string contentType = "application/octet-stream";
        // Sent in pieces of this size with a pause after each; 0 sends the body at once.
        size_t chunkSize = 0;
        unsigned pauseMs = 0;
        // Announces the whole body but sends only this many bytes, then closes; -1 sends all.
        long long cutAfter = -1;
        bool omitLength = false;  // no Content-Length: the body ends with the connection
        bool held = false;        // nothing is sent until Release() (or the server stops)
    };

    LocalHttpServer();  // listens at once
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool IsListening() const { return listener_ != ~0ull; }
    unsigned short Port() const { return port_; }
    // "http://127.0.0.1:port"
    std::wstring Origin() const;
    // "http://127.0.0.1:port<path>"
    std::wstring Url(const std::string& path) const { return Origin() + std::wstring(path.begin(), path.end()); }
    void Serve(const std::string& path, Response response);
    void Serve(const std::string& path, const std::string& body, int status = 200);
    // How many requests asked for the path; how many arrived in all.
    int Requests(const std::string& path);
    int RequestCount();
    // Lets the held answers go.
    void Release();

    // A local port nobody listens on.
    static unsigned short ClosedPort();

private:
    void AcceptLoop();
    void Handle(unsigned long long connection);

    unsigned long long listener_ = ~0ull;
    unsigned short port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::condition_variable released_;
    bool releasedFlag_ = false;
    std::map<std::string, Response> routes_;
    std::map<std::string, int> requests_;
    int requestCount_ = 0;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

}  // namespace hctest
