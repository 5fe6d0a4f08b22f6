#pragma once
#include <httplib.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace testsupport {

// A page server on 127.0.0.1 with an ephemeral port, running while the
// object lives; it counts the requests per path.
class PageServer {
public:
    // `routes` registers the pages before the server starts.
    explicit PageServer(const std::function<void(httplib::Server&)>& routes)
        : port_(server_.bind_to_any_port("127.0.0.1")) {
        routes(server_);
        server_.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
            std::lock_guard lock(mutex_);
            ++hits_[request.path];
            return httplib::Server::HandlerResponse::Unhandled;
        });
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::yield();
    }
    ~PageServer() {
        server_.stop();
        thread_.join();
    }
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::string HostPort() const { return "127.0.0.1:" + std::to_string(port_); }
    int Hits(const std::string& path) {
        std::lock_guard lock(mutex_);
        return hits_[path];
    }

private:
    httplib::Server server_;
    int port_;
    std::thread thread_;
    std::mutex mutex_;
    std::map<std::string, int> hits_;
};

}  // namespace testsupport
