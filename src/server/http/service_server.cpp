#include "http/service_server.h"

#include <microhttpd.h>

#include <stdexcept>

#include "http/connection_deadlines.h"
#include "http/request_handler.h"
#include "http/request_headers.h"
#include "http/request_target.h"
#include "platform/listening_socket.h"
#include "platform/memory_budget.h"

namespace parlavo::server {

namespace {

constexpr const char* kContentType = "text/javascript; charset=utf-8";

// The library reads a long request line into a buffer it grows by this much
// and scans it again after each read; small steps make a 3 MiB line slow.
constexpr std::size_t kReadBufferGrowth = 256 * 1024;

MHD_Result CollectHeader(void* into, MHD_ValueKind, const char* name, const char* value) {
  RecordHeader(*static_cast<ServiceRequest*>(into), name ? name : "", value ? value : "");
  return MHD_YES;
}

MHD_Result Send(MHD_Connection* connection, const ServiceReply& reply, bool keepAlive) {
  MHD_Response* response = MHD_create_response_from_buffer(
      reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
  if (!response) return MHD_NO;
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, kContentType);
  // Browsers must not read the JSON as anything else.
  MHD_add_response_header(response, MHD_HTTP_HEADER_X_CONTENT_TYPE_OPTIONS, "nosniff");
  if (reply.allowGetOnly) MHD_add_response_header(response, MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
  if (!keepAlive) MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
  const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
  MHD_destroy_response(response);
  return queued;
}

// A request's own state until it completes.
struct RequestState {
  ServiceRequest request;
  MemoryBudget::Share replyMemory;  // held until the reply has gone out
};

}  // namespace

// What the server knows of one connection beyond its deadline.
struct ServiceServer::ConnectionState {
  bool keptAlive = false;  // holds one of the kept-alive places
};

bool ServiceServer::KeepsAlive(ConnectionState& connection) {
  if (connection.keptAlive) return true;
  if (m_keptAlive.fetch_add(1) >= m_limits.keptAlive) {
    m_keptAlive.fetch_sub(1);
    return false;
  }
  connection.keptAlive = true;
  return true;
}

// libmicrohttpd's callbacks, on each connection's own thread; the closure is
// the server.
struct ServiceServer::Callbacks {
  // The request as its target came on the request line, before the library
  // decodes it; the request's own state until it completes.
  static void* Begin(void*, const char* target, MHD_Connection*) {
    return new RequestState{{{}, target, {}}, {}};
  }

  // Called once the headers are in, then once the body (none) is. A reply
  // queued at the first call ends the connection after it, without reading
  // further: the way to refuse a body. Other replies wait for the second call,
  // so that the connection can stay open for the next request.
  static MHD_Result Answer(void* self, MHD_Connection* connection, const char*, const char* method, const char*,
                           const char*, std::size_t* uploadSize, void** state) {
    if (*uploadSize != 0) return MHD_NO;
    auto& server = *static_cast<ServiceServer*>(self);
    auto& ours = *static_cast<RequestState*>(*state);
    ServiceRequest& request = ours.request;
    if (request.method.empty()) {
      request.method = method;
      MHD_get_connection_values(connection, MHD_HEADER_KIND, CollectHeader, &request);
      if (!request.hasBody) return MHD_YES;
    }
    server.m_deadlines->Pause(connection);
    ServiceReply reply = server.m_handler->Handle(request);
    auto& kept = *static_cast<ConnectionState*>(
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT)->socket_context);
    const MHD_Result queued = Send(connection, reply, !reply.closeConnection && server.KeepsAlive(kept));
    ours.replyMemory = std::move(reply.memory);
    server.m_deadlines->Restart(connection);
    return queued;
  }

  static void Completed(void* self, MHD_Connection* connection, void** state, MHD_RequestTerminationCode) {
    delete static_cast<RequestState*>(*state);
    *state = nullptr;
    static_cast<ServiceServer*>(self)->m_deadlines->Restart(connection);
  }

  static void Connection(void* self, MHD_Connection* connection, void** context, MHD_ConnectionNotificationCode code) {
    auto& server = *static_cast<ServiceServer*>(self);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      *context = new ConnectionState;
      server.m_deadlines->Open(connection,
                               MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd);
      return;
    }
    server.m_deadlines->Close(connection);
    const auto* state = static_cast<ConnectionState*>(*context);
    if (state->keptAlive) server.m_keptAlive.fetch_sub(1);
    delete state;
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
  m_budget = std::make_unique<MemoryBudget>(m_limits.workMemory);
  m_handler = std::make_unique<RequestHandler>(m_engine, m_listenHost, m_reachableFromNetwork, *m_budget);
  m_deadlines = std::make_unique<ConnectionDeadlines>(m_limits.requestTime,
                                                      [budget = m_budget.get()] { budget->ReturnFreedMemoryWhenIdle(); });
  // A thread per connection: a request waiting on a slow upstream holds its
  // own thread and no other connection's.
  m_daemon = MHD_start_daemon(MHD_USE_THREAD_PER_CONNECTION | MHD_USE_POLL_INTERNAL_THREAD | MHD_USE_ITC, 0, nullptr,
                              nullptr, &Callbacks::Answer, this,
                              MHD_OPTION_LISTEN_SOCKET, socket,
                              MHD_OPTION_STRICT_FOR_CLIENT, 1,
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
