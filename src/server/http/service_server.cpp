#include "http/service_server.h"

#include <microhttpd.h>
#include <strings.h>

#include <stdexcept>

#include "http/connection_deadlines.h"
#include "http/request_handler.h"
#include "http/request_target.h"
#include "platform/listening_socket.h"

namespace parlavo::server {

namespace {

constexpr const char* kContentType = "text/javascript; charset=utf-8";

// The library reads a long request line into a buffer it grows by this much
// and scans it again after each read; small steps make a 3 MiB line slow.
constexpr std::size_t kReadBufferGrowth = 256 * 1024;

bool Named(const char* name, const char* wanted) { return strcasecmp(name, wanted) == 0; }

// The headers RequestHandler needs, gathered from libmicrohttpd's list.
MHD_Result CollectHeader(void* into, MHD_ValueKind, const char* name, const char* value) {
  auto& request = *static_cast<ServiceRequest*>(into);
  const std::string text = value ? value : "";
  if (Named(name, MHD_HTTP_HEADER_HOST)) {
    request.hostHeaders.push_back(text);
  } else if (Named(name, MHD_HTTP_HEADER_ORIGIN)) {
    request.origins.push_back(text);
  } else if (Named(name, "Sec-Fetch-Site")) {
    request.fetchSites.push_back(text);
  } else if (Named(name, MHD_HTTP_HEADER_TRANSFER_ENCODING) ||
             (Named(name, MHD_HTTP_HEADER_CONTENT_LENGTH) && text != "0")) {
    request.hasBody = true;
  }
  return MHD_YES;
}

MHD_Result Send(MHD_Connection* connection, const ServiceReply& reply) {
  MHD_Response* response = MHD_create_response_from_buffer(
      reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
  if (!response) return MHD_NO;
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, kContentType);
  // Browsers must not read the JSON as anything else.
  MHD_add_response_header(response, MHD_HTTP_HEADER_X_CONTENT_TYPE_OPTIONS, "nosniff");
  if (reply.allowGetOnly) MHD_add_response_header(response, MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
  if (reply.closeConnection) MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
  const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
  MHD_destroy_response(response);
  return queued;
}

}  // namespace

// libmicrohttpd's callbacks; the closure is the server.
struct ServiceServer::Callbacks {
  // The request as its target came on the request line, before the library
  // decodes it; the request's own state until it completes.
  static void* Begin(void*, const char* target, MHD_Connection*) { return new ServiceRequest{{}, target, {}}; }

  // Called once the headers are in, then once the body (none) is. A reply
  // queued at the first call ends the connection after it, without reading
  // further: the way to refuse a body. Other replies wait for the second call,
  // so that the connection can stay open for the next request.
  static MHD_Result Answer(void* self, MHD_Connection* connection, const char*, const char* method, const char*,
                           const char*, std::size_t* uploadSize, void** state) {
    if (*uploadSize != 0) return MHD_NO;
    auto& server = *static_cast<ServiceServer*>(self);
    auto& request = *static_cast<ServiceRequest*>(*state);
    if (request.method.empty()) {
      request.method = method;
      MHD_get_connection_values(connection, MHD_HEADER_KIND, CollectHeader, &request);
      if (!request.hasBody) return MHD_YES;
    }
    server.m_deadlines->Pause(connection);
    const MHD_Result queued = Send(connection, server.m_handler->Handle(request));
    server.m_deadlines->Restart(connection);
    return queued;
  }

  static void Completed(void* self, MHD_Connection* connection, void** state, MHD_RequestTerminationCode) {
    delete static_cast<ServiceRequest*>(*state);
    *state = nullptr;
    static_cast<ServiceServer*>(self)->m_deadlines->Restart(connection);
  }

  static void Connection(void* self, MHD_Connection* connection, void**, MHD_ConnectionNotificationCode code) {
    ConnectionDeadlines& deadlines = *static_cast<ServiceServer*>(self)->m_deadlines;
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      deadlines.Open(connection, MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd);
    } else {
      deadlines.Close(connection);
    }
  }
};

ServiceServer::ServiceServer(TranslationEngine& engine, ServerLimits limits)
    : m_engine(engine), m_limits(limits) {
  IgnoreBrokenPipes();
}

ServiceServer::~ServiceServer() { Stop(); }

int ServiceServer::Serve(const std::string& host, int port) {
  const int socket = ListenOn(host, port);
  Adopt(socket);
  return BoundPort(socket);
}

void ServiceServer::Adopt(int socket) {
  m_listenHost = BoundAddress(socket);
  m_reachableFromNetwork = !IsLoopbackOnly(socket);
  m_handler = std::make_unique<RequestHandler>(m_engine, m_listenHost);
  m_deadlines = std::make_unique<ConnectionDeadlines>(m_limits.requestTime);
  m_daemon = MHD_start_daemon(MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_ITC, 0, nullptr, nullptr, &Callbacks::Answer, this,
                              MHD_OPTION_LISTEN_SOCKET, socket,
                              MHD_OPTION_THREAD_POOL_SIZE, m_limits.threads,
                              MHD_OPTION_CONNECTION_MEMORY_LIMIT, m_limits.connectionMemory,
                              MHD_OPTION_CONNECTION_MEMORY_INCREMENT, kReadBufferGrowth,
                              MHD_OPTION_CONNECTION_LIMIT, m_limits.connections,
                              MHD_OPTION_CONNECTION_TIMEOUT, m_limits.idleSeconds,
                              MHD_OPTION_URI_LOG_CALLBACK, &Callbacks::Begin, this,
                              MHD_OPTION_NOTIFY_COMPLETED, &Callbacks::Completed, this,
                              MHD_OPTION_NOTIFY_CONNECTION, &Callbacks::Connection, this,
                              MHD_OPTION_END);
  if (!m_daemon) throw std::runtime_error("无法启动 HTTP 服务（libmicrohttpd 拒绝了监听套接字或设置）");
}

void ServiceServer::Stop() {
  if (m_daemon) MHD_stop_daemon(m_daemon);
  m_daemon = nullptr;
}

}  // namespace parlavo::server
