#include "long_request_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>

#include <stdexcept>

namespace parlavo::hostile {

namespace {

constexpr std::size_t kConnectionMemory = 16u * 1024 * 1024;

// The raw target, before libmicrohttpd takes it apart; kept per request.
void* KeepTarget(void*, const char* uri, MHD_Connection*) { return new std::string(uri); }

void DropTarget(void*, MHD_Connection*, void** request, MHD_RequestTerminationCode) {
  delete static_cast<std::string*>(*request);
  *request = nullptr;
}

MHD_Result OnRequest(void* server, MHD_Connection* connection, const char*, const char*, const char*, const char*,
                     std::size_t* uploadSize, void** request) {
  if (*uploadSize != 0) {
    *uploadSize = 0;
    return MHD_YES;
  }
  const std::string body = static_cast<LongRequestServer*>(server)->Answer(*static_cast<std::string*>(*request));
  MHD_Response* response =
      MHD_create_response_from_buffer(body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY);
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "application/json");
  const MHD_Result queued = MHD_queue_response(connection, MHD_HTTP_OK, response);
  MHD_destroy_response(response);
  return queued;
}

}  // namespace

LongRequestServer::LongRequestServer(Handler handler) : m_handler(std::move(handler)) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = 0;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  m_daemon = MHD_start_daemon(MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_ERROR_LOG, 0, nullptr, nullptr, OnRequest,
                              this, MHD_OPTION_SOCK_ADDR, &address, MHD_OPTION_CONNECTION_MEMORY_LIMIT,
                              kConnectionMemory, MHD_OPTION_URI_LOG_CALLBACK, KeepTarget, nullptr,
                              MHD_OPTION_NOTIFY_COMPLETED, DropTarget, nullptr, MHD_OPTION_END);
  if (m_daemon == nullptr) throw std::runtime_error("cannot start the loopback server");
  m_port = MHD_get_daemon_info(m_daemon, MHD_DAEMON_INFO_BIND_PORT)->port;
}

LongRequestServer::~LongRequestServer() { MHD_stop_daemon(m_daemon); }

std::string LongRequestServer::Url() const { return "http://127.0.0.1:" + std::to_string(m_port); }

std::vector<std::string> LongRequestServer::Targets() const {
  std::lock_guard lock(m_mutex);
  return m_targets;
}

std::string LongRequestServer::Answer(const std::string& target) {
  {
    std::lock_guard lock(m_mutex);
    m_targets.push_back(target);
  }
  return m_handler(target);
}

}  // namespace parlavo::hostile
