#include "http/service_server.h"

#include <httplib.h>

#include <stdexcept>

#include "http/request_handler.h"
#include "http/request_target.h"
#include "platform/listening_socket.h"

namespace parlavo::server {

// cpp-httplib keeps its listening socket in a protected member and serves
// whatever socket it holds; that is how a socket passed by systemd is used.
class ServiceServer::Server : public httplib::Server {
 public:
  void Adopt(int socket) { svr_sock_ = socket; }
  int Socket() const { return svr_sock_; }
};

namespace {

constexpr const char* kContentType = "text/javascript; charset=utf-8";

void Apply(const ServiceReply& reply, httplib::Response& response) {
  response.status = reply.status;
  response.set_content(reply.body, kContentType);
  if (reply.allowGetOnly) response.set_header("Allow", "GET, HEAD");
}

}  // namespace

ServiceServer::ServiceServer(TranslationEngine& engine) : m_engine(engine), m_server(std::make_unique<Server>()) {
  IgnoreBrokenPipes();
}

ServiceServer::~ServiceServer() = default;

void ServiceServer::Configure() {
  m_handler = std::make_unique<RequestHandler>(m_engine, m_listenHost);
  m_server->new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
  m_server->set_read_timeout(kReadTimeoutSeconds, 0);
  m_server->set_write_timeout(kReadTimeoutSeconds, 0);
  m_server->set_keep_alive_timeout(kKeepAliveTimeoutSeconds);
  m_server->set_keep_alive_max_count(kKeepAliveMaxRequests);
  // Replies go out in more than one write; without this, delayed ACKs hold
  // each reply on a kept-alive connection back by some 40 ms.
  m_server->set_tcp_nodelay(true);
  m_server->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
    ServiceRequest serviceRequest{request.method, request.target, {}};
    const auto [first, last] = request.headers.equal_range("Host");
    for (auto header = first; header != last; ++header) serviceRequest.hostHeaders.push_back(header->second);
    Apply(m_handler->Handle(serviceRequest), response);
    return httplib::Server::HandlerResponse::Handled;
  });
  const httplib::Server::HandlerWithResponse libraryErrors = [](const httplib::Request&,
                                                                httplib::Response& response) {
    if (!response.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    Apply(LibraryErrorReply(response.status), response);
    return httplib::Server::HandlerResponse::Handled;
  };
  m_server->set_error_handler(libraryErrors);
}

int ServiceServer::Bind(const std::string& host, int port) {
  m_listenHost = HostName(host.starts_with('[') ? host : "[" + host + "]");
  Configure();
  const std::string address = host.starts_with('[') ? m_listenHost : host;
  int bound = port;
  if (port == 0) {
    bound = m_server->bind_to_any_port(address);
  } else if (!m_server->bind_to_port(address, port)) {
    bound = -1;
  }
  if (bound <= 0) {
    throw std::runtime_error("无法在 " + host + ":" + std::to_string(port) + " 上监听（地址无效，或端口已被占用）");
  }
  WidenListenQueue(m_server->Socket());
  return bound;
}

void ServiceServer::Adopt(int socket) {
  m_listenHost = BoundAddress(socket);
  Configure();
  m_server->Adopt(socket);
}

bool ServiceServer::Run() { return m_server->listen_after_bind(); }

void ServiceServer::Stop() { m_server->stop(); }

bool ServiceServer::IsRunning() const { return m_server->is_running(); }

}  // namespace parlavo::server
